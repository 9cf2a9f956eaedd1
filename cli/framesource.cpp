#include "framesource.h"

#include "clioptions.h"

#include "model/checksum.h"
#include "model/instructset.h"
#include "model/transmittext.h"
#include "model/txprotocolset.h"

#include <dorvane/protocolstream.h>
#include <dorvane/txprotocol.h>

#include <QFile>
#include <QFileInfo>

namespace {

// A raw file goes out as one frame held in memory; larger files are for a
// transfer with chunks and progress, which this program does not do.
constexpr qint64 MaxFileBytes = 64 * 1024 * 1024;

} // namespace

struct FrameSource::Item
{
    std::unique_ptr<TxProtocol> protocol;
    std::unique_ptr<ProtocolStream> stream;
    QByteArray rawBytes; // --file: sent as they are
    int delayMs = 0;
};

FrameSource::FrameSource(Context *context)
    : m_context(context)
{
}

FrameSource::~FrameSource() = default;

bool FrameSource::load(const CliOptions &options, QString *error)
{
    m_items.clear();
    m_cursor = -1;
    m_crcModel = options.crcModel;
    m_crcLittleEndian = options.crcLittleEndian;
    const QString &path = options.payloadPath;

    switch (options.payload) {
    case CliOptions::Payload::None:
        return true;
    case CliOptions::Payload::Hex:
    case CliOptions::Payload::Text:
        // Decoded bytes travel as hex, so a text escape such as \x00 or a byte
        // above 0x7F reaches the wire exactly as written.
        return addTransmitText(QString::fromLatin1(options.payloadBytes.toHex(' ')), HexTextMode, 0,
                               QStringLiteral("the bytes to send"), error);
    case CliOptions::Payload::File: {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly)) {
            *error = QStringLiteral("%1: %2").arg(path, file.errorString());
            return false;
        }
        if (file.size() > MaxFileBytes) {
            *error = QStringLiteral("%1: larger than %2 MiB").arg(path).arg(MaxFileBytes >> 20);
            return false;
        }
        auto item = std::make_unique<Item>();
        item->rawBytes = file.readAll();
        if (item->rawBytes.isEmpty()) {
            *error = QStringLiteral("%1: the file is empty").arg(path);
            return false;
        }
        m_items.push_back(std::move(item));
        return true;
    }
    case CliOptions::Payload::Protocol: {
        if (!QFileInfo(path).isFile()) {
            *error = QStringLiteral("%1: no such file").arg(path);
            return false;
        }
        auto protocol = std::make_unique<TxProtocol>();
        if (!protocol->Load(QFile::encodeName(path).toStdString(), m_context)) {
            *error = QStringLiteral("%1: not a readable transmit-protocol file").arg(path);
            return false;
        }
        if (options.column >= protocol->GetValueCountPerField()) {
            *error = QStringLiteral("%1: --column %2, but the protocol has %3 value column(s)")
                         .arg(path)
                         .arg(options.column)
                         .arg(protocol->GetValueCountPerField());
            return false;
        }
        return addProtocol(std::move(protocol), options.column, 0, path, error);
    }
    case CliOptions::Payload::Set:
        return loadSet(path, error);
    case CliOptions::Payload::Instructs:
        return loadInstructs(path, error);
    }
    return false;
}

bool FrameSource::addProtocol(std::unique_ptr<TxProtocol> protocol, int column, int delayMs,
                              const QString &what, QString *error)
{
    auto item = std::make_unique<Item>();
    item->stream = std::make_unique<ProtocolStream>();
    if (!protocol || !item->stream->Build(protocol.get(), column) || item->stream->GetDataSize() <= 0) {
        *error = QStringLiteral("%1: the frame cannot be built (a value's parameters do not fit its "
                                "generator, or no field is enabled)")
                     .arg(what);
        return false;
    }
    item->protocol = std::move(protocol);
    item->delayMs = delayMs;
    m_items.push_back(std::move(item));
    return true;
}

bool FrameSource::addTransmitText(const QString &text, int textMode, int delayMs, const QString &what,
                                  QString *error)
{
    return addProtocol(makeTransmitProtocol(text, textMode), 0, delayMs, what, error);
}

bool FrameSource::loadSet(const QString &path, QString *error)
{
    if (!QFileInfo(path).isFile()) {
        *error = QStringLiteral("%1: no such file").arg(path);
        return false;
    }
    TxProtocolSet set(m_context);
    if (!set.Load(path)) {
        *error = QStringLiteral("%1: %2").arg(path, set.errorString());
        return false;
    }
    if (!set.skippedPaths().isEmpty()) {
        *error = QStringLiteral("%1: these protocol files cannot be read: %2")
                     .arg(path, set.skippedPaths().join(QStringLiteral(", ")));
        return false;
    }
    for (int i = 0; i < set.itemCount(); ++i) {
        TxProtocolSetItem *entry = set.itemAt(i);
        // A disabled entry is kept in the file but not sent.
        if (!entry->enable)
            continue;
        const int column = entry->valueIndex < 0 ? 0 : entry->valueIndex;
        if (column >= entry->valueCount) {
            *error = QStringLiteral("%1: entry %2 (%3) sends value column %4 of %5")
                         .arg(path)
                         .arg(i + 1)
                         .arg(entry->path)
                         .arg(column + 1)
                         .arg(entry->valueCount);
            return false;
        }
        if (!addProtocol(std::move(entry->protocol), column, entry->interval, entry->path, error))
            return false;
    }
    if (m_items.empty()) {
        *error = QStringLiteral("%1: the set has no enabled entry").arg(path);
        return false;
    }
    return true;
}

bool FrameSource::loadInstructs(const QString &path, QString *error)
{
    if (!QFileInfo(path).isFile()) {
        *error = QStringLiteral("%1: no such file").arg(path);
        return false;
    }
    InstructSet set;
    if (!set.load(path)) {
        *error = QStringLiteral("%1: not a readable instruct-set file").arg(path);
        return false;
    }
    for (int i = 0; i < set.count(); ++i) {
        const InstructItem *entry = set.at(i);
        const QString what = QStringLiteral("%1: instruct %2").arg(path).arg(i + 1);
        if (!addTransmitText(entry->content, entry->textMode, entry->interval, what, error))
            return false;
    }
    if (m_items.empty()) {
        *error = QStringLiteral("%1: the set holds no instruct").arg(path);
        return false;
    }
    return true;
}

QByteArray FrameSource::next()
{
    if (m_items.empty())
        return {};
    m_cursor = (m_cursor + 1) % int(m_items.size());
    Item &item = *m_items[std::size_t(m_cursor)];
    QByteArray frame;
    if (item.stream) {
        item.stream->Update();
        frame = QByteArray(item.stream->GetData(), item.stream->GetDataSize());
    } else {
        frame = item.rawBytes;
    }
    if (m_crcModel >= 0) {
        const int width = crcModelWidth(m_crcModel);
        const std::uint32_t crc = computeCrc(m_crcModel, frame);
        for (int i = 0; i < width / 8; ++i) {
            const int shift = m_crcLittleEndian ? 8 * i : width - 8 * (i + 1);
            frame += char((crc >> shift) & 0xFF);
        }
    }
    return frame;
}

int FrameSource::lastDelayMs() const
{
    if (m_cursor < 0)
        return 0;
    return m_items[std::size_t(m_cursor)]->delayMs;
}
