// The receive path end to end, inside a started application: a local peer
// floods a TCP server channel and then a pseudo-terminal with 32-byte
// writes of 32-byte frames, and the application's frame watcher cuts them.
// Prints, as seen on the GUI thread: chunks and bytes per second, frames
// published per second, and the worst stall of the GUI thread's event loop.
//
//   bench_receivepath [seconds per run, default 3] [bare]
#include "services/rxframewatcher.h"
#include "shell/application.h"

#include "eventloopstall.h"

#include <dorvane/Channel.h>
#include <dorvane/Core.h>

#include <QTemporaryDir>

#include <arpa/inet.h>
#include <array>
#include <atomic>
#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <pty.h>
#include <sys/socket.h>
#include <termios.h>
#include <thread>
#include <unistd.h>

namespace {

constexpr int kFrameSize = 32;

struct Figures
{
    double seconds = 0;
    qint64 bytes = 0;
    qint64 chunks = 0;
    qint64 frames = 0;
    double worstStallMs = 0;
};

// Head AA 55, fourteen 16-bit values, a pad byte and a tail 0D: 32 bytes.
std::unique_ptr<RxProtocol> frameProtocol()
{
    auto protocol = std::make_unique<RxProtocol>();
    const auto add = [&](int typeId, const char *params, int flag) {
        RxField *field = protocol->AddField(-1);
        field->SetTypeId(typeId);
        field->GetValueMetaInfo()->SetParamList(params);
        if (flag == 1)
            field->GetValueMetaInfo()->SetHeadFlag();
        if (flag == 2)
            field->GetValueMetaInfo()->SetTailFlag();
    };
    add(10, "0xAA,0x55", 1);
    for (int i = 0; i < 14; ++i)
        add(11, "", 0);
    add(10, "", 0);
    add(10, "0x0D", 2);
    return protocol;
}

std::array<char, kFrameSize> oneFrame()
{
    std::array<char, kFrameSize> frame;
    frame.fill('\x01');
    frame[0] = char(0xAA);
    frame[1] = char(0x55);
    frame[kFrameSize - 1] = char(0x0D);
    return frame;
}

// Runs the GUI thread's event loop for the given time while counting what
// the proxy delivers and the frames published, with a 1 ms timer watching
// for the longest gap between its ticks.
Figures receive(int ms)
{
    Figures figures;
    QObject context;
    QObject::connect(dvApp->channelProxy(), &ChannelProxy::bytesArrived, &context,
                     [&](const QDateTime &, const QByteArray &bytes) {
                         figures.bytes += bytes.size();
                         ++figures.chunks;
                     });
    QObject::connect(dvApp->frameWatcher(), &RxFrameWatcher::frameArrived, &context,
                     [&](const QByteArray &) { ++figures.frames; });

    const EventLoopRun run = runEventLoopWatchingStalls(ms);
    figures.seconds = run.seconds;
    figures.worstStallMs = run.worstStallMs;
    return figures;
}

// Writes the frame again and again, one write per frame, until told to stop.
void flood(int fd, std::atomic<bool> &running, bool socket)
{
    const std::array<char, kFrameSize> frame = oneFrame();
    while (running.load()) {
        const ssize_t n = socket ? ::send(fd, frame.data(), frame.size(), MSG_NOSIGNAL)
                                 : ::write(fd, frame.data(), frame.size());
        if (n < 0 && errno == EAGAIN) {
            pollfd p{fd, POLLOUT, 0};
            ::poll(&p, 1, 10);
        } else if (n <= 0) {
            break;
        }
    }
}

Figures floodTcp(int ms)
{
    ChannelProxy *proxy = dvApp->channelProxy();
    NetChannelParams params(TcpServer);
    params.localAddress = QStringLiteral("127.0.0.1");
    if (!proxy->open(params))
        return {};
    const QString profile = proxy->channelProfile();
    const quint16 port
        = quint16(profile.section(QLatin1Char(':'), 1, 1).section(QLatin1Char(' '), 0, 0).toUInt());

    std::atomic<bool> running{true};
    std::thread peer([&] {
        const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        address.sin_port = htons(port);
        if (::connect(fd, reinterpret_cast<const sockaddr *>(&address), sizeof address) == 0)
            flood(fd, running, true);
        ::close(fd);
    });
    Figures figures = receive(ms);
    running.store(false);
    proxy->close();
    peer.join();
    return figures;
}

Figures floodTerminal(int ms)
{
    int master = -1;
    int slave = -1;
    char name[256] = {};
    if (::openpty(&master, &slave, name, nullptr, nullptr) != 0)
        return {};
    termios tio{};
    ::tcgetattr(slave, &tio);
    ::cfmakeraw(&tio);
    ::tcsetattr(slave, TCSANOW, &tio);
    ::close(slave);
    ::fcntl(master, F_SETFL, ::fcntl(master, F_GETFL) | O_NONBLOCK);

    ChannelProxy *proxy = dvApp->channelProxy();
    SerialChannelParams params;
    params.portName = QString::fromLocal8Bit(name);
    params.baudRate = 115200;
    if (!proxy->open(params)) {
        ::close(master);
        return {};
    }
    std::atomic<bool> running{true};
    std::thread peer([&] { flood(master, running, false); });
    Figures figures = receive(ms);
    running.store(false);
    peer.join();
    proxy->close();
    ::close(master);
    return figures;
}

void print(const char *name, const Figures &f)
{
    std::printf("| %s | %.0f | %.1f | %.0f | %.1f | %.2f |\n", name, f.chunks / f.seconds,
                f.bytes / f.seconds / 1e6, f.chunks ? double(f.bytes) / f.chunks : 0.0, f.frames / f.seconds,
                f.worstStallMs);
    std::fflush(stdout);
}

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    const int seconds = argc > 1 ? qMax(1, QByteArray(argv[1]).toInt()) : 3;
    QTemporaryDir dataRoot;
    // The application sees only the program's name: the figures asked for
    // are not documents to open.
    int appArgc = 1;
    Application app(appArgc, argv);
    app.startUp(dataRoot.path());

    // "bare" as a second argument leaves the frame watcher out, for comparison.
    const bool bare = argc > 2 && QByteArray(argv[2]) == "bare";
    RxFrameWatcher *watcher = dvApp->frameWatcher();
    watcher->setProtocol(frameProtocol());
    if (!bare)
        watcher->startTimingCycle();
    // The receive watcher hands every chunk to it, and to the dialogue view.

    std::printf("A local peer writes 32-byte frames, one write each, for %d s per run.\n\n", seconds);
    std::printf(
        "| channel | chunks/s | MB/s | mean chunk bytes | frames/s published | worst GUI stall ms |\n");
    std::printf("|---|---:|---:|---:|---:|---:|\n");
    print("TCP server", floodTcp(seconds * 1000));
    print("pseudo-terminal", floodTerminal(seconds * 1000));
    std::printf("\nDropped by the frame watcher's bounds: %lld bytes, %lld frames\n",
                static_cast<long long>(watcher->droppedBytes()),
                static_cast<long long>(watcher->droppedFrames()));
    watcher->stopTimingCycle();
    app.shutDown();
    return 0;
}
