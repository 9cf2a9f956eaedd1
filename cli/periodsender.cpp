#include "periodsender.h"

#include "framesource.h"

#include <dorvane/channelproxy.h>

PeriodSender::PeriodSender(ChannelProxy *proxy, FrameSource *source, std::int64_t total, QObject *parent)
    : QObject(parent)
    , m_proxy(proxy)
    , m_source(source)
    , m_total(total)
{
}

void PeriodSender::periodSend()
{
    // Ticks that come before the stop request reaches the worker send nothing.
    if (m_total > 0 && m_sent.load(std::memory_order_relaxed) >= m_total)
        return;
    const QByteArray frame = m_source->next();
    m_proxy->write(frame.constData(), frame.size());
    if (m_sent.fetch_add(1) + 1 == m_total)
        emit finished();
}
