// Periodic sending through ChannelProxy over a pseudo-terminal, in every timing
// strategy: every frame is time-stamped on arrival at the master side and the
// table shows how well the ticks keep their period.
#include <dorvane/Channel.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <termios.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

qint64 nowNs()
{
    return std::chrono::duration_cast<std::chrono::nanoseconds>(Clock::now().time_since_epoch()).count();
}

// One byte per tick, written from the worker thread as the application's senders do.
class OneByteSender : public IPeriodSendCallback
{
public:
    explicit OneByteSender(ChannelProxy *proxy)
        : m_proxy(proxy)
    {
    }
    void periodSend() override { m_proxy->write("x", 1); }

private:
    ChannelProxy *m_proxy;
};

// Reads the master side on a thread of its own and stamps every byte.
class ArrivalRecorder
{
public:
    explicit ArrivalRecorder(int master)
        : m_master(master)
    {
        m_stamps.reserve(1 << 20);
        m_thread = std::thread([this] { run(); });
    }
    ~ArrivalRecorder()
    {
        m_stop.store(true);
        m_thread.join();
    }
    std::vector<qint64> take()
    {
        m_stop.store(true);
        m_thread.join();
        m_thread = std::thread([] {});
        return std::move(m_stamps);
    }

private:
    void run()
    {
        char buffer[4096];
        while (!m_stop.load()) {
            pollfd p{m_master, POLLIN, 0};
            if (::poll(&p, 1, 20) <= 0)
                continue;
            const ssize_t n = ::read(m_master, buffer, sizeof buffer);
            const qint64 at = nowNs();
            for (ssize_t i = 0; i < n; ++i)
                m_stamps.push_back(at);
        }
    }

    int m_master;
    std::atomic<bool> m_stop{false};
    std::vector<qint64> m_stamps;
    std::thread m_thread;
};

struct Result
{
    qint64 expected = 0;
    qint64 seen = 0;
    double meanErrorPercent = 0;
    double p50Us = 0;
    double p99Us = 0;
    double maxUs = 0;
};

Result measure(ChannelProxy &proxy, int master, int periodMs, int runMs)
{
    OneByteSender sender(&proxy);
    ArrivalRecorder recorder(master);
    QEventLoop loop;
    QElapsedTimer run;
    run.start();
    proxy.startPeriodSend(&sender, periodMs);
    QTimer::singleShot(runMs, Qt::PreciseTimer, &loop, &QEventLoop::quit);
    loop.exec();
    proxy.stopPeriodSend();
    const qint64 ranNs = run.nsecsElapsed();
    // Let the last frames reach the master side.
    QThread::msleep(20);
    const std::vector<qint64> stamps = recorder.take();

    Result r;
    r.expected = ranNs / (qint64(periodMs) * 1000000);
    r.seen = qint64(stamps.size());
    if (stamps.size() < 3)
        return r;
    const double periodNs = periodMs * 1e6;
    std::vector<double> deviation;
    deviation.reserve(stamps.size());
    for (size_t i = 1; i < stamps.size(); ++i)
        deviation.push_back(std::abs(double(stamps[i] - stamps[i - 1]) - periodNs) / 1000.0);
    const double meanNs = double(stamps.back() - stamps.front()) / double(stamps.size() - 1);
    r.meanErrorPercent = (meanNs - periodNs) / periodNs * 100.0;
    std::sort(deviation.begin(), deviation.end());
    const auto at
        = [&](double q) { return deviation[std::min(deviation.size() - 1, size_t(q * deviation.size()))]; };
    r.p50Us = at(0.50);
    r.p99Us = at(0.99);
    r.maxUs = deviation.back();
    return r;
}

const char *strategyName(TimingStrategy timing)
{
    switch (timing) {
    case CoarseTiming:
        return "Coarse timer";
    case PreciseTiming:
        return "Precise timer";
    case HighResolutionTiming:
        return "High resolution timers";
    }
    return "?";
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    // A shorter run for a quick look: bench_channeltiming <milliseconds per case>
    const int runMs = argc > 1 ? std::max(200, std::atoi(argv[1])) : 2000;

    int master = -1;
    int slave = -1;
    char name[256] = {};
    if (::openpty(&master, &slave, name, nullptr, nullptr) != 0) {
        std::fprintf(stderr, "openpty failed: %s\n", std::strerror(errno));
        return 1;
    }
    termios tio{};
    ::tcgetattr(slave, &tio);
    ::cfmakeraw(&tio);
    ::tcsetattr(slave, TCSANOW, &tio);
    ::close(slave);

    std::printf("Periodic sending over a pseudo-terminal, one byte per tick, %d ms per case\n\n", runMs);
    std::printf("| strategy | period ms | ticks expected | ticks seen | mean period error %% | p50 dev us | "
                "p99 dev us | max dev us |\n");
    std::printf("|---|---:|---:|---:|---:|---:|---:|---:|\n");
    std::fflush(stdout);

    for (TimingStrategy timing : {CoarseTiming, PreciseTiming, HighResolutionTiming}) {
        for (int period : {1, 2, 5, 10, 100}) {
            SerialChannelParams params;
            params.portName = QString::fromLocal8Bit(name);
            params.baudRate = 115200;
            params.timing = timing;
            ChannelProxy proxy;
            if (!proxy.open(params)) {
                std::fprintf(stderr, "cannot open %s\n", name);
                return 1;
            }
            // Runs of long periods still need enough ticks for a 99th percentile.
            const int caseMs = std::max(runMs, period * 50);
            const Result r = measure(proxy, master, period, caseMs);
            proxy.close();
            std::printf("| %s | %d | %lld | %lld | %+.3f | %.0f | %.0f | %.0f |\n", strategyName(timing),
                        period, static_cast<long long>(r.expected), static_cast<long long>(r.seen),
                        r.meanErrorPercent, r.p50Us, r.p99Us, r.maxUs);
            std::fflush(stdout);
        }
    }
    ::close(master);
    return 0;
}
