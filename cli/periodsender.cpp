#include "periodsender.h"

#include "framesource.h"

#include <dorvane/channelproxy.h>

#include <algorithm>
#include <chrono>

namespace {

// Ticks recorded for the figures; a run that goes on longer keeps the first
// ones rather than growing without bound.
constexpr std::size_t MaxRecordedTicks = 4u * 1024u * 1024u;

std::int64_t nowNs()
{
    return std::chrono::duration_cast<std::chrono::nanoseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

} // namespace

PeriodSender::PeriodSender(ChannelProxy *proxy, FrameSource *source, std::int64_t total, QObject *parent)
    : QObject(parent)
    , m_proxy(proxy)
    , m_source(source)
    , m_total(total)
{
    m_ticksNs.reserve(total > 0 ? std::size_t(std::min<std::int64_t>(total, MaxRecordedTicks)) : 65536u);
}

void PeriodSender::periodSend()
{
    // Ticks that come before the stop request reaches the worker send nothing.
    if (m_total > 0 && m_sent.load(std::memory_order_relaxed) >= m_total)
        return;
    if (m_ticksNs.size() < MaxRecordedTicks)
        m_ticksNs.push_back(nowNs());
    const QByteArray frame = m_source->next();
    m_proxy->write(frame.constData(), frame.size());
    if (m_sent.fetch_add(1) + 1 == m_total)
        emit finished();
}

PeriodSender::Figures PeriodSender::figures() const
{
    Figures f;
    if (m_ticksNs.size() < 2)
        return f;
    std::vector<std::int64_t> periods;
    periods.reserve(m_ticksNs.size() - 1);
    for (std::size_t i = 1; i < m_ticksNs.size(); ++i)
        periods.push_back(m_ticksNs[i] - m_ticksNs[i - 1]);
    std::sort(periods.begin(), periods.end());
    const auto at = [&periods](double q) {
        std::size_t index = std::size_t(q * double(periods.size()));
        if (index >= periods.size())
            index = periods.size() - 1;
        return double(periods[index]) / 1e6;
    };
    f.intervals = std::int64_t(periods.size());
    f.p50Ms = at(0.50);
    f.p99Ms = at(0.99);
    f.maxMs = double(periods.back()) / 1e6;
    f.spanS = double(m_ticksNs.back() - m_ticksNs.front()) / 1e9;
    return f;
}
