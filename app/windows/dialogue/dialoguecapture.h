#pragma once

#include <QObject>
#include <QString>

#include <dorvane/app_export.h>
#include <dorvane/capturewriter.h>

#include <memory>

class ChannelProxy;
struct ChannelChunk;

// "Log to File": every chunk the channel reads or writes goes to the capture
// writer straight from the channel's signals, so the file holds every byte
// whatever the echo view leaves out or while it is paused. The writer works
// on a thread of its own; this object only queues.
//
// Lives on the GUI thread. A failed write is reported once by captureFailed,
// queued back to this thread; what was written before stays in the file.
class DORVANE_APP_EXPORT DialogueCapture : public QObject
{
    Q_OBJECT

public:
    explicit DialogueCapture(ChannelProxy *channel, QObject *parent = nullptr);
    ~DialogueCapture() override;

    // False, with the reason in error(), when the file cannot be opened.
    // rotateBytes 0 never rotates.
    bool start(const QString &path, bool append, quint64 rotateBytes, bool textAsHex);
    void stop();
    bool isRunning() const;
    QString error() const { return m_error; }
    QString currentPath() const;
    quint64 fileSize() const;

    // One chunk; called by the channel's signals, public for tests that feed
    // chunks of their own.
    void record(const ChannelChunk &chunk, CaptureDirection direction);

signals:
    void captureFailed(const QString &reason);

private:
    ChannelProxy *m_channel = nullptr;
    std::unique_ptr<CaptureWriter> m_writer;
    QString m_error;
    qint64 m_wallOffsetUs = 0;
};
