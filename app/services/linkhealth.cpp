#include "services/linkhealth.h"

#include "services/rxframewatcher.h"

#include <dorvane/channelproxy.h>

#include <QTimer>

namespace {

// How often a request that got no reply is looked at again: its window may
// have closed while nothing arrived.
constexpr int kExpiryCheckMs = 100;

} // namespace

LinkHealth::LinkHealth(ChannelProxy *proxy, RxFrameWatcher *frameWatcher, QObject *parent)
    : QObject(parent)
    , m_proxy(proxy)
    , m_frameWatcher(frameWatcher)
{
    m_expiry = new QTimer(this);
    m_expiry->setInterval(kExpiryCheckMs);
    connect(m_expiry, &QTimer::timeout, this, [this] {
        m_pairing.Expire(channelMonotonicUs());
        if (!m_pairing.IsWaiting())
            m_expiry->stop();
    });
    if (m_proxy) {
        connect(m_proxy, &ChannelProxy::chunkWritten, this, &LinkHealth::onWritten);
        connect(m_proxy, &ChannelProxy::chunkArrived, this, &LinkHealth::onArrived);
        connect(m_proxy, &ChannelProxy::uartErrorCountsChanged, this, [this](const UartErrorCounts &counts) {
            m_uart = counts;
            m_uartAvailable = true;
        });
        // Counters belong to the device that is open; a new open asks anew.
        connect(m_proxy, &ChannelProxy::stateChanged, this, [this](ChannelType, ChanneState state) {
            if (state == Opened)
                m_uartAvailable = false;
        });
        connect(m_proxy, &ChannelProxy::serialLineUnavailable, this, [this](const QString &what) {
            if (what == QLatin1String("Error counters"))
                m_uartAvailable = false;
        });
    }
    if (m_frameWatcher)
        connect(m_frameWatcher, &RxFrameWatcher::frameArrivedAt, this,
                [this](qint64 arrivalNs, const QByteArray &) { onFrame(arrivalNs); });
}

LinkHealth::~LinkHealth() = default;

void LinkHealth::setReplyWindowMs(int ms)
{
    m_pairing.SetWindowUs(qint64(qMax(1, ms)) * 1000);
}

int LinkHealth::replyWindowMs() const
{
    return int(m_pairing.GetWindowUs() / 1000);
}

bool LinkHealth::repliesByFrames() const
{
    return m_frameWatcher && m_frameWatcher->isTimingCycleRunning();
}

void LinkHealth::onWritten(const ChannelChunk &chunk)
{
    m_pairing.Request(chunk.monotonicUs);
    if (!m_expiry->isActive())
        m_expiry->start();
}

void LinkHealth::onArrived(const ChannelChunk &chunk)
{
    if (!repliesByFrames())
        m_pairing.Reply(chunk.monotonicUs);
}

void LinkHealth::onFrame(qint64 arrivalNs)
{
    if (repliesByFrames())
        m_pairing.Reply(arrivalNs / 1000);
}

LinkHealthFigures LinkHealth::figures() const
{
    LinkHealthFigures f;
    f.requests = qint64(m_pairing.GetRequests());
    f.missing = qint64(m_pairing.GetMissing());
    f.unpaired = qint64(m_pairing.GetUnpaired());
    f.replies = qint64(m_pairing.RoundTrips().count());
    f.rtt = m_pairing.RoundTrips().summary();
    f.byFrames = repliesByFrames();
    f.windowMs = replyWindowMs();
    if (m_frameWatcher) {
        const RxFrameWatcher::RoleCounts c = m_frameWatcher->roleCounts();
        f.checksumChecked = c.checksum;
        f.sequenceChecked = c.sequence;
        f.checkedFrames = c.checkedFrames;
        f.checksumFailures = c.checksumFailures;
        f.sequenceGaps = c.sequenceGaps;
        f.sequenceRepeats = c.sequenceRepeats;
        f.roleProblem = m_frameWatcher->roleProblem();
    }
    f.uartAvailable = m_uartAvailable;
    f.uart = m_uart;
    return f;
}

std::vector<std::uint64_t> LinkHealth::histogram(std::int64_t low, std::int64_t high, int bins) const
{
    return m_pairing.RoundTrips().histogram(low, high, bins);
}

void LinkHealth::reset()
{
    m_pairing.Reset();
    if (m_frameWatcher)
        m_frameWatcher->resetRoleCounts();
}
