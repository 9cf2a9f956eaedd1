// Periodic sending through ChannelProxy over a pseudo-terminal, in every timing
// strategy: every frame is time-stamped on arrival at the master side and the
// table shows how well the ticks keep their period.
#include <dorvane/Channel.h>
#include <dorvane/Core.h>

#include "model/transmittext.h"
#include "services/streamsender.h"

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

// One byte per tick, written from the worker thread as the application's
// senders do, or handed to the application's own sender when one is given.
// The moment of each call is kept too, so the timing of the strategy itself
// can be told apart from the delivery through the terminal.
class OneByteSender : public IPeriodSendCallback
{
public:
    OneByteSender(ChannelProxy *proxy, size_t expectedTicks, IPeriodSendCallback *inner)
        : m_proxy(proxy)
        , m_inner(inner)
    {
        m_stamps.reserve(expectedTicks + 1024);
    }
    void periodSend() override
    {
        if (m_stamps.size() < m_stamps.capacity())
            m_stamps.push_back(nowNs());
        if (m_inner)
            m_inner->periodSend();
        else
            m_proxy->write("x", 1);
    }
    // Read only after sending stopped.
    const std::vector<qint64> &stamps() const { return m_stamps; }

private:
    ChannelProxy *m_proxy;
    IPeriodSendCallback *m_inner;
    std::vector<qint64> m_stamps;
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

struct Deviation
{
    double meanErrorPercent = 0;
    double p50Us = 0;
    double p99Us = 0;
    double maxUs = 0;
};

struct Result
{
    qint64 expected = 0;
    qint64 seen = 0;
    Deviation arrival;
    Deviation tick;
};

Deviation deviationOf(const std::vector<qint64> &stamps, double periodNs)
{
    Deviation d;
    if (stamps.size() < 3)
        return d;
    std::vector<double> deviation;
    deviation.reserve(stamps.size());
    for (size_t i = 1; i < stamps.size(); ++i)
        deviation.push_back(std::abs(double(stamps[i] - stamps[i - 1]) - periodNs) / 1000.0);
    const double meanNs = double(stamps.back() - stamps.front()) / double(stamps.size() - 1);
    d.meanErrorPercent = (meanNs - periodNs) / periodNs * 100.0;
    std::sort(deviation.begin(), deviation.end());
    const auto at
        = [&](double q) { return deviation[std::min(deviation.size() - 1, size_t(q * deviation.size()))]; };
    d.p50Us = at(0.50);
    d.p99Us = at(0.99);
    d.maxUs = deviation.back();
    return d;
}

Result measure(ChannelProxy &proxy, int master, int periodMs, int runMs, IPeriodSendCallback *inner = nullptr)
{
    OneByteSender sender(&proxy, size_t(runMs / periodMs), inner);
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
    r.arrival = deviationOf(stamps, periodMs * 1e6);
    r.tick = deviationOf(sender.stamps(), periodMs * 1e6);
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
    // A shorter run for a quick look: bench_channeltiming <milliseconds per case>;
    // "sender" as a second argument runs only the StreamSender comparison.
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
    std::printf("Deviations are of each period from the nominal one: on arrival at the master side,\n"
                "and (tick) at the moment the strategy calls the sender on the worker thread.\n\n");
    std::printf("| strategy | period ms | ticks expected | ticks seen | mean period error %% | p50 dev us | "
                "p99 dev us | max dev us | tick p50 us | tick p99 us | tick max us |\n");
    std::printf("|---|---:|---:|---:|---:|---:|---:|---:|---:|---:|---:|\n");
    std::fflush(stdout);

    const auto openTerminal = [&](ChannelProxy &proxy, TimingStrategy timing) {
        SerialChannelParams params;
        params.portName = QString::fromLocal8Bit(name);
        params.baudRate = 115200;
        params.timing = timing;
        if (proxy.open(params))
            return true;
        std::fprintf(stderr, "cannot open %s\n", name);
        return false;
    };
    const auto printRow = [](const char *label, int period, const Result &r) {
        std::printf("| %s | %d | %lld | %lld | %+.3f | %.0f | %.0f | %.0f | %.0f | %.0f | %.0f |\n", label,
                    period, static_cast<long long>(r.expected), static_cast<long long>(r.seen),
                    r.arrival.meanErrorPercent, r.arrival.p50Us, r.arrival.p99Us, r.arrival.maxUs,
                    r.tick.p50Us, r.tick.p99Us, r.tick.maxUs);
        std::fflush(stdout);
    };

    const bool senderOnly = argc > 2 && std::strcmp(argv[2], "sender") == 0;
    if (!senderOnly) {
        for (TimingStrategy timing : {CoarseTiming, PreciseTiming, HighResolutionTiming}) {
            for (int period : {1, 2, 5, 10, 100}) {
                ChannelProxy proxy;
                if (!openTerminal(proxy, timing))
                    return 1;
                // Runs of long periods still need enough ticks for a 99th percentile.
                const Result r = measure(proxy, master, period, std::max(runMs, period * 50));
                proxy.close();
                printRow(strategyName(timing), period, r);
            }
        }
    }

    // The transmit window's way: a one-byte frame built into a ProtocolStream
    // and written by a StreamSender on every tick, against the bare callback,
    // in turn, three times each.
    std::printf(
        "\nHigh resolution timers at 1 ms: a bare callback and a StreamSender with a one-byte frame\n\n");
    std::printf("| sender | period ms | ticks expected | ticks seen | mean period error %% | p50 dev us | "
                "p99 dev us | max dev us | tick p50 us | tick p99 us | tick max us |\n");
    std::printf("|---|---:|---:|---:|---:|---:|---:|---:|---:|---:|---:|\n");
    Context context;
    context.Initialize();
    const auto protocol = makeTransmitProtocol(QStringLiteral("78"), HexTextMode);
    for (int round = 0; round < 3; ++round) {
        for (bool viaSender : {false, true}) {
            ChannelProxy proxy;
            if (!openTerminal(proxy, HighResolutionTiming))
                return 1;
            StreamSender sender(&proxy);
            sender.addStream(protocol.get(), 0);
            sender.selectAll();
            const Result r = measure(proxy, master, 1, runMs, viaSender ? &sender : nullptr);
            proxy.close();
            printRow(viaSender ? "StreamSender" : "bare callback", 1, r);
        }
    }
    context.Uninitialize();
    ::close(master);
    return 0;
}
