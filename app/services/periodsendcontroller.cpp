#include "services/periodsendcontroller.h"

#include "services/channeltracker.h"
#include "services/streamsender.h"

#include <dorvane/Channel.h>

PeriodSendController::PeriodSendController(ChannelProxy *proxy, ChannelTracker *tracker, QObject *parent)
    : QObject(parent)
    , m_proxy(proxy)
    , m_tracker(tracker)
{
    connect(m_tracker, &ChannelTracker::periodSendStateChanged, this, &PeriodSendController::stateChanged);
    if (!m_proxy)
        return;
    // A channel closed by the user says nothing of its periodic sending, and
    // one whose device vanished says only that it closed: either way the
    // sending is over, and its owner must not go on showing "Stop Send".
    connect(m_proxy, &ChannelProxy::sigClose, this, [this] { m_tracker->endPeriodSend(); });
    connect(m_proxy, &ChannelProxy::stateChanged, this, [this](ChannelType, ChanneState state) {
        if (state != Closed)
            return;
        // The channel object may still tick into a port that is gone.
        if (m_proxy->isPeriodSendRun())
            m_proxy->stopPeriodSend();
        m_tracker->endPeriodSend();
    });
}

void PeriodSendController::syncWithChannel()
{
    const bool channelRuns = m_proxy && m_proxy->isOpen() && m_proxy->isPeriodSendRun();
    if (m_tracker->running() && !channelRuns)
        m_tracker->endPeriodSend();
}

bool PeriodSendController::runs()
{
    syncWithChannel();
    return m_tracker->running() || (m_proxy && m_proxy->isPeriodSendRun());
}

bool PeriodSendController::runsFor(const QObject *owner)
{
    return owner && runs() && m_tracker->trackedSender() == owner;
}

QObject *PeriodSendController::owner()
{
    return runs() ? m_tracker->trackedSender() : nullptr;
}

QString PeriodSendController::ownerDescription() const
{
    return m_tracker->trackedDescription();
}

bool PeriodSendController::stop(const QObject *owner)
{
    if (!runsFor(owner))
        return false;
    m_proxy->stopPeriodSend();
    return true;
}

bool PeriodSendController::start(QObject *owner, const QString &description, StreamSender *sender,
                                 int interval)
{
    if (!m_proxy || !m_proxy->isOpen() || !sender || runs())
        return false;
    if (!m_tracker->track(owner, description))
        return false;
    sender->startPeriodSend(interval);
    return true;
}
