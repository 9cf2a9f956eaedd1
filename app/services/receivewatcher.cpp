#include "services/receivewatcher.h"

#include "services/bytecounterdisplay.h"

#include <dorvane/Channel.h>

ReceiveWatcher::ReceiveWatcher(ChannelProxy *proxy, QObject *parent)
    : QObject(parent)
    , m_proxy(proxy)
    , m_display(new ByteCounterDisplay([this](quint32 count) { emit countChanged(count); }, this))
{
    connect(m_proxy, &ChannelProxy::bytesArrived, this, &ReceiveWatcher::bytesArrived);
}

ReceiveWatcher::~ReceiveWatcher()
{
    disconnect(m_proxy, nullptr, this, nullptr);
}

void ReceiveWatcher::resetTotal()
{
    m_total = 0;
    m_display->showNow(0);
}

void ReceiveWatcher::bytesArrived(const QDateTime &time, const QByteArray &data)
{
    m_total += quint64(data.size());
    m_display->changed(m_total);
    emit received(data, time);
}
