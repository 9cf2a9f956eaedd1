#pragma once

#include <QObject>

#include <atomic>
#include <memory>

class Channel;
class QTimer;

// Keeps a fast peer from flooding the thread that receives a channel's bytes.
// The gate counts the bytes that the channel has reported as arrived but that
// the receiving thread has not yet taken off its event queue. Above the high
// mark the channel stops reading, so TCP flow control (or the kernel's
// datagram buffer) holds the peer back instead of an ever longer queue; once
// the receiver has caught up to the low mark the gate tells the channel to
// read again. Lives on the channel's thread as its child.
class ArrivalGate : public QObject
{
    Q_OBJECT
public:
    explicit ArrivalGate(Channel *channel);
    ~ArrivalGate() override;

    // Starts counting. Runs on the thread that receives the channel's signals
    // (the opening thread, before the channel is moved to its worker).
    void attach();

    // True when the channel may read now; otherwise the gate arms itself and
    // emits reopened() once the receiver has caught up.
    bool admit();
    // The channel is about to report these bytes as arrived.
    void account(qint64 bytes);

    qint64 inFlight() const { return m_inFlight->load(); }

signals:
    void reopened();

private:
    void poll();

    Channel *m_channel;
    std::shared_ptr<std::atomic<qint64>> m_inFlight;
    QObject *m_tap = nullptr; // on the receiving thread
    QTimer *m_retry;
};
