#include "services/transmitwatcher.h"

#include "services/bytecounterdisplay.h"

#include <dorvane/Channel.h>

TransmitWatcher::TransmitWatcher(ChannelProxy *proxy, QObject *parent)
    : QObject(parent)
    , m_proxy(proxy)
    , m_display(new ByteCounterDisplay([this](quint32 count) { emit countChanged(count); }, this))
{
    connect(m_proxy, &ChannelProxy::bytesWritten, this, &TransmitWatcher::bytesWritten);
}

TransmitWatcher::~TransmitWatcher()
{
    disconnect(m_proxy, nullptr, this, nullptr);
}

void TransmitWatcher::resetTotal()
{
    m_total = 0;
    m_display->showNow(0);
}

void TransmitWatcher::bytesWritten(const QDateTime &time, const QByteArray &data)
{
    m_total += quint64(data.size());
    m_display->changed(m_total);
    emit transmitted(time, data);
}
