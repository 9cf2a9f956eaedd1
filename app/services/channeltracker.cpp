#include "services/channeltracker.h"

#include <dorvane/Channel.h>

ChannelTracker::ChannelTracker(ChannelProxy *proxy, QObject *parent)
    : QObject(parent)
{
    if (proxy)
        connect(proxy, &ChannelProxy::periodSendStateChanged, this,
                &ChannelTracker::onPeriodSendStateChanged);
}

bool ChannelTracker::track(QObject *sender, const QString &description)
{
    if (m_running)
        return false;
    m_trackedSender = sender;
    m_trackedDescription = description;
    return true;
}

void ChannelTracker::onPeriodSendStateChanged(bool state)
{
    if (state == m_running)
        return;
    m_running = state;
    emit periodSendStateChanged(m_trackedSender, state);
}

void ChannelTracker::endPeriodSend()
{
    onPeriodSendStateChanged(false);
}
