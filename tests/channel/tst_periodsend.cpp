// Periodic sending through the proxy in the three timing strategies, on real
// pseudo-terminals: start and stop, prompt stops with long periods, closing
// and destroying while sending, and many open/start/close cycles.
#include "peers.h"
#include "pseudoterminal.h"

#include <dorvane/Channel.h>

#include <QSignalSpy>
#include <QtTest>

#include <atomic>
#include <chrono>
#include <thread>

namespace {

SerialChannelParams serialParams(const QString &port, TimingStrategy timing)
{
    SerialChannelParams p;
    p.portName = port;
    p.baudRate = 115200;
    p.timing = timing;
    return p;
}

// Writes one byte per tick through the proxy, as the application's senders do.
class Ticker : public IPeriodSendCallback
{
public:
    explicit Ticker(ChannelProxy *proxy)
        : m_proxy(proxy)
    {
    }

    void periodSend() override
    {
        m_thread.store(QThread::currentThread());
        if (m_slowTicks.load() > 0) {
            m_slowTicks.fetch_sub(1);
            std::this_thread::sleep_for(std::chrono::milliseconds(m_slowMs));
        }
        ticks.fetch_add(1);
        m_proxy->write("t", 1);
    }

    void makeSlow(int ticks, int ms)
    {
        m_slowMs = ms;
        m_slowTicks.store(ticks);
    }

    QThread *thread() const { return m_thread.load(); }
    bool waitForTicks(int count, int timeoutMs = 5000) const
    {
        QElapsedTimer clock;
        clock.start();
        while (ticks.load() < count && clock.elapsed() < timeoutMs)
            QTest::qWait(1);
        return ticks.load() >= count;
    }

    std::atomic<int> ticks{0};

private:
    ChannelProxy *m_proxy;
    std::atomic<QThread *> m_thread{nullptr};
    std::atomic<int> m_slowTicks{0};
    int m_slowMs = 0;
};

void addStrategies()
{
    QTest::addColumn<int>("timing");
    QTest::newRow("coarse") << int(CoarseTiming);
    QTest::newRow("precise") << int(PreciseTiming);
    QTest::newRow("high resolution") << int(HighResolutionTiming);
}

// Far shorter than any period used below, long enough for a loaded sanitizer build.
constexpr int kPromptMs = 1000;

} // namespace

class TestPeriodSend : public QObject
{
    Q_OBJECT
private slots:
    void init();

    void startsOnceAndStopsOnce_data() { addStrategies(); }
    void startsOnceAndStopsOnce();
    void noChannelMeansNothingRuns();
    void stopAndCloseArePromptWithLongPeriods_data() { addStrategies(); }
    void stopAndCloseArePromptWithLongPeriods();
    void guiWritesReachTheDeviceDuringLongWaits();
    void closeReopenAndDestroyWhileSending_data() { addStrategies(); }
    void closeReopenAndDestroyWhileSending();
    void highResolutionCatchesUpAfterSlowTicks();
    void manyCyclesNeitherHangNorLeak_data() { addStrategies(); }
    void manyCyclesNeitherHangNorLeak();

private:
    std::unique_ptr<PseudoTerminal> m_pty;
};

void TestPeriodSend::init()
{
    m_pty = std::make_unique<PseudoTerminal>();
    if (!m_pty->isValid())
        DORVANE_PEER_MISSING(qPrintable(QStringLiteral("no pseudo-terminal: %1").arg(m_pty->errorText())));
}

void TestPeriodSend::startsOnceAndStopsOnce()
{
    QFETCH(int, timing);
    ChannelProxy proxy;
    Ticker ticker(&proxy);
    QSignalSpy running(&proxy, &ChannelProxy::periodSendStateChanged);
    QSignalSpy written(&proxy, &ChannelProxy::bytesWritten);
    QVERIFY(proxy.open(serialParams(m_pty->slavePath(), TimingStrategy(timing))));

    proxy.startPeriodSend(&ticker, 5);
    proxy.startPeriodSend(&ticker, 5);
    QVERIFY(ticker.waitForTicks(5));
    QVERIFY(proxy.isPeriodSendRun());
    QVERIFY(ticker.thread() != QThread::currentThread());
    QCOMPARE(m_pty->read(5, 3000), QByteArray("ttttt"));

    proxy.stopPeriodSend();
    QTRY_VERIFY_WITH_TIMEOUT(!proxy.isPeriodSendRun(), kPromptMs);
    proxy.stopPeriodSend();
    QTRY_COMPARE(running.count(), 2);
    QTest::qWait(50);
    QCOMPARE(running.count(), 2);
    QCOMPARE(running.at(0).at(0).toBool(), true);
    QCOMPARE(running.at(1).at(0).toBool(), false);

    // Ticks have ended and every one was written whole.
    const int ticks = ticker.ticks.load();
    QTest::qWait(30);
    QCOMPARE(ticker.ticks.load(), ticks);
    QTRY_COMPARE(written.count(), ticks);
    QCOMPARE(written.last().at(1).toByteArray(), QByteArray("t"));
}

void TestPeriodSend::noChannelMeansNothingRuns()
{
    ChannelProxy proxy;
    Ticker ticker(&proxy);
    QSignalSpy running(&proxy, &ChannelProxy::periodSendStateChanged);
    proxy.startPeriodSend(&ticker, 1);
    proxy.startPeriodSend(&ticker, HighResolutionTiming, 1);
    proxy.stopPeriodSend();
    QTest::qWait(30);
    QVERIFY(!proxy.isPeriodSendRun());
    QCOMPARE(ticker.ticks.load(), 0);
    QCOMPARE(running.count(), 0);
}

void TestPeriodSend::stopAndCloseArePromptWithLongPeriods()
{
    QFETCH(int, timing);
    ChannelProxy proxy;
    Ticker ticker(&proxy);
    QSignalSpy running(&proxy, &ChannelProxy::periodSendStateChanged);
    QVERIFY(proxy.open(serialParams(m_pty->slavePath(), TimingStrategy(timing))));

    QElapsedTimer clock;
    proxy.startPeriodSend(&ticker, 60000);
    QTRY_COMPARE_WITH_TIMEOUT(running.count(), 1, kPromptMs);
    clock.start();
    proxy.stopPeriodSend();
    QTRY_COMPARE_WITH_TIMEOUT(running.count(), 2, kPromptMs);
    QVERIFY(!proxy.isPeriodSendRun());

    // A stop at once followed by a close.
    proxy.startPeriodSend(&ticker, 60000);
    QTRY_COMPARE_WITH_TIMEOUT(running.count(), 3, kPromptMs);
    clock.start();
    proxy.stopPeriodSend();
    proxy.close();
    QVERIFY2(clock.elapsed() < kPromptMs, qPrintable(QString::number(clock.elapsed())));

    // A close while sending runs.
    QVERIFY(proxy.open(serialParams(m_pty->slavePath(), TimingStrategy(timing))));
    proxy.startPeriodSend(&ticker, 60000);
    QTRY_VERIFY_WITH_TIMEOUT(proxy.isPeriodSendRun(), kPromptMs);
    clock.start();
    proxy.close();
    QVERIFY2(clock.elapsed() < kPromptMs, qPrintable(QString::number(clock.elapsed())));
    QCOMPARE(ticker.ticks.load(), 0);
}

void TestPeriodSend::guiWritesReachTheDeviceDuringLongWaits()
{
    ChannelProxy proxy;
    Ticker ticker(&proxy);
    QSignalSpy arrived(&proxy, &ChannelProxy::bytesArrived);
    QVERIFY(proxy.open(serialParams(m_pty->slavePath(), HighResolutionTiming)));
    proxy.startPeriodSend(&ticker, 60000);
    // Queued right behind the start, so it reaches the worker inside the
    // loop's own slot.
    QVERIFY(proxy.write("early", 5));
    QTRY_VERIFY_WITH_TIMEOUT(proxy.isPeriodSendRun(), kPromptMs);
    QCOMPARE(m_pty->read(5, kPromptMs), QByteArray("early"));

    QVERIFY(proxy.write("gui", 3));
    QCOMPARE(m_pty->read(3, kPromptMs), QByteArray("gui"));
    QVERIFY(m_pty->write("dev"));
    QVERIFY(arrived.wait(kPromptMs));
    QCOMPARE(arrived.at(0).at(1).toByteArray(), QByteArray("dev"));
    proxy.stopPeriodSend();
    QTRY_VERIFY_WITH_TIMEOUT(!proxy.isPeriodSendRun(), kPromptMs);
}

void TestPeriodSend::closeReopenAndDestroyWhileSending()
{
    QFETCH(int, timing);
    const SerialChannelParams params = serialParams(m_pty->slavePath(), TimingStrategy(timing));
    auto proxy = std::make_unique<ChannelProxy>();
    Ticker ticker(proxy.get());

    QVERIFY(proxy->open(params));
    proxy->startPeriodSend(&ticker, 1);
    QVERIFY(ticker.waitForTicks(3));
    // Re-opening replaces the sending channel; the new one starts stopped.
    QVERIFY(proxy->open(params));
    QVERIFY(!proxy->isPeriodSendRun());
    const int ticks = ticker.ticks.load();
    QTest::qWait(20);
    QCOMPARE(ticker.ticks.load(), ticks);

    proxy->startPeriodSend(&ticker, 1);
    QVERIFY(ticker.waitForTicks(ticks + 3));
    m_pty->drain();
    proxy.reset();
    const int last = ticker.ticks.load();
    QTest::qWait(20);
    QCOMPARE(ticker.ticks.load(), last);
}

void TestPeriodSend::highResolutionCatchesUpAfterSlowTicks()
{
    ChannelProxy proxy;
    Ticker ticker(&proxy);
    QVERIFY(proxy.open(serialParams(m_pty->slavePath(), HighResolutionTiming)));
    // Ten ticks of 12 ms with a 4 ms period fall 80 ms behind; the ticks that
    // follow run back to back until the count matches the elapsed time again.
    ticker.makeSlow(10, 12);
    QElapsedTimer clock;
    clock.start();
    proxy.startPeriodSend(&ticker, 4);
    QTest::qWait(600);
    const qint64 elapsed = clock.elapsed();
    const int ticks = ticker.ticks.load();
    proxy.stopPeriodSend();
    QTRY_VERIFY_WITH_TIMEOUT(!proxy.isPeriodSendRun(), kPromptMs);
    m_pty->drain();

    const double expected = double(elapsed) / 4.0;
    QVERIFY2(ticks >= 0.85 * expected && ticks <= expected + 2,
             qPrintable(QStringLiteral("%1 ticks in %2 ms").arg(ticks).arg(elapsed)));
}

void TestPeriodSend::manyCyclesNeitherHangNorLeak()
{
    QFETCH(int, timing);
    const SerialChannelParams params = serialParams(m_pty->slavePath(), TimingStrategy(timing));
    ChannelProxy proxy;
    Ticker ticker(&proxy);

    // The first open loads what the port needs once; count files after it.
    QVERIFY(proxy.open(params));
    proxy.close();
    const int files = openFileCount();

    for (int i = 0; i < 200; ++i) {
        QVERIFY2(proxy.open(params), qPrintable(QString::number(i)));
        proxy.startPeriodSend(&ticker, 1);
        if (i % 4 == 0)
            QVERIFY(ticker.waitForTicks(ticker.ticks.load() + 1));
        if (i % 2 == 0)
            proxy.stopPeriodSend();
        proxy.close();
        QVERIFY(!proxy.isOpen());
        QVERIFY(!proxy.isPeriodSendRun());
        m_pty->drain();
    }
    QCoreApplication::processEvents();
    QCOMPARE(openFileCount(), files);
}

QTEST_GUILESS_MAIN(TestPeriodSend)
#include "tst_periodsend.moc"
