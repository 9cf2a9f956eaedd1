#pragma once

#include <dorvane/iperiodsendcallback.h>

#include <QObject>

#include <atomic>
#include <cstdint>

class ChannelProxy;
class FrameSource;

// Writes the source's frames on the ticks of the channel's periodic sending.
// The achieved-period figures come from the stamps of the written chunks.
//
// periodSend() runs on the channel's worker thread and is the only user of
// the source while sending runs.
class PeriodSender : public QObject, public IPeriodSendCallback
{
    Q_OBJECT

public:
    // total 0 sends until stopped.
    PeriodSender(ChannelProxy *proxy, FrameSource *source, std::int64_t total, QObject *parent = nullptr);

    void periodSend() override;
    std::int64_t framesSent() const { return m_sent.load(); }

signals:
    // Emitted from the worker once the last frame is written.
    void finished();

private:
    ChannelProxy *m_proxy;
    FrameSource *m_source;
    std::int64_t m_total;
    std::atomic<std::int64_t> m_sent{0};
};
