#include "services/timingwatcher.h"

#include <dorvane/channelproxy.h>

#include <algorithm>

TimingWatcher::TimingWatcher(ChannelProxy *proxy, QObject *parent)
    : QObject(parent)
    , m_proxy(proxy)
{
    m_refreshTimer.setSingleShot(true);
    m_refreshTimer.setInterval(kRefreshIntervalMs);
    connect(&m_refreshTimer, &QTimer::timeout, this, &TimingWatcher::refresh);
}

void TimingWatcher::periodSendStateChanged(bool running)
{
    // A channel that closes during sending says nothing of its sending, so a
    // start may come while the last one still counts as running: each start
    // is a new run.
    if (!running && !m_sending)
        return;
    m_sending = running;
    if (running) {
        m_strategy = m_proxy->isOpen() ? m_proxy->channelParams().timing : CoarseTiming;
        // A new sending is judged on its own; the received gaps go on.
        m_timing.Start(std::int64_t(m_proxy->periodSendPeriod()) * 1000);
    }
    // The state shows at once, the figures follow on the timer.
    refresh();
}

void TimingWatcher::addWritten(std::int64_t monotonicUs)
{
    if (!m_sending)
        return;
    m_timing.AddWrite(monotonicUs);
    scheduleRefresh();
}

void TimingWatcher::addArrived(std::int64_t monotonicUs)
{
    m_timing.AddArrival(monotonicUs);
    scheduleRefresh();
}

void TimingWatcher::reset()
{
    m_timing.Reset();
    refresh();
}

void TimingWatcher::scheduleRefresh()
{
    if (!m_refreshTimer.isActive())
        m_refreshTimer.start();
}

void TimingWatcher::refresh()
{
    m_refreshTimer.stop();
    TimingSnapshot s;
    s.figures = m_timing.GetFigures();
    s.sending = m_sending;
    s.strategy = m_strategy;
    const SampleStats &periods = m_timing.GetPeriods();
    if (!periods.empty()) {
        // The bulk of the periods, with the requested one inside, spread over
        // the bins; the rare outliers land in the end bins.
        const std::int64_t requested = s.figures.requestedPeriodUs;
        std::int64_t low = periods.percentile(0.005);
        std::int64_t high = periods.percentile(0.995) + 1;
        if (requested > 0) {
            low = std::min(low, requested);
            high = std::max(high, requested + 1);
        }
        const std::int64_t step
            = std::max<std::int64_t>((high - low + kHistogramBins - 1) / kHistogramBins, 1);
        high = low + step * kHistogramBins;
        s.histogram = periods.histogram(low, high, kHistogramBins);
        s.histogramLowUs = low;
        s.histogramHighUs = high;
    }
    m_snapshot = std::move(s);
    emit snapshotChanged();
}
