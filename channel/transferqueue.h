#pragma once

#include <QByteArray>
#include <QElapsedTimer>
#include <QObject>
#include <QString>

#include <deque>
#include <memory>

class Channel;
class QFile;
class QTimer;

// Paced writes and file sending, run on the channel's worker thread so that
// no caller ever waits for a slow device. Sends run one after another in the
// order they were asked for; plain writes are not held up by them.
//
// A paced text is written one byte at a time with the character delay after
// each byte, and the line delay in addition after each LF; with no character
// delay it goes a line (up to and including LF) at a time. A file is read
// here in chunks of the chosen size, one chunk ahead at most, so a file of
// any size costs one chunk of memory. Both wait while the device still holds
// more than a little unsent, and end, reported as cut short, when the channel
// closes or loses its device.
class TransferQueue : public QObject
{
    Q_OBJECT
public:
    explicit TransferQueue(Channel *channel);
    ~TransferQueue() override;

public slots:
    void sendPaced(quint64 id, const QByteArray &bytes, int charDelayMs, int lineDelayMs);
    void sendFile(quint64 id, const QString &path, int chunkSize, int delayMs);
    // 0 cancels every send.
    void cancel(quint64 id);
    void abortAll(const QString &reason);

signals:
    // Throttled to a few per second, and always once at the end.
    void progress(quint64 id, qint64 sent, qint64 total);
    // completed false: cancelled, cut short or failed, with the reason.
    void finished(quint64 id, bool completed, QString message);

private:
    struct Job;

    void step();
    void finishFront(bool completed, const QString &message);
    void scheduleNext(int delayMs);
    void reportProgress(const Job &job, bool force);

    Channel *m_channel;
    std::deque<std::unique_ptr<Job>> m_jobs;
    QTimer *m_next;
    QElapsedTimer m_sinceProgress;
};
