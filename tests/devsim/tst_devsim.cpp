// dorvane-devsim's four modes against the workbench's own ChannelProxy, on a
// pseudo-terminal, a TCP connection and a UDP socket; its telemetry read
// with the sample receive protocol and the core's frame parser.
#include "devsimprocess.h"

#include "modbusslave.h"
#include "telemetryframe.h"

#include <dorvane/Channel.h>
#include <dorvane/Core.h>

#include <QFileInfo>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

#include <cmath>
#include <cstring>

namespace {

SerialChannelParams serialParams(const QString &path)
{
    SerialChannelParams p;
    p.portName = path;
    p.baudRate = 9600;
    return p;
}

NetChannelParams tcpClientParams(quint16 port)
{
    NetChannelParams p(TcpClient);
    p.remoteAddress = QStringLiteral("127.0.0.1");
    p.remotePort = port;
    return p;
}

NetChannelParams udpParams(quint16 port)
{
    NetChannelParams p(Udp);
    p.localAddress = QStringLiteral("127.0.0.1");
    p.localPort = 0;
    p.remoteAddress = QStringLiteral("127.0.0.1");
    p.remotePort = port;
    return p;
}

// The bytes that arrive at the proxy until `count` have come or the time is up.
class Arrivals
{
public:
    explicit Arrivals(ChannelProxy &proxy)
        : m_spy(&proxy, &ChannelProxy::bytesArrived)
    {
    }

    QByteArray take(int count, int timeoutMs = 2000)
    {
        QElapsedTimer clock;
        clock.start();
        while (collected().size() < count && clock.elapsed() < timeoutMs)
            m_spy.wait(20);
        const QByteArray bytes = collected().left(count);
        m_bytes = collected().mid(count);
        m_spy.clear();
        return bytes;
    }

    // Whatever comes within the time.
    QByteArray drain(int timeoutMs)
    {
        QElapsedTimer clock;
        clock.start();
        while (clock.elapsed() < timeoutMs)
            m_spy.wait(20);
        const QByteArray bytes = collected();
        m_bytes.clear();
        m_spy.clear();
        return bytes;
    }

private:
    QByteArray collected()
    {
        QByteArray all = m_bytes;
        for (const QList<QVariant> &args : qAsConst(m_spy))
            all.append(args.at(1).toByteArray());
        m_bytes = all;
        m_spy.clear();
        return all;
    }

    QSignalSpy m_spy;
    QByteArray m_bytes;
};

QByteArray hex(const char *text)
{
    return QByteArray::fromHex(text);
}

} // namespace

class DevSimTest : public QObject
{
    Q_OBJECT

private slots:
    void echoOnPseudoTerminalAndCleanStop();
    void modbusSlaveOnPseudoTerminal();
    void modbusSlaveOverTcp();
    void replyOverUdpAfterDelay();
    void telemetryReadsWithTheSampleProtocol();
    void badArgumentsAreRefused();
};

void DevSimTest::echoOnPseudoTerminalAndCleanStop()
{
    QTemporaryDir dir;
    const QString link = dir.filePath(QStringLiteral("device"));
    DevSimProcess sim;
    QVERIFY2(sim.start({QStringLiteral("--mode"), QStringLiteral("echo"), QStringLiteral("--link"), link}, 1),
             qPrintable(sim.errors()));
    QCOMPARE(QFileInfo(link).symLinkTarget(), sim.ptyPath());

    ChannelProxy proxy;
    Arrivals arrivals(proxy);
    QVERIFY(proxy.open(serialParams(link)));
    const QByteArray bytes = hex("00 ff 0d 0a 11 13 03 7f") + QByteArray("hello");
    proxy.write(bytes.constData(), bytes.size());
    // Raw both ways: control characters and CR LF come back untouched.
    QCOMPARE(arrivals.take(bytes.size()), bytes);

    // The workbench closing and reopening the port does not end the device.
    proxy.close();
    QVERIFY(proxy.open(serialParams(sim.ptyPath())));
    proxy.write("again", 5);
    QCOMPARE(arrivals.take(5), QByteArray("again"));
    proxy.close();

    const QRegularExpression line(
        QStringLiteral("^\\d\\d:\\d\\d:\\d\\d\\.\\d{6} pty \\S+ RX 13: 00 FF 0D 0A"),
        QRegularExpression::MultilineOption);
    QVERIFY2(line.match(sim.output()).hasMatch(), qPrintable(sim.output()));
    QCOMPARE(sim.terminate(), 0);
    QVERIFY2(!QFileInfo(link).isSymLink(), "the link outlived the device");
}

void DevSimTest::modbusSlaveOnPseudoTerminal()
{
    DevSimProcess sim;
    QVERIFY2(sim.start({QStringLiteral("--mode"), QStringLiteral("modbus")}, 1), qPrintable(sim.errors()));
    ChannelProxy proxy;
    Arrivals arrivals(proxy);
    QVERIFY(proxy.open(serialParams(sim.ptyPath())));

    struct Case
    {
        const char *request;
        const char *answer;
    };
    const Case cases[] = {
        // The README's walk-through, byte for byte.
        {"01 03 00 00 00 02 C4 0B", "01 03 04 12 34 56 78 81 07"},
        // A write is answered with its request, and the register holds it.
        {"01 06 00 01 BE EF E8 26", "01 06 00 01 BE EF E8 26"},
        {"01 03 00 01 00 01 D5 CA", "01 03 02 BE EF 00 00"},
        // Registers 99 and 100 of 100: illegal data address.
        {"01 03 00 63 00 02 34 15", "01 83 02 C0 F1"},
        // Function 4 is not served: illegal function.
        {"01 04 00 00 00 02 71 CB", "01 84 01 82 C0"},
    };
    for (const Case &c : cases) {
        const QByteArray request = hex(c.request);
        QByteArray expected = hex(c.answer);
        if (expected.endsWith(QByteArray(2, '\0')))
            expected = ModbusSlave::withCrc(expected.left(expected.size() - 2));
        proxy.write(request.constData(), request.size());
        QCOMPARE(arrivals.take(expected.size()).toHex(' '), expected.toHex(' '));
    }

    // Silence for a wrong CRC, another unit, a broadcast; the broadcast write still counts.
    for (const char *silent : {"01 03 00 00 00 02 C4 0C", "02 03 00 00 00 02 C4 38"}) {
        const QByteArray request = hex(silent);
        proxy.write(request.constData(), request.size());
    }
    const QByteArray broadcast = ModbusSlave::withCrc(hex("00 06 00 00 00 2A"));
    proxy.write(broadcast.constData(), broadcast.size());
    QCOMPARE(arrivals.drain(300).toHex(' '), QByteArray());
    const QByteArray read = hex("01 03 00 00 00 01 84 0A");
    proxy.write(read.constData(), read.size());
    QCOMPARE(arrivals.take(7).toHex(' '), ModbusSlave::withCrc(hex("01 03 02 00 2A")).toHex(' '));
    proxy.close();
    QCOMPARE(sim.terminate(), 0);
}

void DevSimTest::modbusSlaveOverTcp()
{
    DevSimProcess sim;
    QVERIFY2(sim.start({QStringLiteral("--mode"), QStringLiteral("modbus"), QStringLiteral("--tcp"),
                        QStringLiteral("0"), QStringLiteral("--registers"), QStringLiteral("7,8,9")},
                       1),
             qPrintable(sim.errors()));
    ChannelProxy proxy;
    Arrivals arrivals(proxy);
    // The connection completes after open returns.
    proxy.open(tcpClientParams(sim.tcpPort()));
    QTRY_VERIFY(proxy.isOpen());
    // Two requests in one write, and one split over two writes.
    const QByteArray first = ModbusSlave::withCrc(hex("01 03 00 00 00 03"));
    const QByteArray second = ModbusSlave::withCrc(hex("01 03 00 02 00 01"));
    const QByteArray both = first + second;
    proxy.write(both.constData(), both.size());
    QCOMPARE(arrivals.take(11 + 7).toHex(' '), (ModbusSlave::withCrc(hex("01 03 06 00 07 00 08 00 09"))
                                                + ModbusSlave::withCrc(hex("01 03 02 00 09")))
                                                   .toHex(' '));
    // Split for longer than the line's silence, as a TCP segment may be.
    proxy.write(first.constData(), 3);
    QTest::qWait(60);
    proxy.write(first.constData() + 3, first.size() - 3);
    const QByteArray joined = arrivals.take(11);
    QVERIFY2(!joined.isEmpty(), qPrintable(sim.output()));
    QCOMPARE(joined.toHex(' '), ModbusSlave::withCrc(hex("01 03 06 00 07 00 08 00 09")).toHex(' '));
    proxy.close();
    QCOMPARE(sim.terminate(), 0);
}

void DevSimTest::replyOverUdpAfterDelay()
{
    DevSimProcess sim;
    QVERIFY2(sim.start({QStringLiteral("--mode"), QStringLiteral("reply"), QStringLiteral("--udp"),
                        QStringLiteral("0"), QStringLiteral("--request"), QStringLiteral("A1 B2"),
                        QStringLiteral("--response"), QStringLiteral("C3 D4 E5"), QStringLiteral("--request"),
                        QStringLiteral("50494E47"), QStringLiteral("--response"),
                        QStringLiteral("50 4F 4E 47"), QStringLiteral("--delay"), QStringLiteral("150")},
                       1),
             qPrintable(sim.errors()));
    ChannelProxy proxy;
    Arrivals arrivals(proxy);
    QVERIFY(proxy.open(udpParams(sim.udpPort())));
    QElapsedTimer clock;
    clock.start();
    proxy.write("\xA1\xB2", 2);
    QCOMPARE(arrivals.take(3).toHex(' '), QByteArray("c3 d4 e5"));
    QVERIFY2(clock.elapsed() >= 140, qPrintable(QString::number(clock.elapsed())));
    // A request among other bytes; bytes that match nothing get no answer.
    proxy.write("xxPINGyy", 8);
    QCOMPARE(arrivals.take(4), QByteArray("PONG"));
    proxy.write("nothing", 7);
    QCOMPARE(arrivals.drain(300), QByteArray());
    proxy.close();
    QCOMPARE(sim.terminate(), 0);
}

namespace {

// Frames and counter gaps of a telemetry stream cut by the parser; every
// decoded value is checked against the frame's definition on the way.
struct TelemetryCheck
{
    int frames = 0;
    int gaps = 0;
    int leftOver = 0;
    QString fault;
};

TelemetryCheck checkTelemetry(ProtocolParser &parser, QByteArray stream)
{
    TelemetryCheck check;
    int previous = -1;
    for (;;) {
        const ProtocolParser::PRResult result = parser.Update(stream.constData(), stream.size(), false);
        if (result.status != ProtocolParser::FrameDecoded)
            break;
        const std::vector<FrameValue> &values = parser.GetFrameValues();
        const int counter = values.at(0).value.GetUShort();
        const float sine = values.at(1).value.GetFloat();
        const float ramp = values.at(2).value.GetFloat();
        const int sum = values.at(3).value.GetUChar();
        const double phase = double(counter % 100) / 100.0;
        // The sum byte covers the counter, sine and ramp bytes as sent.
        const int expectedSum = telemetrySum(stream.constData() + result.headOffset + 2, 10);
        if (sine != float(100.0 * std::sin(2.0 * M_PI * phase)) || ramp != float(100.0 * phase)
            || sum != expectedSum || counter <= previous || values.at(1).graphId != 0
            || values.at(2).graphId != 1) {
            check.fault = QStringLiteral("frame %1: counter %2 sine %3 ramp %4 sum %5 (%6)")
                              .arg(check.frames)
                              .arg(counter)
                              .arg(sine)
                              .arg(ramp)
                              .arg(sum)
                              .arg(expectedSum);
            return check;
        }
        if (previous >= 0)
            check.gaps += counter - previous - 1;
        previous = counter;
        ++check.frames;
        stream.remove(0, result.frameEnd);
    }
    check.leftOver = stream.size();
    return check;
}

} // namespace

void DevSimTest::telemetryReadsWithTheSampleProtocol()
{
    Context context;
    context.Initialize();
    RxProtocol protocol;
    QVERIFY(protocol.Load(DORVANE_SAMPLES_DIR "/devsim-telemetry.dvprx", &context));
    ProtocolParser parser;
    QVERIFY(parser.Build(&protocol));
    QCOMPARE(parser.GetFrameSize(), TelemetryFrameSize);

    // Garbage before a fifth of the frames and one in twenty frames left out.
    DevSimProcess sim;
    QVERIFY2(sim.start({QStringLiteral("--mode"), QStringLiteral("telemetry"), QStringLiteral("--rate"),
                        QStringLiteral("2000"), QStringLiteral("--garbage"), QStringLiteral("20"),
                        QStringLiteral("--drop"), QStringLiteral("5"), QStringLiteral("--tcp"),
                        QStringLiteral("0"), QStringLiteral("--udp"), QStringLiteral("0")},
                       2),
             qPrintable(sim.errors()));

    ChannelProxy tcp;
    Arrivals tcpArrivals(tcp);
    // The connection completes after open returns.
    tcp.open(tcpClientParams(sim.tcpPort()));
    QTRY_VERIFY(tcp.isOpen());
    const TelemetryCheck overTcp = checkTelemetry(parser, tcpArrivals.drain(600));
    tcp.close();
    QVERIFY2(overTcp.fault.isEmpty(), qPrintable(overTcp.fault));
    QVERIFY2(overTcp.frames > 400, qPrintable(QString::number(overTcp.frames)));
    QVERIFY2(overTcp.gaps > 0 && overTcp.gaps < overTcp.frames / 5,
             qPrintable(QStringLiteral("%1 gaps in %2").arg(overTcp.gaps).arg(overTcp.frames)));
    QVERIFY2(overTcp.leftOver < 2 * TelemetryFrameSize + 8, "bytes left that are not frames");

    // Over UDP the frames go to a peer once it has said something.
    ChannelProxy udp;
    Arrivals udpArrivals(udp);
    QVERIFY(udp.open(udpParams(sim.udpPort())));
    udp.write("hi", 2);
    const TelemetryCheck overUdp = checkTelemetry(parser, udpArrivals.drain(400));
    udp.close();
    QVERIFY2(overUdp.fault.isEmpty(), qPrintable(overUdp.fault));
    QVERIFY2(overUdp.frames > 200, qPrintable(QString::number(overUdp.frames)));
    QCOMPARE(sim.terminate(), 0);
}

void DevSimTest::badArgumentsAreRefused()
{
    const QList<QStringList> lines = {
        {QStringLiteral("--mode"), QStringLiteral("plot")},
        {QStringLiteral("--mode"), QStringLiteral("telemetry"), QStringLiteral("--rate"),
         QStringLiteral("10001")},
        {QStringLiteral("--mode"), QStringLiteral("reply"), QStringLiteral("--request"),
         QStringLiteral("0G")},
        {QStringLiteral("--mode"), QStringLiteral("reply")},
        {QStringLiteral("--tcp"), QStringLiteral("70000")},
    };
    for (const QStringList &arguments : lines) {
        QProcess process;
        process.start(QStringLiteral(DORVANE_DEVSIM), arguments);
        QVERIFY(process.waitForFinished(5000));
        QCOMPARE(process.exitCode(), 2);
        QVERIFY(process.readAllStandardError().contains("--help"));
    }
    QProcess help;
    help.start(QStringLiteral(DORVANE_DEVSIM), {QStringLiteral("--help")});
    QVERIFY(help.waitForFinished(5000));
    QCOMPARE(help.exitCode(), 0);
    QVERIFY(help.readAllStandardOutput().contains("telemetry"));
}

QTEST_GUILESS_MAIN(DevSimTest)
#include "tst_devsim.moc"
