#pragma once

#include <dorvane/channelparams.h>
#include <dorvane/iperiodsendcallback.h>

#include <QByteArray>
#include <QDateTime>
#include <QObject>
#include <QString>

#include <atomic>
#include <functional>
#include <mutex>

class ArrivalGate;
class QEvent;
class QTimer;

// What every channel shares: the stored parameters, the open flag and periodic
// sending in the three timing strategies. A channel is configured on the
// opening thread, then moved to the proxy's worker thread, where everything
// else runs. The flags are atomics because the proxy reads them from its own
// thread.
class Channel : public QObject
{
    Q_OBJECT
public:
    explicit Channel(QObject *parent = nullptr);
    ~Channel() override;

    // Checks the record's type, takes the parameters, prepares the device and
    // ends with createPeriodTimer(). Runs before the channel is moved.
    virtual bool configure(const ChannelParams &params) = 0;
    // One-line description of the channel.
    virtual QString profile() const = 0;

    const ChannelParams &params() const { return m_params; }
    bool isOpen() const { return m_open.load(); }
    bool isPeriodSendRun() const { return m_running.load(); }

    // Set from the proxy's thread just before a start is queued.
    void setPeriodSend(IPeriodSendCallback *callback, int period);
    // From the proxy's thread: forgets the callback if it is the current
    // one, waiting for a call in progress to return, so the caller may
    // destroy it. True when it was the current one.
    bool releasePeriodSend(IPeriodSendCallback *callback);

    // Called from the proxy's thread before it queues a stop (or closes the
    // channel for good), so that a high-resolution loop that waits for its next
    // tick leaves at once instead of at the end of the period.
    void requestStop();
    void requestLeave();

    // For the thread that relays bytesArrived: it calls the function with the
    // size of each chunk as it takes the chunk off its queue, so that a channel
    // that holds its reading back while the receiver lags knows when to read
    // again. Empty for a channel that never holds back. Called before the
    // worker starts; the function stays valid after the channel is gone.
    std::function<void(qint64)> arrivalTaker();

signals:
    void periodSendStateChanged(bool state);
    void stateChanged(ChannelType type, ChanneState state);
    void bytesWritten(QDateTime dt, QByteArray data);
    void bytesArrived(QDateTime dt, QByteArray data);
    // Why the channel failed or lost its device, in the system's words.
    void channelError(QString message);

public slots:
    void startPeriodSend();
    void stopPeriodSend();
    virtual bool open() = 0;
    virtual void close() = 0;
    virtual bool write(const char *data, qint64 size) = 0;
    // Writes a copy that the proxy queued from another thread.
    void writeBytes(const QByteArray &bytes);

protected:
    bool event(QEvent *event) override;
    bool setParams(const ChannelParams &params);
    bool createPeriodTimer(TimingStrategy timing);
    QTimer *periodTimer() const { return m_periodTimer; }
    void setOpen(bool open) { m_open.store(open); }

    // Makes the gate that keeps a fast peer from flooding the receiving
    // thread; the channel reads again when the gate emits reopened().
    ArrivalGate *gateArrivals();
    // False while the gate holds reading back.
    bool mayRead();
    // Emit bytesWritten / bytesArrived towards the receiving thread.
    void reportWritten(const char *data, qint64 size);
    void reportArrived(const QByteArray &bytes);

private:
    void periodTick();
    void runHighResolutionLoop();
    bool leaveLoopRequested() const;

    ChannelParams m_params;
    QTimer *m_periodTimer = nullptr;
    ArrivalGate *m_gate = nullptr;
    std::atomic<bool> m_open{false};
    // Held while the callback runs, so that releasing it waits for the call.
    std::mutex m_callbackMutex;
    std::atomic<IPeriodSendCallback *> m_callback{nullptr};
    std::atomic<int> m_period{20};
    std::atomic<bool> m_running{false};
    std::atomic<int> m_pendingStops{0};
    std::atomic<bool> m_leaving{false};
};
