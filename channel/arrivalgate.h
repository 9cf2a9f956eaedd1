#pragma once

#include <QObject>

#include <atomic>
#include <functional>
#include <memory>

class Channel;
class QTimer;

// Keeps a fast peer from flooding the thread that receives a channel's bytes.
// The gate counts the bytes, and the chunks, that the channel has reported as
// arrived but that the receiving thread has not yet taken off its event queue.
// Above either high mark the channel stops reading, so TCP flow control (or
// the kernel's datagram buffer) holds the peer back instead of an ever longer
// queue; once the receiver has caught up to both low marks the gate tells the
// channel to read again. The chunk marks matter for tiny datagrams: each one
// is an event of its own, and a queue of a few hundred thousand of them would
// hold the receiving thread for seconds. Lives on the channel's thread as its
// child.
class ArrivalGate : public QObject
{
    Q_OBJECT
public:
    explicit ArrivalGate(Channel *channel);

    // Starts counting and returns what the receiving thread calls with the
    // size of each chunk it takes. Called before the channel's worker starts.
    std::function<void(qint64)> taker();

    // True when the channel may read now; otherwise the gate arms itself and
    // emits reopened() once the receiver has caught up.
    bool admit();
    // The channel is about to report these bytes as arrived.
    void account(qint64 bytes);

signals:
    void reopened();

private:
    struct InFlight
    {
        std::atomic<qint64> bytes{0};
        std::atomic<qint64> chunks{0};
    };

    void poll();

    // Shared with the taker, which may still run for chunks queued when the
    // channel is gone.
    std::shared_ptr<InFlight> m_inFlight;
    bool m_counting = false;
    QTimer *m_retry;
};
