#include "chunkprinter.h"

#include <QDateTime>

ChunkPrinter::ChunkPrinter(CliOptions::Output mode, bool chunks, std::FILE *out)
    : m_mode(mode)
    , m_chunks(chunks)
    , m_out(out)
{
}

QByteArray ChunkPrinter::timeText(std::int64_t wallUs)
{
    std::int64_t seconds = wallUs / 1000000;
    std::int64_t micros = wallUs % 1000000;
    if (micros < 0) {
        micros += 1000000;
        --seconds;
    }
    const QDateTime time = QDateTime::fromSecsSinceEpoch(seconds);
    return time.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss.")).toLatin1()
           + QByteArray::number(qint64(micros)).rightJustified(6, '0');
}

void ChunkPrinter::received(std::int64_t wallUs, const QByteArray &bytes)
{
    if (!m_chunks)
        return;
    switch (m_mode) {
    case CliOptions::Output::Raw:
        put(bytes);
        break;
    case CliOptions::Output::Json:
        put("{\"t_us\":" + QByteArray::number(qint64(wallUs)) + ",\"dir\":\"rx\",\"hex\":\"" + bytes.toHex()
            + "\"}\n");
        break;
    case CliOptions::Output::Hex:
        put(timeText(wallUs) + " RX " + bytes.toHex(' ').toUpper() + '\n');
        break;
    }
}

void ChunkPrinter::written(std::int64_t wallUs, const QByteArray &bytes)
{
    // Only the JSON stream carries written chunks; the other outputs are the
    // received stream.
    if (!m_chunks || m_mode != CliOptions::Output::Json)
        return;
    put("{\"t_us\":" + QByteArray::number(qint64(wallUs)) + ",\"dir\":\"tx\",\"hex\":\"" + bytes.toHex()
        + "\"}\n");
}

void ChunkPrinter::frame(std::int64_t wallUs, const std::vector<FrameMatcher::Value> &values)
{
    QByteArray rows;
    const QByteArray time = QByteArray::number(qint64(wallUs));
    for (const FrameMatcher::Value &value : values)
        rows += time + ',' + QByteArray::number(value.graphId) + ',' + value.text.toUtf8() + '\n';
    put(rows);
}

void ChunkPrinter::put(const QByteArray &text)
{
    if (text.isEmpty())
        return;
    std::fwrite(text.constData(), 1, std::size_t(text.size()), m_out);
    std::fflush(m_out);
}
