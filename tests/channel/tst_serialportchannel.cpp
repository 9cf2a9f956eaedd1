// The serial port channel through the proxy, on real pseudo-terminals.
#include "peers.h"
#include "pseudoterminal.h"
#include "spiedbytes.h"

#include <dorvane/Channel.h>

#include <QSignalSpy>
#include <QtTest>

namespace {

SerialChannelParams serialParams(const QString &port)
{
    SerialChannelParams p;
    p.portName = port;
    p.baudRate = 115200;
    return p;
}

// Waits until the spied signals together carried `count` bytes.
bool waitForBytes(QSignalSpy &spy, int count, int timeoutMs = 3000)
{
    QElapsedTimer clock;
    clock.start();
    while (spiedBytes(spy).size() < count && clock.elapsed() < timeoutMs)
        spy.wait(50);
    return spiedBytes(spy).size() >= count;
}

} // namespace

class TestSerialPortChannel : public QObject
{
    Q_OBJECT
private slots:
    void init();

    void bytesTravelBothWaysOnTheWorker();
    void queuedWriteKeepsTheBytesOfItsMoment();
    void writesAfterCloseAreDropped();
    void profileShowsThePortSettings_data();
    void profileShowsThePortSettings();
    void secondOpenKeepsOneReadConnection();
    void reopeningReleasesThePreviousPort();
    void missingPortFailsAndStaysCurrent();
    void recordsThatDoNotFitAreRefused();
    void lostDeviceClosesTheChannel();

private:
    std::unique_ptr<PseudoTerminal> m_pty;
};

void TestSerialPortChannel::init()
{
    m_pty = std::make_unique<PseudoTerminal>();
    if (!m_pty->isValid())
        DORVANE_PEER_MISSING(qPrintable(QStringLiteral("no pseudo-terminal: %1").arg(m_pty->errorText())));
}

void TestSerialPortChannel::bytesTravelBothWaysOnTheWorker()
{
    ChannelProxy proxy;
    QSignalSpy arrived(&proxy, &ChannelProxy::bytesArrived);
    QSignalSpy written(&proxy, &ChannelProxy::bytesWritten);
    QSignalSpy state(&proxy, &ChannelProxy::stateChanged);

    QVERIFY(proxy.open(serialParams(m_pty->slavePath())));
    QVERIFY(proxy.isOpen());
    QCOMPARE(proxy.channelParams().type, SerialPort);

    const QByteArray out = QByteArray("\x01\x00\xff\r\nhello", 10);
    QVERIFY(proxy.write(out.constData(), out.size()));
    QCOMPARE(m_pty->read(out.size(), 3000), out);
    QVERIFY(written.wait(3000));
    QCOMPARE(written.count(), 1);
    QCOMPARE(written.at(0).at(1).toByteArray(), out);
    QVERIFY(written.at(0).at(0).toDateTime().isValid());

    QByteArray in(3000, Qt::Uninitialized);
    for (int i = 0; i < in.size(); ++i)
        in[i] = char(i * 7);
    QVERIFY(m_pty->write(in));
    QVERIFY(waitForBytes(arrived, in.size()));
    QCOMPARE(spiedBytes(arrived), in);

    proxy.close();
    QVERIFY(!proxy.isOpen());
    QVERIFY(proxy.channelProfile().isEmpty());
    // A serial port that opens and closes normally says nothing about its state.
    QCOMPARE(state.count(), 0);
}

void TestSerialPortChannel::queuedWriteKeepsTheBytesOfItsMoment()
{
    ChannelProxy proxy;
    QVERIFY(proxy.open(serialParams(m_pty->slavePath())));
    QByteArray expected;
    {
        QByteArray scratch;
        for (int i = 0; i < 50; ++i) {
            scratch = QByteArray(64, char('A' + i % 26));
            expected += scratch;
            proxy.write(scratch.constData(), scratch.size());
            scratch.fill('#'); // the caller reuses its buffer at once
        }
    }
    QCOMPARE(m_pty->read(expected.size(), 5000), expected);
}

void TestSerialPortChannel::writesAfterCloseAreDropped()
{
    ChannelProxy proxy;
    QSignalSpy written(&proxy, &ChannelProxy::bytesWritten);
    QVERIFY(proxy.write("abc", 3)); // no channel: true, nothing happens
    QVERIFY(proxy.open(serialParams(m_pty->slavePath())));
    emit proxy.sigClose(); // closes the port but keeps the channel
    QVERIFY(!proxy.isOpen());
    QVERIFY(proxy.write("abc", 3));
    QVERIFY(proxy.write(nullptr, 3));
    QVERIFY(proxy.write("abc", -1));
    QTest::qWait(100);
    QCOMPARE(written.count(), 0);
    QVERIFY(m_pty->drain(50).isEmpty());
}

void TestSerialPortChannel::profileShowsThePortSettings_data()
{
    QTest::addColumn<int>("baud");
    QTest::addColumn<int>("dataBits");
    QTest::addColumn<int>("stopBits");
    QTest::addColumn<int>("parity");
    QTest::addColumn<QString>("tail");
    QTest::newRow("9600 8N1") << 9600 << 8 << 1 << 0 << QStringLiteral(",9600,8,1,N");
    QTest::newRow("one and a half, mark") << 115200 << 7 << 3 << 5 << QStringLiteral(",115200,7,1.5,M");
    QTest::newRow("two, even") << 19200 << 5 << 2 << 2 << QStringLiteral(",19200,5,2,E");
    QTest::newRow("odd") << 38400 << 6 << 1 << 3 << QStringLiteral(",38400,6,1,O");
    QTest::newRow("space") << 57600 << 8 << 2 << 4 << QStringLiteral(",57600,8,2,S");
}

void TestSerialPortChannel::profileShowsThePortSettings()
{
    QFETCH(int, baud);
    QFETCH(int, dataBits);
    QFETCH(int, stopBits);
    QFETCH(int, parity);
    QFETCH(QString, tail);
    SerialChannelParams p = serialParams(m_pty->slavePath());
    p.baudRate = baud;
    p.dataBits = dataBits;
    p.stopBits = stopBits;
    p.parity = parity;
    ChannelProxy proxy;
    // Some settings are not supported by every terminal; the profile tells the
    // configured settings whether or not the port opened.
    proxy.open(p);
    QCOMPARE(proxy.channelProfile(), m_pty->slavePath() + tail);
}

void TestSerialPortChannel::secondOpenKeepsOneReadConnection()
{
    ChannelProxy proxy;
    QSignalSpy arrived(&proxy, &ChannelProxy::bytesArrived);
    QVERIFY(proxy.open(serialParams(m_pty->slavePath())));
    emit proxy.sigOpen();
    QVERIFY(proxy.isOpen());

    QVERIFY(m_pty->write("ping"));
    QVERIFY(waitForBytes(arrived, 4));
    QTest::qWait(100);
    QCOMPARE(spiedBytes(arrived), QByteArray("ping"));
}

void TestSerialPortChannel::reopeningReleasesThePreviousPort()
{
    PseudoTerminal other;
    QVERIFY(other.isValid());
    ChannelProxy proxy;
    QVERIFY(proxy.open(serialParams(m_pty->slavePath())));
    QVERIFY(proxy.open(serialParams(other.slavePath())));
    QCOMPARE(proxy.channelProfile(), other.slavePath() + QStringLiteral(",115200,8,1,N"));
    // The first port was closed: it opens again (ports are opened exclusively).
    QVERIFY(proxy.open(serialParams(m_pty->slavePath())));
    QVERIFY(proxy.write("z", 1));
    QCOMPARE(m_pty->read(1, 3000), QByteArray("z"));
    QVERIFY(other.drain(50).isEmpty());
}

void TestSerialPortChannel::missingPortFailsAndStaysCurrent()
{
    ChannelProxy proxy;
    QSignalSpy state(&proxy, &ChannelProxy::stateChanged);
    QVERIFY(!proxy.open(serialParams(QStringLiteral("/dev/dorvane-no-such-port"))));
    QVERIFY(!proxy.isOpen());
    QVERIFY(!proxy.channelProfile().isEmpty());
    QVERIFY(!proxy.open(serialParams(QStringLiteral("ttyDorvaneNoSuchPort"))));
    QVERIFY(proxy.channelProfile().startsWith(QStringLiteral("ttyDorvaneNoSuchPort,")));
    proxy.close();
    QVERIFY(proxy.channelProfile().isEmpty());
    QCOMPARE(state.count(), 0);
}

void TestSerialPortChannel::recordsThatDoNotFitAreRefused()
{
    ChannelProxy proxy;
    ChannelParams bare;
    bare.type = SerialPort;
    QVERIFY(!proxy.open(bare));
    NetChannelParams net(SerialPort);
    QVERIFY(!proxy.open(net));

    SerialChannelParams unknown = serialParams(m_pty->slavePath());
    unknown.type = static_cast<ChannelType>(4);
    QVERIFY(!proxy.open(unknown));

    const auto refused = [&](void (*spoil)(SerialChannelParams &)) {
        SerialChannelParams p = serialParams(m_pty->slavePath());
        spoil(p);
        return !proxy.open(p) && proxy.channelProfile().isEmpty();
    };
    QVERIFY(refused([](SerialChannelParams &p) { p.dataBits = 9; }));
    QVERIFY(refused([](SerialChannelParams &p) { p.stopBits = 0; }));
    QVERIFY(refused([](SerialChannelParams &p) { p.parity = 1; }));
    QVERIFY(refused([](SerialChannelParams &p) { p.baudRate = 0; }));

    QVERIFY(!proxy.isOpen());
    QVERIFY(!proxy.isPeriodSendRun());
    QVERIFY(proxy.channelProfile().isEmpty());
}

void TestSerialPortChannel::lostDeviceClosesTheChannel()
{
    ChannelProxy proxy;
    QSignalSpy state(&proxy, &ChannelProxy::stateChanged);
    QSignalSpy error(&proxy, &ChannelProxy::channelError);
    QVERIFY(proxy.open(serialParams(m_pty->slavePath())));

    m_pty->closeMaster();
    QVERIFY(state.wait(3000));
    QCOMPARE(state.count(), 1);
    QCOMPARE(state.at(0).at(0).value<ChannelType>(), SerialPort);
    QCOMPARE(state.at(0).at(1).value<ChanneState>(), Closed);
    QVERIFY(!proxy.isOpen());
    QTRY_COMPARE(error.count(), 1);
    // The user reads which port went away; the system's words follow.
    const QString message = error.at(0).at(0).toString();
    QVERIFY2(message.startsWith(m_pty->slavePath() + QStringLiteral(" was disconnected (")),
             qPrintable(message));
    QVERIFY2(message.size() > m_pty->slavePath().size() + 22, qPrintable(message));

    QSignalSpy written(&proxy, &ChannelProxy::bytesWritten);
    QVERIFY(proxy.write("x", 1));
    proxy.close();
    QCOMPARE(written.count(), 0);
    QCOMPARE(state.count(), 1);
}

QTEST_GUILESS_MAIN(TestSerialPortChannel)
#include "tst_serialportchannel.moc"
