#pragma once

#include <dorvane/channelchunk.h>
#include <dorvane/channelparams.h>
#include <dorvane/iperiodsendcallback.h>

#include <QByteArray>
#include <QDateTime>
#include <QObject>
#include <QString>
#include <QVector>

#include <atomic>
#include <functional>
#include <mutex>

class ArrivalGate;
class QEvent;
class QTimer;
class TransferQueue;

// What every channel shares: the stored parameters, the open flag and periodic
// sending in the three timing strategies. A channel is configured on the
// opening thread, then moved to the proxy's worker thread, where everything
// else runs. The flags are atomics because the proxy reads them from its own
// thread.
class Channel : public QObject
{
    Q_OBJECT
public:
#ifdef Q_OS_LINUX
    // Covers the wake-up of a sleep on a loaded two-core machine in most
    // cases (median about 30 µs, with a tail that no margin short of the
    // period covers); below it the loop spins.
    static constexpr int kDefaultSpinMarginUs = 300;
#else
    // Elsewhere a short sleep may last a whole scheduler tick (about 15 ms
    // on Windows), so the loop spins as it always did.
    static constexpr int kDefaultSpinMarginUs = 1000000;
#endif

    explicit Channel(QObject *parent = nullptr);
    ~Channel() override;

    // Checks the record's type, takes the parameters, prepares the device and
    // ends with createPeriodTimer(). Runs before the channel is moved.
    virtual bool configure(const ChannelParams &params) = 0;
    // One-line description of the channel.
    virtual QString profile() const = 0;

    const ChannelParams &params() const
    {
        return m_params;
    }
    bool isOpen() const
    {
        return m_open.load();
    }
    bool isPeriodSendRun() const
    {
        return m_running.load();
    }
    bool isReconnecting() const
    {
        return m_reconnecting.load();
    }

    // Set from the proxy's thread just before a start is queued.
    void setPeriodSend(IPeriodSendCallback *callback, int period);
    int period() const
    {
        return m_period.load();
    }
    // How long before a due time the high-resolution loop stops sleeping and
    // spins on the clock; read when a loop starts.
    void setSpinMarginUs(int us);
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

    // Paced writes and file sending; lives on the channel's thread as its child.
    TransferQueue *transfers() const
    {
        return m_transfers;
    }
    // Bytes accepted by the device but not yet sent on; paced writes and file
    // sending wait while it is high, so a slow line never makes them buffer
    // a whole file. Worker thread.
    virtual qint64 pendingWrite() const
    {
        return 0;
    }

signals:
    void periodSendStateChanged(bool state);
    void stateChanged(ChannelType type, ChanneState state);
    void bytesWritten(QDateTime dt, QByteArray data);
    // The same write with both time stamps; the proxy relays this one.
    void chunkWritten(ChannelChunk chunk);
    // Reads of one pass of the channel's reader, in order, one chunk per read
    // (per datagram for UDP). One queued event carries them all.
    void chunksArrived(QVector<ChannelChunk> chunks);
    // Why the channel failed or lost its device, in the system's words.
    void channelError(QString message);
    // True while the channel waits to reopen a lost device or connection.
    void reconnectingChanged(bool reconnecting);

public slots:
    void startPeriodSend();
    void stopPeriodSend();
    virtual bool open() = 0;
    virtual void close() = 0;
    virtual bool write(const char *data, qint64 size) = 0;
    // Writes a copy that the proxy queued from another thread.
    void writeBytes(const QByteArray &bytes);
    // Writes to one client of a TCP server; false for every other channel.
    virtual bool writeTo(const QString &client, const QByteArray &bytes);
    // Ends paced writes and file sending, reporting them as cut short; runs
    // right before close.
    void abortTransfers();

protected:
    bool event(QEvent *event) override;
    bool setParams(const ChannelParams &params);
    bool createPeriodTimer(TimingStrategy timing);
    QTimer *periodTimer() const
    {
        return m_periodTimer;
    }
    void setOpen(bool open)
    {
        m_open.store(open);
    }

    // Makes the gate that keeps a fast peer from flooding the receiving
    // thread; the channel reads again when the gate emits reopened().
    ArrivalGate *gateArrivals();
    // False while the gate holds reading back.
    bool mayRead();
    // Emit bytesWritten and chunkWritten towards the receiving thread.
    void reportWritten(const char *data, qint64 size, const QString &target = QString());
    // Stamps a read and queues it for the receiving thread: at once, or
    // within an open ArrivalBatch when the batch ends.
    void reportArrived(const QByteArray &bytes, const QString &source = QString());
    void flushArrived();
    void setReconnecting(bool reconnecting);

    // Reads reported while one is alive cross to the receiving thread in one
    // event when the outermost ends (or earlier when the batch is large), so
    // a flood of small datagrams costs the receiver one event per pass instead
    // of one per datagram.
    class ArrivalBatch
    {
    public:
        explicit ArrivalBatch(Channel *channel)
            : m_channel(channel)
        {
            ++m_channel->m_batchDepth;
        }
        ~ArrivalBatch()
        {
            if (--m_channel->m_batchDepth == 0)
                m_channel->flushArrived();
        }
        ArrivalBatch(const ArrivalBatch &) = delete;
        ArrivalBatch &operator=(const ArrivalBatch &) = delete;

    private:
        Channel *m_channel;
    };

private:
    void periodTick();
    void runHighResolutionLoop();
    bool leaveLoopRequested() const;

    ChannelParams m_params;
    QTimer *m_periodTimer = nullptr;
    TransferQueue *m_transfers;
    QVector<ChannelChunk> m_batch;
    qint64 m_batchBytes = 0;
    int m_batchDepth = 0;
    std::atomic<bool> m_reconnecting{false};
    ArrivalGate *m_gate = nullptr;
    std::atomic<bool> m_open{false};
    // Held while the callback runs, so that releasing it waits for the call.
    std::mutex m_callbackMutex;
    std::atomic<IPeriodSendCallback *> m_callback{nullptr};
    std::atomic<int> m_period{20};
    std::atomic<qint64> m_spinMarginNs{qint64(kDefaultSpinMarginUs) * 1000};
    std::atomic<bool> m_running{false};
    std::atomic<int> m_pendingStops{0};
    std::atomic<bool> m_leaving{false};
};
