// The high-resolution loop at 1 ms over UDP on 127.0.0.1, with its default
// spin margin and as a pure spin (margin of a whole period): the worker's CPU
// time per second, the process's, and the jitter of the write stamps against
// their due times. Then the cost of the timing watcher and its window at
// 1 ms sending, fed on the GUI thread as the proxy's chunks would feed it.
//
//   bench_hiresloop [seconds per loop case, default 5]
#include "services/timingwatcher.h"
#include "shell/wiring.h"
#include "windows/timing/timingwindow.h"

#include <dorvane/Channel.h>
#include <dorvane/samplestats.h>
#include <dorvane/ticktiming.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QHostAddress>
#include <QNetworkDatagram>
#include <QTimer>
#include <QUdpSocket>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <sys/resource.h>
#include <vector>

namespace {

std::int64_t threadCpuUs()
{
    timespec ts{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
    return std::int64_t(ts.tv_sec) * 1000000 + ts.tv_nsec / 1000;
}

std::int64_t processCpuUs()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return (std::int64_t(usage.ru_utime.tv_sec) + usage.ru_stime.tv_sec) * 1000000 + usage.ru_utime.tv_usec
           + usage.ru_stime.tv_usec;
}

// Writes one byte per tick from the worker and keeps the worker's CPU clock
// at the first and the latest tick.
class OneByte : public IPeriodSendCallback
{
public:
    explicit OneByte(ChannelProxy *proxy)
        : m_proxy(proxy)
    {
    }
    void periodSend() override
    {
        const std::int64_t cpu = threadCpuUs();
        if (m_ticks.fetch_add(1) == 0)
            m_firstCpu.store(cpu);
        m_lastCpu.store(cpu);
        m_proxy->write("x", 1);
    }
    std::int64_t workerCpuUs() const { return m_lastCpu.load() - m_firstCpu.load(); }

private:
    ChannelProxy *m_proxy;
    std::atomic<std::int64_t> m_ticks{0};
    std::atomic<std::int64_t> m_firstCpu{0};
    std::atomic<std::int64_t> m_lastCpu{0};
};

void runLoopCase(const char *name, int marginUs, int seconds, quint16 port)
{
    ChannelProxy proxy;
    proxy.setSpinMarginUs(marginUs);
    NetChannelParams params(Udp);
    params.localAddress = QStringLiteral("127.0.0.1");
    params.remoteAddress = QStringLiteral("127.0.0.1");
    params.remotePort = port;
    params.timing = HighResolutionTiming;
    if (!proxy.open(params)) {
        std::printf("| %s | the UDP channel did not open |\n", name);
        return;
    }
    std::vector<std::int64_t> stamps;
    stamps.reserve(std::size_t(seconds) * 1100);
    QObject::connect(&proxy, &ChannelProxy::chunkWritten,
                     [&stamps](const ChannelChunk &chunk) { stamps.push_back(chunk.monotonicUs); });
    OneByte sender(&proxy);
    const std::int64_t processBefore = processCpuUs();
    QElapsedTimer wall;
    wall.start();
    proxy.startPeriodSend(&sender, 1);
    QEventLoop loop;
    QTimer::singleShot(seconds * 1000, Qt::PreciseTimer, &loop, &QEventLoop::quit);
    loop.exec();
    proxy.stopPeriodSend();
    const double spanS = double(wall.nsecsElapsed()) / 1e9;
    const std::int64_t processCpu = processCpuUs() - processBefore;
    proxy.close();
    QCoreApplication::processEvents();

    TickTiming timing;
    timing.Start(1000);
    // Jitter: each write's distance from its due time on the grid of the
    // period, the grid placed at the writes' median offset so that a late
    // first write does not shift every other one.
    std::vector<std::int64_t> offsets;
    offsets.reserve(stamps.size());
    for (std::int64_t us : stamps) {
        timing.AddWrite(us);
        const std::int64_t since = us - stamps.front();
        offsets.push_back(since - std::llround(double(since) / 1000.0) * 1000);
    }
    std::vector<std::int64_t> sorted = offsets;
    std::nth_element(sorted.begin(), sorted.begin() + std::ptrdiff_t(sorted.size() / 2), sorted.end());
    const std::int64_t median = sorted.empty() ? 0 : sorted[sorted.size() / 2];
    SampleStats jitter;
    for (std::int64_t offset : offsets)
        jitter.add(std::llabs(offset - median));
    const TickTiming::Figures f = timing.GetFigures();
    std::printf("| %s | %d | %llu | %.1f | %.1f | %lld | %lld | %lld | %lld | %llu | %llu |\n", name,
                marginUs, static_cast<unsigned long long>(f.writes),
                double(sender.workerCpuUs()) / 1e4 / spanS, double(processCpu) / 1e4 / spanS,
                static_cast<long long>(jitter.percentile(0.5)),
                static_cast<long long>(jitter.percentile(0.99)), static_cast<long long>(f.period.p99),
                static_cast<long long>(f.period.max), static_cast<unsigned long long>(f.lateTicks),
                static_cast<unsigned long long>(f.skippedTicks));
    std::fflush(stdout);
}

// The watcher and its window as the GUI thread runs them at 1 ms sending
// with a received chunk per write: one write and one arrival per simulated
// millisecond, a refresh every 250. Measured over the last `seconds` after
// `warmS` simulated seconds, once the retained samples are full.
void runWatcherCase(int warmS, int seconds, quint16 port)
{
    ChannelProxy proxy;
    NetChannelParams params(Udp);
    params.localAddress = QStringLiteral("127.0.0.1");
    params.remoteAddress = QStringLiteral("127.0.0.1");
    params.remotePort = port;
    if (!proxy.open(params)) {
        std::printf("the UDP channel did not open\n");
        return;
    }
    TimingWatcher watcher(&proxy);
    connectTimingWatcher(proxy, watcher);
    TimingWindow window(&watcher);
    // A sending with no callback: its state and period reach the watcher
    // through the proxy as a real one's do; the writes are fed below.
    proxy.startPeriodSend(nullptr, 1);
    QElapsedTimer wait;
    wait.start();
    while (!watcher.isSending() && wait.elapsed() < 2000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);

    std::int64_t t = 1000000;
    std::uint32_t noise = 12345;
    const auto feed = [&](int ms) {
        for (int i = 0; i < ms; ++i) {
            noise = noise * 1664525u + 1013904223u;
            t += 1000;
            watcher.addWritten(t + std::int64_t(noise % 40));
            watcher.addArrived(t + 150 + std::int64_t((noise >> 8) % 300));
            if (i % TimingWatcher::kRefreshIntervalMs == TimingWatcher::kRefreshIntervalMs - 1)
                watcher.refresh();
        }
    };
    feed(warmS * 1000);
    const std::int64_t before = threadCpuUs();
    feed(seconds * 1000);
    const std::int64_t cpu = threadCpuUs() - before;
    proxy.stopPeriodSend();
    proxy.close();
    std::printf(
        "| timing watcher + window, %zu samples retained | %d s of 1 ms sending | %.3f ms CPU | %.3f %% "
        "of a core |\n",
        TimingWatcher::kRetained, seconds, double(cpu) / 1000.0, double(cpu) / 1e4 / double(seconds));
}

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int seconds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;

    // The peer: a socket that takes the datagrams, so the channel sees no
    // "port unreachable".
    QUdpSocket sink;
    if (!sink.bind(QHostAddress(QHostAddress::LocalHost), 0)) {
        std::printf("cannot bind a UDP socket on 127.0.0.1\n");
        return 1;
    }
    QObject::connect(&sink, &QUdpSocket::readyRead, [&sink] {
        while (sink.hasPendingDatagrams())
            sink.receiveDatagram();
    });

    std::printf(
        "| loop | spin margin us | writes | worker CPU %% | process CPU %% | jitter p50 us | jitter p99 "
        "us | period p99 us | period max us | late | skipped |\n");
    std::printf("|---|---:|---:|---:|---:|---:|---:|---:|---:|---:|---:|\n");
    runLoopCase("sleep, then spin", 300, seconds, sink.localPort());
    runLoopCase("sleep, then spin", 150, seconds, sink.localPort());
    runLoopCase("pure spin", 1000000, seconds, sink.localPort());
    std::printf("\n");
    runWatcherCase(40, seconds, sink.localPort());
    return 0;
}
