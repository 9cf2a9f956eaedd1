#include "channel.h"
#include "arrivalgate.h"
#include "chunkclock.h"
#include "handoff.h"
#include "transferqueue.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTimer>

#include <algorithm>
#include <chrono>
#include <thread>

#ifdef Q_OS_LINUX
#include <sys/prctl.h>
#endif

namespace {

constexpr qint64 kNsPerMs = 1000000;
// While the high-resolution loop waits for a tick that is still this far away,
// it serves the thread's events about once per millisecond, so that device
// input, queued writes and requests do not wait for a long period to pass.
constexpr qint64 kServeEventsMarginNs = 2 * kNsPerMs;
constexpr qint64 kServeEventsEveryNs = 1 * kNsPerMs;
// A batch of reads crosses early at these sizes, so that one event never
// holds the receiving thread for long and the gate sees the chunks in time.
constexpr int kBatchChunks = 256;
constexpr qint64 kBatchBytes = 1024 * 1024;

} // namespace

Channel::Channel(QObject *parent)
    : QObject(parent)
    , m_transfers(new TransferQueue(this))
{
    qRegisterMetaType<ChannelChunk>("ChannelChunk");
    qRegisterMetaType<QVector<ChannelChunk>>("QVector<ChannelChunk>");
    qRegisterMetaType<UartErrorCounts>("UartErrorCounts");
}

Channel::~Channel()
{
    // The proxy joins the worker after this, the last work the worker does for the channel.
    handoff::publish();
}

bool Channel::event(QEvent *event)
{
    handoff::takeOver();
    const bool handled = QObject::event(event);
    // A blocking open or close releases its caller after this returns.
    handoff::publish();
    return handled;
}

void Channel::setPeriodSend(IPeriodSendCallback *callback, int period)
{
    m_callback.store(callback);
    // A zero or negative period would spin the callback without pause.
    m_period.store(qMax(period, 1));
}

bool Channel::releasePeriodSend(IPeriodSendCallback *callback)
{
    std::lock_guard<std::mutex> lock(m_callbackMutex);
    IPeriodSendCallback *expected = callback;
    return callback && m_callback.compare_exchange_strong(expected, nullptr);
}

void Channel::requestStop()
{
    m_pendingStops.fetch_add(1);
}

void Channel::requestLeave()
{
    m_leaving.store(true);
}

std::function<void(qint64)> Channel::arrivalTaker()
{
    return m_gate ? m_gate->taker() : std::function<void(qint64)>();
}

ArrivalGate *Channel::gateArrivals()
{
    if (!m_gate)
        m_gate = new ArrivalGate(this);
    return m_gate;
}

bool Channel::mayRead()
{
    return !m_gate || m_gate->admit();
}

void Channel::reportWritten(const char *data, qint64 size, const QString &target)
{
    const ChannelChunk chunk = chunkclock::stamped(QByteArray(data, int(size)), target);
    handoff::post([&] {
        emit bytesWritten(chunk.time, chunk.bytes);
        emit chunkWritten(chunk);
    });
}

void Channel::reportArrived(const QByteArray &bytes, const QString &source)
{
    if (m_gate)
        m_gate->account(bytes.size());
    m_batch.append(chunkclock::stamped(bytes, source));
    m_batchBytes += bytes.size();
    if (m_batchDepth == 0 || m_batch.size() >= kBatchChunks || m_batchBytes >= kBatchBytes)
        flushArrived();
}

void Channel::flushArrived()
{
    if (m_batch.isEmpty())
        return;
    QVector<ChannelChunk> batch;
    batch.swap(m_batch);
    m_batchBytes = 0;
    handoff::post([&] { emit chunksArrived(batch); });
}

void Channel::setReconnecting(bool reconnecting)
{
    if (m_reconnecting.load() == reconnecting)
        return;
    m_reconnecting.store(reconnecting);
    handoff::post([&] { emit reconnectingChanged(reconnecting); });
}

bool Channel::writeTo(const QString &, const QByteArray &)
{
    return false;
}

void Channel::abortTransfers()
{
    m_transfers->abortAll(tr("The channel closed before the send was complete"));
}

bool Channel::setParams(const ChannelParams &params)
{
    m_params.type = params.type;
    m_params.timing = params.timing;
    m_params.autoReconnect = params.autoReconnect;
    return true;
}

bool Channel::createPeriodTimer(TimingStrategy timing)
{
    if (timing != CoarseTiming && timing != PreciseTiming)
        return true;
    m_periodTimer = new QTimer(this);
    m_periodTimer->setTimerType(timing == CoarseTiming ? Qt::CoarseTimer : Qt::PreciseTimer);
    m_periodTimer->setSingleShot(false);
    connect(m_periodTimer, &QTimer::timeout, this, &Channel::periodTick);
    return true;
}

void Channel::startPeriodSend()
{
    if (m_running.load())
        return;
    m_running.store(true);
    handoff::post([this] { emit periodSendStateChanged(true); });

    switch (m_params.timing) {
    case CoarseTiming:
    case PreciseTiming:
        if (m_periodTimer && !m_periodTimer->isActive()) {
            m_periodTimer->setInterval(m_period.load());
            m_periodTimer->start();
        }
        break;
    case HighResolutionTiming:
        runHighResolutionLoop();
        break;
    }
}

void Channel::stopPeriodSend()
{
    int pending = m_pendingStops.load();
    while (pending > 0 && !m_pendingStops.compare_exchange_weak(pending, pending - 1)) {
    }
    if (!m_running.load())
        return;
    if (m_periodTimer && m_periodTimer->isActive())
        m_periodTimer->stop();
    m_running.store(false);
    handoff::post([this] { emit periodSendStateChanged(false); });
}

void Channel::writeBytes(const QByteArray &bytes)
{
    write(bytes.constData(), bytes.size());
}

void Channel::periodTick()
{
    std::lock_guard<std::mutex> lock(m_callbackMutex);
    if (IPeriodSendCallback *callback = m_callback.load())
        callback->periodSend();
}

bool Channel::leaveLoopRequested() const
{
    return m_pendingStops.load(std::memory_order_relaxed) > 0 || m_leaving.load(std::memory_order_relaxed);
}

namespace {

// The loop runs inside the slot that started it. Under the glib event
// dispatcher a nested processEvents() does not deliver posted events from
// there, so queued writes would wait until sending stops; they are delivered
// explicitly first.
void serveEvents()
{
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents();
}

} // namespace

void Channel::setSpinMarginUs(int us)
{
    m_spinMarginNs.store(qint64(qMax(us, 0)) * 1000);
}

namespace {

#ifdef Q_OS_LINUX
// The kernel lets a sleep of a normal thread overrun by its timer slack
// (50 µs by default) to batch wake-ups; the loop's own margin covers the
// wake-up, so the slack is taken down to 1 ns while the loop runs.
class TimerSlack
{
public:
    TimerSlack()
        : m_old(prctl(PR_GET_TIMERSLACK, 0, 0, 0, 0))
    {
        prctl(PR_SET_TIMERSLACK, 1UL, 0, 0, 0);
    }
    ~TimerSlack()
    {
        if (m_old > 0)
            prctl(PR_SET_TIMERSLACK, static_cast<unsigned long>(m_old), 0, 0, 0);
    }
    TimerSlack(const TimerSlack &) = delete;
    TimerSlack &operator=(const TimerSlack &) = delete;

private:
    int m_old;
};
#endif

} // namespace

void Channel::runHighResolutionLoop()
{
    // Ticks are due at whole multiples of the period from the start, so a late
    // tick shortens the next wait and the average rate stays at one tick per
    // period; when ticks take longer than the period they follow each other
    // without waiting until the backlog is gone.
    //
    // Until the spin margin before a due time the thread sleeps, in slices of
    // at most the serving interval so that events still come through; only the
    // last stretch is spun on the clock. A margin of a whole period or more
    // spins all the time.
    const qint64 periodNs = qint64(m_period.load()) * kNsPerMs;
    const qint64 marginNs = m_spinMarginNs.load();
#ifdef Q_OS_LINUX
    const TimerSlack slack;
#endif
    QElapsedTimer clock;
    clock.start();
    qint64 due = periodNs;
    qint64 servedAt = 0;

    while (m_running.load(std::memory_order_relaxed) && !leaveLoopRequested()) {
        qint64 now = clock.nsecsElapsed();
        if (now < due) {
            if (due - now > marginNs) {
                const qint64 sleepNs = std::min(due - now - marginNs, kServeEventsEveryNs);
                std::this_thread::sleep_for(std::chrono::nanoseconds(sleepNs));
                now = clock.nsecsElapsed();
                if (due - now > marginNs && now - servedAt >= kServeEventsEveryNs) {
                    serveEvents();
                    servedAt = clock.nsecsElapsed();
                }
            } else if (due - now > kServeEventsMarginNs && now - servedAt > kServeEventsEveryNs) {
                serveEvents();
                servedAt = clock.nsecsElapsed();
            }
            continue;
        }
        due += periodNs;
        periodTick();
        // Queued stop, close and write requests reach the channel here.
        serveEvents();
        servedAt = clock.nsecsElapsed();
    }
}
