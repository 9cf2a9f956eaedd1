#include "windows/dialogue/dialoguecapture.h"

#include <dorvane/Channel.h>

#include <QMetaObject>

DialogueCapture::DialogueCapture(ChannelProxy *channel, QObject *parent)
    : QObject(parent)
    , m_channel(channel)
{
    if (!m_channel)
        return;
    connect(m_channel, &ChannelProxy::chunkArrived, this,
            [this](const ChannelChunk &chunk) { record(chunk, CaptureDirection::Received); });
    connect(m_channel, &ChannelProxy::chunkWritten, this,
            [this](const ChannelChunk &chunk) { record(chunk, CaptureDirection::Written); });
}

DialogueCapture::~DialogueCapture()
{
    stop();
}

bool DialogueCapture::start(const QString &path, bool append, quint64 rotateBytes, bool textAsHex)
{
    stop();
    auto writer = std::make_unique<CaptureWriter>();
    // Runs on the writer thread. `this` outlives it: the writer is a member,
    // stopped and joined before the QObject goes, and a posted call dies
    // with its object.
    writer->SetFailureCallback([this](const std::string &reason) {
        const QString text = QString::fromStdString(reason);
        QMetaObject::invokeMethod(
            this,
            [this, text]() {
                // A capture stopped meanwhile by the user has nothing to report.
                if (m_writer && m_writer->GetStatus() == CaptureWriter::Status::Failed)
                    emit captureFailed(text);
            },
            Qt::QueuedConnection);
    });
    CaptureOptions options;
    options.path = path.toStdString();
    options.append = append;
    options.rotateBytes = rotateBytes;
    options.textAsHex = textAsHex;
    options.interfaceName = "dorvane";
    options.interfaceDescription = "Dorvane channel";
    if (!writer->Start(options)) {
        m_error = QString::fromStdString(writer->GetError());
        return false;
    }
    m_error.clear();
    m_wallOffsetUs = QDateTime::currentMSecsSinceEpoch() * 1000 - channelMonotonicUs();
    m_writer = std::move(writer);
    return true;
}

void DialogueCapture::stop()
{
    if (!m_writer)
        return;
    m_writer->Stop();
    m_writer.reset();
}

bool DialogueCapture::isRunning() const
{
    return m_writer && m_writer->GetStatus() == CaptureWriter::Status::Running;
}

QString DialogueCapture::currentPath() const
{
    return m_writer ? QString::fromStdString(m_writer->GetCurrentPath()) : QString();
}

quint64 DialogueCapture::fileSize() const
{
    return m_writer ? m_writer->GetFileSize() : 0;
}

void DialogueCapture::record(const ChannelChunk &chunk, CaptureDirection direction)
{
    if (!m_writer)
        return;
    CaptureChunk out;
    out.monotonicUs = chunk.monotonicUs;
    // The wall clock has ms only: the steady stamp, anchored to the wall
    // clock when the capture started, gives µs that never step back.
    if (chunk.monotonicUs > 0)
        out.wallUs = chunk.monotonicUs + m_wallOffsetUs;
    else
        out.wallUs
            = (chunk.time.isValid() ? chunk.time : QDateTime::currentDateTime()).toMSecsSinceEpoch() * 1000;
    out.direction = direction;
    out.bytes.assign(chunk.bytes.constData(), static_cast<std::size_t>(chunk.bytes.size()));
    out.source = chunk.source.toStdString();
    m_writer->Append(std::move(out));
}
