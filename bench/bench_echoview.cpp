// Feeds the dialogue echo view through the receive watcher, the path real
// traffic takes: a feeder thread hands each chunk to the GUI thread as one
// queued call, as a channel's worker does to its proxy, and there the proxy's
// bytesArrived reaches the receive watcher, which counts, queues and draws.
// Hex mode, labels and details on. A 5 ms timer on the GUI thread records
// the worst event-loop stall.
//
//   bench_echoview [seconds for cases a and b, default 5] [seconds for case c, default 60]
//
// Case d runs the small chunks with the view's echo off, as a baseline.
// Prints, per case: chunks and bytes counted per second, chunks per second
// shown in the view, the worst stall, and resident memory at start and end
// (case c also every 10 s).
#include "services/receivewatcher.h"
#include "shell/application.h"
#include "shell/mainwindow.h"
#include "windows/dialogue/dialoguewindow.h"
#include "windows/dialogue/echotextedit.h"

#include <dorvane/Channel.h>

#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTimer>

#include <atomic>
#include <cstdio>
#include <thread>
#include <unistd.h>

namespace {

// At most this much may wait in the GUI thread's queue, as the channels' own
// arrival gate allows: 8 MiB or 1024 chunks. The feeder here could post
// hundreds of thousands of chunks, so "as fast as they come" means as fast as
// the GUI thread takes them. Every queued chunk is handled in the same turn
// of the event loop, so this bound is also what the feeding path alone may
// stall the GUI thread.
const qint64 kMaxInFlightBytes = 8 << 20;
const qint64 kMaxInFlightChunks = 1024;

double residentMiB()
{
    QFile statm(QStringLiteral("/proc/self/statm"));
    if (!statm.open(QIODevice::ReadOnly))
        return 0;
    const QList<QByteArray> fields = statm.readAll().split(' ');
    return fields.size() > 1 ? fields.at(1).toDouble() * double(sysconf(_SC_PAGESIZE)) / (1024.0 * 1024.0)
                             : 0;
}

struct Figures
{
    double seconds = 0;
    qint64 chunks = 0;
    qint64 bytes = 0;
    qint64 dropped = 0;
    double worstStallMs = 0;
    double rssStart = 0;
    double rssEnd = 0;
};

Figures run(const char *name, int chunkSize, int ms, bool reportMemory)
{
    Application *app = Application::instance();
    ChannelProxy *proxy = app->channelProxy();
    ReceiveWatcher *watcher = app->receiveWatcher();
    EchoTextEdit *edit = app->mainWindow()->dialogueWindow()->echoEdit();
    edit->clear();
    app->mainWindow()->resetCounters();

    Figures figures;
    figures.rssStart = residentMiB();
    const qint64 droppedBefore = edit->droppedChunks();

    std::atomic<qint64> inFlight{0};
    std::atomic<qint64> inFlightChunks{0};
    std::atomic<bool> running{true};
    QObject context;

    QElapsedTimer clock;
    QTimer tick;
    tick.setTimerType(Qt::PreciseTimer);
    tick.setInterval(5);
    qint64 last = 0;
    qint64 worstGapNs = 0;
    qint64 nextReport = 10000;
    QObject::connect(&tick, &QTimer::timeout, &context, [&] {
        const qint64 now = clock.nsecsElapsed();
        worstGapNs = qMax(worstGapNs, now - last);
        last = now;
        if (reportMemory && clock.elapsed() >= nextReport) {
            std::printf("    %s at %3lld s: %.1f MiB resident, log %d lines, %lld characters; document %d "
                        "blocks\n",
                        name, nextReport / 1000, residentMiB(), edit->logLineCount(),
                        edit->logCharacterCount(), edit->document()->blockCount());
            std::fflush(stdout);
            nextReport += 10000;
        }
    });

    const quint64 totalBefore = watcher->total();
    const int offset = QDateTime::currentDateTime().offsetFromUtc();
    std::thread feeder([&] {
        QByteArray chunk(chunkSize, '\0');
        for (int i = 0; i < chunkSize; ++i)
            chunk[i] = char(i * 7);
        while (running.load()) {
            if (inFlight.load() > kMaxInFlightBytes || inFlightChunks.load() > kMaxInFlightChunks) {
                std::this_thread::sleep_for(std::chrono::microseconds(200));
                continue;
            }
            inFlight.fetch_add(chunkSize);
            inFlightChunks.fetch_add(1);
            // Stamped as the channels stamp theirs: the wall clock with the
            // local offset applied, which reads as local time without a
            // time-zone look-up per chunk.
            const QDateTime time = QDateTime::fromMSecsSinceEpoch(QDateTime::currentMSecsSinceEpoch(),
                                                                  Qt::OffsetFromUTC, offset);
            QMetaObject::invokeMethod(
                &context,
                [&, time, chunk] {
                    inFlight.fetch_sub(chunk.size());
                    inFlightChunks.fetch_sub(1);
                    emit proxy->bytesArrived(time, chunk);
                },
                Qt::QueuedConnection);
        }
    });

    QEventLoop loop;
    QTimer::singleShot(ms, Qt::PreciseTimer, &loop, &QEventLoop::quit);
    clock.start();
    tick.start();
    loop.exec();
    running.store(false);
    feeder.join();
    figures.seconds = clock.nsecsElapsed() / 1e9;
    figures.bytes = qint64(watcher->total() - totalBefore);
    figures.chunks = figures.bytes / chunkSize;
    figures.dropped = edit->droppedChunks() - droppedBefore;
    figures.worstStallMs = qMax<qint64>(0, worstGapNs - 5000000) / 1e6;
    // Let what is still queued drain before the next case.
    while (inFlight.load() > 0)
        QCoreApplication::processEvents();
    edit->flushEcho();
    figures.rssEnd = residentMiB();
    return figures;
}

void print(const char *name, int chunkSize, const Figures &f)
{
    const double shown = double(f.chunks - f.dropped) / f.seconds;
    std::printf("| %s | %d B | %.0f | %.2f | %.0f | %.1f | %.1f -> %.1f |\n", name, chunkSize,
                f.chunks / f.seconds, f.bytes / f.seconds / 1e6, shown, f.worstStallMs, f.rssStart, f.rssEnd);
    std::fflush(stdout);
}

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    const int shortSeconds = argc > 1 ? qMax(1, atoi(argv[1])) : 5;
    const int longSeconds = argc > 2 ? qMax(1, atoi(argv[2])) : 60;

    QCoreApplication::setApplicationName(QStringLiteral("Dorvane"));
    QCoreApplication::setOrganizationName(QStringLiteral("Quorvel"));
    QStandardPaths::setTestModeEnabled(true);
    QTemporaryDir dataRoot;
    // The application sees only the program's name: the figures asked for
    // are not documents to open.
    int appArgc = 1;
    Application app(appArgc, argv);
    app.startUp(dataRoot.path());
    EchoTextEdit *edit = app.mainWindow()->dialogueWindow()->echoEdit();
    edit->setEchoMode(0);
    edit->setDisplayLabel(true);
    edit->setReportDetails(true);
    edit->setDataInNewLine(false);

    std::printf("| case | chunk | chunks/s counted | MB/s counted | chunks/s shown | worst stall ms | "
                "resident MiB |\n|---|---|---|---|---|---|---|\n");
    print("a: small chunks", 32, run("a", 32, shortSeconds * 1000, false));
    print("b: 4 KiB chunks", 4096, run("b", 4096, shortSeconds * 1000, false));
    print("c: at the line cap", 1, run("c", 1, longSeconds * 1000, true));
    std::printf("after c: log %d lines (cap 100000), %lld characters; document %d blocks, %d characters\n",
                edit->logLineCount(), edit->logCharacterCount(), edit->document()->blockCount(),
                edit->document()->characterCount());
    // The same path with the view's echo off: what the feeder, the event
    // queue and the counters cost on their own, for comparison.
    edit->setEchoRx(false);
    print("d: counting only, echo off", 32, run("d", 32, shortSeconds * 1000, false));
    app.shutDown();
    return 0;
}
