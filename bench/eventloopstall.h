#pragma once
// Runs this thread's event loop for a while and watches it with a 1 ms timer:
// the longest gap between two ticks, less the tick itself, is the worst stall.

#include <QElapsedTimer>
#include <QEventLoop>
#include <QObject>
#include <QTimer>

struct EventLoopRun
{
    double seconds = 0;
    double worstStallMs = 0;
};

inline EventLoopRun runEventLoopWatchingStalls(int ms)
{
    QObject context;
    QElapsedTimer clock;
    QTimer tick;
    tick.setTimerType(Qt::PreciseTimer);
    tick.setInterval(1);
    qint64 last = 0;
    qint64 worstGapNs = 0;
    QObject::connect(&tick, &QTimer::timeout, &context, [&] {
        const qint64 now = clock.nsecsElapsed();
        worstGapNs = qMax(worstGapNs, now - last);
        last = now;
    });
    QEventLoop loop;
    QTimer::singleShot(ms, Qt::PreciseTimer, &loop, &QEventLoop::quit);
    clock.start();
    tick.start();
    loop.exec();
    EventLoopRun run;
    run.seconds = clock.nsecsElapsed() / 1e9;
    run.worstStallMs = qMax<qint64>(0, worstGapNs - 1000000) / 1e6;
    return run;
}
