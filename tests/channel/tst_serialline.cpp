// Serial line control and reconnecting on real pseudo-terminals: what a
// pseudo-terminal cannot do is said with the system's reason, flow control
// reaches the terminal's settings, and a device that goes away and comes
// back under the same link (socat) is reopened within a second.
#include "pseudoterminal.h"
#include "socatlink.h"
#include "spiedbytes.h"

#include <dorvane/Channel.h>

#include <QFileInfo>
#include <QProcess>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

#include <fcntl.h>
#include <termios.h>
#include <unistd.h>

namespace {

SerialChannelParams serialParams(const QString &port)
{
    SerialChannelParams p;
    p.portName = port;
    p.baudRate = 115200;
    return p;
}

// what → reason of every serialLineUnavailable so far.
QMap<QString, QString> unavailable(const QSignalSpy &spy)
{
    QMap<QString, QString> told;
    for (const QList<QVariant> &args : spy)
        told.insert(args.at(0).toString(), args.at(1).toString());
    return told;
}

bool waitForBytes(QSignalSpy &spy, const QByteArray &expected, int timeoutMs = 3000)
{
    QElapsedTimer clock;
    clock.start();
    while (!spiedBytes(spy).contains(expected) && clock.elapsed() < timeoutMs)
        spy.wait(20);
    return spiedBytes(spy).contains(expected);
}

} // namespace

class TestSerialLine : public QObject
{
    Q_OBJECT
private slots:
    void init();

    void whatAPseudoTerminalLacksIsSaidWithItsReason();
    void flowControlReachesTheTerminal();
    void replugReopensWithinASecond();
    void closeEndsReconnecting();

private:
    std::unique_ptr<PseudoTerminal> m_pty;
};

void TestSerialLine::init()
{
    m_pty = std::make_unique<PseudoTerminal>();
    if (!m_pty->isValid())
        QSKIP(qPrintable(QStringLiteral("no pseudo-terminal: %1").arg(m_pty->errorText())));
}

void TestSerialLine::whatAPseudoTerminalLacksIsSaidWithItsReason()
{
    ChannelProxy proxy;
    QSignalSpy told(&proxy, &ChannelProxy::serialLineUnavailable);
    QSignalSpy mismatch(&proxy, &ChannelProxy::baudRateMismatch);
    QSignalSpy counts(&proxy, &ChannelProxy::uartErrorCountsChanged);
    QVERIFY(proxy.open(serialParams(m_pty->slavePath())));
    QVERIFY(proxy.requestToSend());
    QVERIFY(proxy.dataTerminalReady());

    // No modem lines and no UART counters on a pseudo-terminal; lines left
    // raised, as the system raises them, are no news.
    QTRY_COMPARE(told.count(), 2);
    QMap<QString, QString> said = unavailable(told);
    QVERIFY2(!said.value(QStringLiteral("Modem lines")).isEmpty(),
             qPrintable(said.keys().join(QLatin1Char(','))));
    QVERIFY2(said.value(QStringLiteral("Error counters")).startsWith(QStringLiteral("not available (")),
             qPrintable(said.value(QStringLiteral("Error counters"))));

    // A request from the user is answered every time.
    proxy.setRequestToSend(false);
    proxy.setDataTerminalReady(false);
    proxy.setDataTerminalReady(false);
    QTRY_COMPARE(told.count(), 5);
    said = unavailable(told);
    QVERIFY(!said.value(QStringLiteral("RTS")).isEmpty());
    QCOMPARE(said.value(QStringLiteral("DTR")), said.value(QStringLiteral("Modem lines")));
    QVERIFY(!proxy.requestToSend());
    QVERIFY(!proxy.dataTerminalReady());

    // A break leaves the line usable, and the driver kept the rate asked for.
    proxy.sendBreak(30);
    QSignalSpy arrived(&proxy, &ChannelProxy::bytesArrived);
    QTest::qWait(60);
    QVERIFY(m_pty->write("after break"));
    QVERIFY(waitForBytes(arrived, "after break"));
    // Its driver takes a break without a word and sends none: that is said.
    QTRY_COMPARE(unavailable(told).value(QStringLiteral("Break")),
                 QStringLiteral("a pseudo-terminal has no break line"));
    QCOMPARE(mismatch.count(), 0);
    QCOMPARE(counts.count(), 0);
    proxy.close();

    // A line asked to be low at open is said at open.
    SerialChannelParams lowered = serialParams(m_pty->slavePath());
    lowered.dataTerminalReady = false;
    told.clear();
    QVERIFY(proxy.open(lowered));
    QTRY_COMPARE(told.count(), 3);
    QVERIFY(unavailable(told).contains(QStringLiteral("DTR")));
    QVERIFY(!proxy.dataTerminalReady());
}

void TestSerialLine::flowControlReachesTheTerminal()
{
    ChannelProxy proxy;
    SerialChannelParams params = serialParams(m_pty->slavePath());
    params.flowControl = RtsCtsFlowControl;
    QVERIFY(proxy.open(params));
    QVERIFY(terminalSettings(m_pty->slavePath()).c_cflag & CRTSCTS);
    // RTS belongs to the flow control then.
    QSignalSpy told(&proxy, &ChannelProxy::serialLineUnavailable);
    proxy.setRequestToSend(false);
    QTRY_VERIFY(unavailable(told).value(QStringLiteral("RTS")).contains(QStringLiteral("flow control")));

    params.flowControl = XonXoffFlowControl;
    QVERIFY(proxy.open(params));
    const termios soft = terminalSettings(m_pty->slavePath());
    QVERIFY(!(soft.c_cflag & CRTSCTS));
    QVERIFY((soft.c_iflag & IXON) && (soft.c_iflag & IXOFF));

    params.flowControl = 3;
    QVERIFY(!proxy.open(params));
}

void TestSerialLine::replugReopensWithinASecond()
{
    if (QStandardPaths::findExecutable(QStringLiteral("socat")).isEmpty())
        QSKIP("socat is not installed (Debian package socat)");
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString device = dir.filePath(QStringLiteral("dv-port"));
    const QString peer = dir.filePath(QStringLiteral("dv-device"));

    SocatLink first(device, peer);
    QVERIFY(first.start());
    ChannelProxy proxy;
    QSignalSpy state(&proxy, &ChannelProxy::stateChanged);
    QSignalSpy reconnecting(&proxy, &ChannelProxy::reconnectingChanged);
    QSignalSpy arrived(&proxy, &ChannelProxy::bytesArrived);
    SerialChannelParams params = serialParams(device);
    params.autoReconnect = true;
    QVERIFY(proxy.open(params));
    QVERIFY(first.write("before"));
    QVERIFY(waitForBytes(arrived, "before"));

    first.stop();
    QTRY_COMPARE(state.count(), 1);
    QCOMPARE(state.at(0).at(1).value<ChanneState>(), Closed);
    QTRY_COMPARE(reconnecting.count(), 1);
    QVERIFY(reconnecting.at(0).at(0).toBool());
    QVERIFY(proxy.isReconnecting());
    QVERIFY(!proxy.isOpen());
    QTest::qWait(500);
    QCOMPARE(state.count(), 1);

    SocatLink second(device, peer);
    QVERIFY(second.start());
    QElapsedTimer back;
    back.start();
    QTRY_COMPARE_WITH_TIMEOUT(state.count(), 2, 3000);
    QVERIFY2(back.elapsed() <= 1000, qPrintable(QString::number(back.elapsed())));
    QCOMPARE(state.at(1).at(1).value<ChanneState>(), Opened);
    QVERIFY(proxy.isOpen());
    QTRY_COMPARE(reconnecting.count(), 2);
    QVERIFY(!reconnecting.at(1).at(0).toBool());
    QVERIFY(second.write("after"));
    QVERIFY(waitForBytes(arrived, "after"));
    proxy.close();
}

void TestSerialLine::closeEndsReconnecting()
{
    ChannelProxy proxy;
    QSignalSpy reconnecting(&proxy, &ChannelProxy::reconnectingChanged);
    SerialChannelParams params = serialParams(m_pty->slavePath());
    params.autoReconnect = true;
    QVERIFY(proxy.open(params));
    m_pty->closeMaster();
    QTRY_VERIFY(proxy.isReconnecting());
    proxy.close();
    QVERIFY(!proxy.isReconnecting());
    QTRY_COMPARE(reconnecting.count(), 2);
    QVERIFY(!reconnecting.at(1).at(0).toBool());
}

QTEST_GUILESS_MAIN(TestSerialLine)
#include "tst_serialline.moc"
