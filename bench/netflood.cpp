// Floods a TCP server channel and a UDP channel from a local peer and prints
// what reaches the proxy's bytesArrived on this (the receiving) thread: bytes
// and chunks per second, and the worst stall of this thread's event loop.
// The UDP peers send with sendmmsg, so that they, not the channel, are what
// the machine's cores are left for. One run offers a fixed rate and reports
// the share lost; one has two peers flooding the largest datagrams. The last
// run floods tiny datagrams and holds this thread busy for a second once, as
// a slow window would, then times how long an event queued as it wakes waits
// behind the chunks that queued up meanwhile.
//
//   bench_netflood [seconds per run, default 3]
#include "eventloopstall.h"

#include <dorvane/Channel.h>

#include <QCoreApplication>
#include <QElapsedTimer>

#include <arpa/inet.h>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <netinet/in.h>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

struct Figures
{
    double seconds = 0;
    qint64 bytes = 0;
    qint64 chunks = 0;
    qint64 sentUnits = 0; // datagrams for UDP
    double worstStallMs = 0;
    // After a busy spell: the wait of an event queued on waking, and the
    // chunks taken ahead of it.
    double catchUpMs = -1;
    qint64 backlog = 0;
};

quint16 portFromProfile(const QString &profile, const QString &prefix)
{
    if (!profile.startsWith(prefix))
        return 0;
    const QString rest = profile.mid(prefix.size());
    return quint16(rest.section(QLatin1Char(' '), 0, 0).toUInt());
}

sockaddr_in loopback(quint16 port)
{
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = htons(port);
    return address;
}

// Runs this thread's event loop for the given time while counting arrivals
// and watching a 1 ms timer for the longest gap between its ticks.
Figures receive(ChannelProxy &proxy, int ms)
{
    Figures figures;
    QObject context;
    // Rates are taken from the first arrival to the last, the time in which
    // the peers were sending.
    QElapsedTimer clock;
    clock.start();
    qint64 firstNs = -1;
    qint64 lastNs = 0;
    QObject::connect(&proxy, &ChannelProxy::bytesArrived, &context,
                     [&](const QDateTime &, const QByteArray &bytes) {
                         lastNs = clock.nsecsElapsed();
                         if (firstNs < 0)
                             firstNs = lastNs;
                         figures.bytes += bytes.size();
                         ++figures.chunks;
                     });

    const EventLoopRun run = runEventLoopWatchingStalls(ms);
    figures.seconds = firstNs >= 0 && lastNs > firstNs ? (lastNs - firstNs) / 1e9 : run.seconds;
    figures.worstStallMs = run.worstStallMs;
    return figures;
}

Figures floodTcp(int ms)
{
    ChannelProxy proxy;
    NetChannelParams params(TcpServer);
    params.localAddress = QStringLiteral("127.0.0.1");
    if (!proxy.open(params))
        return {};
    const quint16 port = portFromProfile(proxy.channelProfile(), QStringLiteral("Tcp Server 127.0.0.1:"));

    std::atomic<bool> running{true};
    std::atomic<qint64> sent{0};
    std::thread peer([&] {
        const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
        const sockaddr_in address = loopback(port);
        if (::connect(fd, reinterpret_cast<const sockaddr *>(&address), sizeof address) != 0) {
            ::close(fd);
            return;
        }
        static char chunk[256 * 1024];
        while (running.load()) {
            const ssize_t n = ::send(fd, chunk, sizeof chunk, MSG_NOSIGNAL);
            if (n <= 0)
                break;
            sent.fetch_add(n);
        }
        ::close(fd);
    });

    Figures figures = receive(proxy, ms);
    running.store(false);
    proxy.close(); // unblocks a peer that waits in send
    peer.join();
    figures.sentUnits = sent.load();
    return figures;
}

struct UdpRun
{
    int minSize = 1400;
    int maxSize = 1400;
    int busyMs = 0;
    int ratePerSecond = 0; // 0: as fast as the peers can
    int peers = 1;
};

// Sends datagrams of run.minSize to run.maxSize bytes, in turn, until told to
// stop; at a fixed rate, in bursts once a millisecond, when one is given.
void udpPeer(const UdpRun &run, quint16 port, const std::atomic<bool> &running, std::atomic<qint64> &sent)
{
    constexpr int kBurst = 32;
    const int fd = ::socket(AF_INET, SOCK_DGRAM, 0);
    sockaddr_in address = loopback(port);
    std::vector<char> datagram(size_t(run.maxSize), 'u');
    iovec iov[kBurst];
    mmsghdr messages[kBurst];
    const int sizes = run.maxSize - run.minSize + 1;
    using Clock = std::chrono::steady_clock;
    const Clock::time_point start = Clock::now();
    qint64 due = 0;
    for (int i = 0; running.load();) {
        int count = kBurst;
        if (run.ratePerSecond > 0) {
            const double elapsed = std::chrono::duration<double>(Clock::now() - start).count();
            due = qint64(elapsed * run.ratePerSecond);
            count = int(qMin<qint64>(kBurst, due - sent.load()));
            if (count <= 0) {
                std::this_thread::sleep_for(std::chrono::microseconds(500));
                continue;
            }
        }
        for (int k = 0; k < count; ++k, ++i) {
            iov[k].iov_base = datagram.data();
            iov[k].iov_len = size_t(run.minSize + i % sizes);
            messages[k] = mmsghdr{};
            messages[k].msg_hdr.msg_name = &address;
            messages[k].msg_hdr.msg_namelen = sizeof address;
            messages[k].msg_hdr.msg_iov = &iov[k];
            messages[k].msg_hdr.msg_iovlen = 1;
        }
        const int n = ::sendmmsg(fd, messages, unsigned(count), 0);
        if (n > 0)
            sent.fetch_add(n);
    }
    ::close(fd);
}

Figures floodUdp(int ms, const UdpRun &run)
{
    const int busyMs = run.busyMs;
    ChannelProxy proxy;
    NetChannelParams params(Udp);
    params.localAddress = QStringLiteral("127.0.0.1");
    params.remoteAddress = QStringLiteral("127.0.0.1");
    params.remotePort = 9;
    if (!proxy.open(params))
        return {};
    const quint16 port = portFromProfile(proxy.channelProfile(), QStringLiteral("UDP 127.0.0.1:"));

    std::atomic<bool> running{true};
    std::atomic<qint64> sent{0};
    std::vector<std::thread> peers;
    for (int i = 0; i < run.peers; ++i)
        peers.emplace_back([&] { udpPeer(run, port, running, sent); });
    // The peers stop a little before the receiver, which then takes what is
    // still on its way, so that every datagram sent is counted or lost.
    QTimer::singleShot(qMax(ms - 300, ms / 2), [&] { running.store(false); });

    QObject busyContext;
    qint64 taken = 0;
    double catchUpMs = -1;
    qint64 backlog = 0;
    if (busyMs > 0) {
        using Clock = std::chrono::steady_clock;
        QObject::connect(&proxy, &ChannelProxy::bytesArrived, &busyContext, [&] { ++taken; });
        QTimer::singleShot(ms / 3, Qt::PreciseTimer, &busyContext, [&] {
            std::this_thread::sleep_for(std::chrono::milliseconds(busyMs));
            const Clock::time_point woke = Clock::now();
            const qint64 takenBefore = taken;
            QMetaObject::invokeMethod(
                &busyContext,
                [&, woke, takenBefore] {
                    catchUpMs = std::chrono::duration<double, std::milli>(Clock::now() - woke).count();
                    backlog = taken - takenBefore;
                },
                Qt::QueuedConnection);
        });
    }

    Figures figures = receive(proxy, ms);
    running.store(false);
    for (std::thread &peer : peers)
        peer.join();
    proxy.close();
    figures.sentUnits = sent.load();
    figures.catchUpMs = catchUpMs;
    figures.backlog = backlog;
    return figures;
}

void print(const char *name, const Figures &f, bool datagrams)
{
    std::printf("%-24s %10.1f MB/s %12.0f chunks/s %9.1f KiB/chunk %8.2f ms", name, f.bytes / f.seconds / 1e6,
                f.chunks / f.seconds, f.chunks ? f.bytes / 1024.0 / f.chunks : 0.0, f.worstStallMs);
    if (datagrams)
        std::printf("   %lld of %lld datagrams arrived (%.2f %% lost)", static_cast<long long>(f.chunks),
                    static_cast<long long>(f.sentUnits),
                    f.sentUnits ? 100.0 * double(f.sentUnits - f.chunks) / double(f.sentUnits) : 0.0);
    if (f.catchUpMs >= 0)
        std::printf(
            "\n%24s (the worst stall includes the busy spell) catch-up after it: %.2f ms for %lld chunks", "",
            f.catchUpMs, static_cast<long long>(f.backlog));
    std::printf("\n");
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const int seconds = argc > 1 ? qMax(1, QByteArray(argv[1]).toInt()) : 3;
    const int ms = seconds * 1000;

    std::printf("Flood from a local peer for %d s per run; figures as seen on the receiving thread.\n",
                seconds);
    std::printf("%-24s %15s %22s %20s %12s\n", "channel", "bytes", "chunks", "mean chunk", "worst stall");
    print("TCP server", floodTcp(ms), false);
    print("UDP, 1400-byte dgrams", floodUdp(ms, UdpRun{}), true);
    UdpRun offered;
    offered.ratePerSecond = 50000;
    print("UDP, 1400 B at 50 000/s", floodUdp(ms, offered), true);
    print("UDP, 16 KiB dgrams", floodUdp(ms, UdpRun{16384, 16384}), true);
    UdpRun largest{65507, 65507};
    largest.peers = 2;
    print("UDP, 65507 B, 2 peers", floodUdp(ms, largest), true);
    print("UDP, 1-8 byte dgrams", floodUdp(ms, UdpRun{1, 8}), true);
    print("UDP, 1-8 B, busy 1 s", floodUdp(ms, UdpRun{1, 8, 1000}), true);
    return 0;
}
