#pragma once

#include <dorvane/iperiodsendcallback.h>

#include <QObject>

#include <atomic>
#include <cstdint>
#include <vector>

class ChannelProxy;
class FrameSource;

// Writes the source's frames on the ticks of the channel's periodic sending
// and records when each tick came, for the achieved-period figures.
//
// periodSend() runs on the channel's worker thread and is the only user of
// the source and the tick record while sending runs; the main thread reads
// the record only after the proxy has closed (its worker joined).
class PeriodSender : public QObject, public IPeriodSendCallback
{
    Q_OBJECT

public:
    // total 0 sends until stopped.
    PeriodSender(ChannelProxy *proxy, FrameSource *source, std::int64_t total, QObject *parent = nullptr);

    void periodSend() override;
    std::int64_t framesSent() const { return m_sent.load(); }

    struct Figures
    {
        std::int64_t intervals = 0;
        double p50Ms = 0;
        double p99Ms = 0;
        double maxMs = 0;
        double spanS = 0;
    };
    // Call only once the worker has stopped.
    Figures figures() const;

signals:
    // Emitted from the worker once the last frame is written.
    void finished();

private:
    ChannelProxy *m_proxy;
    FrameSource *m_source;
    std::int64_t m_total;
    std::atomic<std::int64_t> m_sent{0};
    std::vector<std::int64_t> m_ticksNs;
};
