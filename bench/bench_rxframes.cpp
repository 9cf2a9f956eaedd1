// The RX Frames window on the real receive path, inside a started
// application with the window's plot on screen (offscreen platform):
//   1. a pseudo-terminal peer sends 10 000 frames/s of 32 bytes with eight
//      values: frames decoded and plotted, drops, worst GUI stall, resident
//      memory over the run;
//   2. the history filled to its bound through the frame watcher, then fed
//      on: resident memory before and after;
//   3. eight lines of 1 000 000 points: the time of one repaint, live
//      (10 s on screen) and with the whole history on screen;
//   4. a stream with garbage between the frames: frames lost, bytes skipped.
//
//   bench_rxframes [seconds of the live run, default 30]
#include "services/rxframewatcher.h"
#include "shell/application.h"
#include "shell/mainwindow.h"
#include "windows/rxframes/rxframewindow.h"
#include "windows/rxframes/rxplot.h"

#include "eventloopstall.h"

#include <dorvane/Channel.h>
#include <dorvane/Core.h>

#include <QDockWidget>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <random>
#include <termios.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

constexpr int kFrameSize = 32;
constexpr int kValues = 8;

// Head AA 55, eight 16-bit values on lines 1 to 8, a block of 13 bytes and
// a tail 0D: 32 bytes.
const char kProtocol[]
    = "fileFormat: dorvane rx-protocol file\nfileVersion: \"1.0\"\nprotocol: {fields: 11}\nfields:\n"
      "  - {name: head, tid: 10, endian: 1, enable: true, meta: [{generator: Fixed, params: "
      "\"0xAA,0x55\", graph: -1, form: -1, flag: 1}]}\n"
      "%VALUES%"
      "  - {name: pad, tid: 10, endian: 1, enable: true, meta: [{generator: Block, params: "
      "\"13\", graph: -1, form: -1, flag: 0}]}\n"
      "  - {name: tail, tid: 10, endian: 1, enable: true, meta: [{generator: Fixed, params: "
      "\"0x0D\", graph: -1, form: -1, flag: 2}]}\n";

QByteArray protocolText()
{
    QByteArray values;
    for (int i = 0; i < kValues; ++i)
        values += QByteArray("  - {name: v") + QByteArray::number(i + 1)
                  + ", tid: 2, endian: 1, enable: true, meta: [{generator: Fixed, params: \"0.01\", graph: "
                  + QByteArray::number(i + 1) + ", form: -1, flag: 0}]}\n";
    return QByteArray(kProtocol).replace("%VALUES%", values);
}

void putFrame(char *out, int n)
{
    out[0] = char(0xAA);
    out[1] = char(0x55);
    for (int i = 0; i < kValues; ++i) {
        const qint16 v = qint16((n * (i + 1)) % 20000 - 10000);
        out[2 + 2 * i] = char(v & 0xFF);
        out[3 + 2 * i] = char((v >> 8) & 0xFF);
    }
    std::fill(out + 18, out + 31, '\x11');
    out[31] = char(0x0D);
}

double residentMb()
{
    QFile statm(QStringLiteral("/proc/self/statm"));
    if (!statm.open(QIODevice::ReadOnly))
        return 0;
    const QList<QByteArray> fields = statm.readAll().split(' ');
    return fields.size() > 1 ? fields.at(1).toDouble() * double(sysconf(_SC_PAGESIZE)) / 1e6 : 0;
}

// Keeps the pace with a burst every millisecond.
void sendFrames(int fd, int perSecond, std::atomic<bool> &running, std::atomic<qint64> &sent)
{
    using clock = std::chrono::steady_clock;
    const auto start = clock::now();
    std::vector<char> buffer;
    qint64 n = 0;
    while (running.load()) {
        const double elapsed = std::chrono::duration<double>(clock::now() - start).count();
        const qint64 due = qint64(elapsed * perSecond);
        buffer.resize(size_t(std::max<qint64>(0, due - n)) * kFrameSize);
        for (qint64 i = n; i < due; ++i)
            putFrame(buffer.data() + (i - n) * kFrameSize, int(i));
        size_t done = 0;
        while (done < buffer.size() && running.load()) {
            const ssize_t w = ::write(fd, buffer.data() + done, buffer.size() - done);
            if (w > 0) {
                done += size_t(w);
            } else if (w < 0 && errno == EAGAIN) {
                pollfd p{fd, POLLOUT, 0};
                ::poll(&p, 1, 5);
            } else {
                return;
            }
        }
        n = due;
        sent.store(n);
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
}

void liveRun(RxFrameWindow *window, int seconds)
{
    int master = -1;
    int slave = -1;
    char name[256] = {};
    if (::openpty(&master, &slave, name, nullptr, nullptr) != 0) {
        std::printf("openpty failed: live run skipped\n");
        return;
    }
    termios tio{};
    ::tcgetattr(slave, &tio);
    ::cfmakeraw(&tio);
    ::tcsetattr(slave, TCSANOW, &tio);
    ::close(slave);
    ::fcntl(master, F_SETFL, ::fcntl(master, F_GETFL) | O_NONBLOCK);
    SerialChannelParams params;
    params.portName = QString::fromLocal8Bit(name);
    params.baudRate = 115200;
    if (!dvApp->channelProxy()->open(params)) {
        std::printf("the pseudo-terminal did not open: live run skipped\n");
        return;
    }
    window->startParsing();
    std::atomic<bool> running{true};
    std::atomic<qint64> sent{0};
    std::thread peer([&] { sendFrames(master, 10000, running, sent); });

    std::printf(
        "| second | frames sent | frames decoded | points on line 1 | worst GUI stall ms | resident MB |\n");
    std::printf("|---:|---:|---:|---:|---:|---:|\n");
    double worst = 0;
    const int step = std::max(1, seconds / 6);
    for (int s = step; s <= seconds; s += step) {
        const EventLoopRun run = runEventLoopWatchingStalls(step * 1000);
        worst = std::max(worst, run.worstStallMs);
        std::printf("| %d | %lld | %lld | %d | %.1f | %.1f |\n", s, static_cast<long long>(sent.load()),
                    static_cast<long long>(window->decodedFrames()), window->plot()->series(0).size(),
                    run.worstStallMs, residentMb());
        std::fflush(stdout);
    }
    running.store(false);
    peer.join();
    // What is on its way is still taken in.
    runEventLoopWatchingStalls(500);
    std::printf("\nAfter the run: %lld sent, %lld decoded, worst GUI stall %.1f ms; %s\n\n",
                static_cast<long long>(sent.load()), static_cast<long long>(window->decodedFrames()), worst,
                qPrintable(window->countText()));
    window->stopParsing();
    dvApp->channelProxy()->close();
    ::close(master);
}

// Feeds frames through the watcher as fast as it takes them, in chunks the
// stream bound never cuts.
qint64 feed(RxFrameWindow *window, RxFrameWatcher *watcher, qint64 frames, int firstNumber,
            bool garbage = false, qint64 *garbageBytes = nullptr)
{
    std::mt19937 random(7);
    std::uniform_int_distribution<int> length(1, 20);
    std::uniform_int_distribution<int> byte(0, 0xA9);
    const qint64 target = window->decodedFrames() + frames;
    QByteArray chunk;
    qint64 n = 0;
    while (n < frames) {
        chunk.clear();
        for (int i = 0; i < 1000 && n < frames; ++i, ++n) {
            if (garbage) {
                const int g = length(random);
                for (int k = 0; k < g; ++k)
                    chunk.append(char(byte(random)));
                *garbageBytes += g;
            }
            const int at = chunk.size();
            chunk.resize(at + kFrameSize);
            putFrame(chunk.data() + at, int(firstNumber + n));
        }
        watcher->inputData(chunk);
        // At the pace the window takes the frames in, so none is dropped at
        // the watcher's bounds.
        while (watcher->pendingBytes() > (256 << 10)
               || (target - frames + n) - window->decodedFrames() > RxFrameWatcher::maxUndeliveredFrames / 2)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    }
    QElapsedTimer wait;
    wait.start();
    while (window->decodedFrames() < target && wait.elapsed() < 60000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    return window->decodedFrames() - (target - frames);
}

void historyRun(RxFrameWindow *window, RxFrameWatcher *watcher)
{
    window->startParsing();
    const double before = residentMb();
    feed(window, watcher, 1100000, 0);
    const double full = residentMb();
    const int points = window->plot()->series(0).size();
    feed(window, watcher, 500000, 1100000);
    const double after = residentMb();
    std::printf("History bound: %d points a line, rings hold %.1f MB for %d lines\n", points,
                window->plot()->memoryBytes() / 1e6, window->plot()->lineCount());
    std::printf(
        "Resident memory: %.1f MB before, %.1f MB with the history full, %.1f MB after 500 000 frames "
        "more\n\n",
        before, full, after);
    window->stopParsing();
}

void repaintRun(RxPlot *plot)
{
    // The plot of the window, refilled: 8 lines of 1 000 000 points at
    // 10 000 points a second.
    plot->clearHistory();
    for (int line = 0; line < plot->lineCount(); ++line) {
        for (int i = 0; i < RxSeries::kDefaultCapacity; ++i)
            plot->append(line, i * 1e-4, std::sin(i * 1e-3 * (line + 1)) * (line + 1) + (i % 97) * 0.01);
    }
    auto measure = [plot](const char *what) {
        std::vector<double> ms;
        for (int i = 0; i < 21; ++i) {
            QElapsedTimer clock;
            clock.start();
            plot->refresh(true);
            ms.push_back(clock.nsecsElapsed() / 1e6);
        }
        std::sort(ms.begin(), ms.end());
        std::printf("| %s | %d × %d | %.2f | %.2f |\n", what, plot->width(), plot->height(),
                    ms[ms.size() / 2], ms.back());
    };
    std::printf("| one repaint, 8 lines × 1 000 000 points | plot pixels | median ms | worst ms |\n");
    std::printf("|---|---:|---:|---:|\n");
    plot->setPaused(false);
    measure("live, 10 s on screen");
    plot->setPaused(true);
    plot->xAxis->setRange(0.0, RxSeries::kDefaultCapacity * 1e-4);
    measure("paused, whole history on screen");
    plot->setPaused(false);
    std::printf("\n");
}

void garbageRun(RxFrameWindow *window, RxFrameWatcher *watcher)
{
    window->startParsing();
    const qint64 skippedBefore = watcher->skippedBytes();
    qint64 garbage = 0;
    const qint64 frames = 200000;
    const qint64 decoded = feed(window, watcher, frames, 0, true, &garbage);
    std::printf(
        "Garbage of 1 to 20 bytes before every frame: %lld frames sent, %lld decoded, %lld garbage bytes, "
        "%lld counted as skipped\n",
        static_cast<long long>(frames), static_cast<long long>(decoded), static_cast<long long>(garbage),
        static_cast<long long>(watcher->skippedBytes() - skippedBefore));
    window->stopParsing();
}

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    const int seconds = argc > 1 ? std::max(1, QByteArray(argv[1]).toInt()) : 30;
    QTemporaryDir dataRoot;
    // The application sees only the program's name: the figures asked for
    // are not documents to open.
    int appArgc = 1;
    Application app(appArgc, argv);
    app.startUp(dataRoot.path());
    MainWindow *main = app.mainWindow();
    RxFrameWindow *window = main->rxFrameWindow();
    const QString path = dataRoot.filePath(QStringLiteral("bench.dvprx"));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(protocolText()) < 0)
        return 1;
    file.close();
    main->openRxProtocolFile(path);
    // The window floats at the size of the main window, as a user watching
    // a plot would have it.
    QDockWidget *dock = main->rxFramesDock();
    dock->show();
    dock->setFloating(true);
    dock->resize(1200, 700);
    dock->raise();
    for (int i = 0; i < 10; ++i)
        QCoreApplication::processEvents();

    std::printf("RX Frames window, plot %d × %d pixels, refresh %d Hz.\n\n", window->plot()->width(),
                window->plot()->height(), window->plot()->refreshRate());
    liveRun(window, seconds);
    historyRun(window, dvApp->frameWatcher());
    repaintRun(window->plot());
    garbageRun(window, dvApp->frameWatcher());
    app.shutDown();
    return 0;
}
