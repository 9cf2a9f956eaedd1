#pragma once

#include <dorvane/app_export.h>
#include <dorvane/channelchunk.h>
#include <dorvane/channelparams.h>
#include <dorvane/ticktiming.h>

#include <QObject>
#include <QTimer>

#include <cstdint>
#include <vector>

class ChannelProxy;

// What the Timing dock shows, made at most a few times a second.
struct TimingSnapshot
{
    TickTiming::Figures figures;
    bool sending = false;
    TimingStrategy strategy = CoarseTiming;
    // Achieved periods in equal bins over [histogramLowUs, histogramHighUs);
    // outliers are counted in the first or last bin.
    std::vector<std::uint64_t> histogram;
    std::int64_t histogramLowUs = 0;
    std::int64_t histogramHighUs = 0;
};

// Keeps the timing figures of periodic sending and of the received chunks,
// from the monotonic stamps the channel's worker put on each chunk: writes
// count while periodic sending runs (a send of its own during that time
// counts as a tick too), every received chunk counts.
//
// GUI thread only. Each chunk costs one sample append; the percentiles and
// the histogram are worked out on a timer, at most every refreshIntervalMs,
// and only when samples came in.
class DORVANE_APP_EXPORT TimingWatcher : public QObject
{
    Q_OBJECT

public:
    // Samples kept for the percentiles, the histogram and the export: about
    // half a minute at 1 ms, small enough to sort four times a second.
    static constexpr std::size_t kRetained = 1u << 15;
    static constexpr int kRefreshIntervalMs = 250;
    static constexpr int kHistogramBins = 40;

    // The proxy is asked for the period and strategy when a sending starts;
    // its signals reach the watcher through connectTimingWatcher (shell/wiring.h).
    explicit TimingWatcher(ChannelProxy *proxy, QObject *parent = nullptr);

    void periodSendStateChanged(bool running);
    void addWritten(std::int64_t monotonicUs);
    void addArrived(std::int64_t monotonicUs);
    // Forgets every sample; a running sending goes on counting from its next write.
    void reset();
    // Works the snapshot out now (the timer does it otherwise).
    void refresh();

    bool isSending() const { return m_sending; }
    const TimingSnapshot &snapshot() const { return m_snapshot; }
    const TickTiming &timing() const { return m_timing; }

signals:
    // A new snapshot, at most every kRefreshIntervalMs.
    void snapshotChanged();

private:
    void scheduleRefresh();

    ChannelProxy *m_proxy;
    TickTiming m_timing{kRetained};
    TimingSnapshot m_snapshot;
    QTimer m_refreshTimer;
    bool m_sending = false;
    TimingStrategy m_strategy = CoarseTiming;
};
