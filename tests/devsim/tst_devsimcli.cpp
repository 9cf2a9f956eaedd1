// dorvane-devsim's four modes against the built dorvane-cli, both real
// processes, over a pseudo-terminal, TCP and UDP on 127.0.0.1: what the one
// sends the other must answer byte for byte.
#include "devsimprocess.h"

#include <QtTest>

#include <QUdpSocket>

#include <cmath>
#include <cstring>

namespace {

struct CliResult
{
    int exitCode = -1;
    QByteArray out;
    QByteArray err;
};

CliResult runCli(const QStringList &arguments, int limitMs = 15000)
{
    QProcess process;
    process.start(QStringLiteral(DORVANE_CLI_PROGRAM), arguments);
    CliResult r;
    if (!process.waitForFinished(limitMs)) {
        process.kill();
        process.waitForFinished();
        r.err = "did not end within the test's limit";
        return r;
    }
    r.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    r.out = process.readAllStandardOutput();
    r.err = process.readAllStandardError();
    return r;
}

QByteArray describe(const CliResult &r)
{
    return "exit " + QByteArray::number(r.exitCode) + ", stdout [" + r.out + "], stderr [" + r.err + "]";
}

quint16 freeUdpPort()
{
    QUdpSocket probe;
    probe.bind(QHostAddress(QHostAddress::LocalHost), 0);
    return probe.localPort();
}

// Written out here rather than taken from the catalogue the programs share,
// so a fault there cannot hide on both sides.
QByteArray modbusCrc(const QByteArray &frame)
{
    quint16 crc = 0xFFFF;
    for (char c : frame) {
        crc ^= quint8(c);
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc & 1) ? quint16((crc >> 1) ^ 0xA001) : quint16(crc >> 1);
    }
    return QByteArray(1, char(crc & 0xFF)) + char(crc >> 8);
}

QString spaced(const QByteArray &bytes)
{
    return QString::fromLatin1(bytes.toHex(' ').toUpper());
}

// The channel options of dorvane-cli for each transport a device plays on.
struct Transport
{
    const char *name;
    QStringList channel;
    QString deviceLabel; // how the device names the peer in its traffic lines
};

QList<Transport> transports(DevSimProcess &device)
{
    return {{"pty",
             {QStringLiteral("--serial"), device.ptyPath(), QStringLiteral("--baud"), QStringLiteral("9600")},
             QStringLiteral("pty ")},
            {"tcp",
             {QStringLiteral("--tcp"), QStringLiteral("127.0.0.1:%1").arg(device.tcpPort())},
             QStringLiteral("tcp ")},
            {"udp",
             {QStringLiteral("--udp"), QStringLiteral("127.0.0.1:%1").arg(freeUdpPort()),
              QStringLiteral("--to"), QStringLiteral("127.0.0.1:%1").arg(device.udpPort())},
             QStringLiteral("udp ")}};
}

const QStringList EveryTransport{QStringLiteral("--pty"), QStringLiteral("--tcp"), QStringLiteral("0"),
                                 QStringLiteral("--udp"), QStringLiteral("0")};

// Waits until the device has printed a line that matches, and returns all it
// printed.
QString trafficWith(DevSimProcess &device, const QString &pattern)
{
    const QRegularExpression re(pattern, QRegularExpression::MultilineOption);
    QElapsedTimer clock;
    clock.start();
    QString traffic = device.output();
    while (!re.match(traffic).hasMatch() && clock.elapsed() < 3000) {
        QTest::qWait(20);
        traffic = device.output();
    }
    return traffic;
}

QString samplePath(const char *name)
{
    return QStringLiteral(DORVANE_SAMPLES_DIR "/") + QLatin1String(name);
}

} // namespace

class DevSimCliTest : public QObject
{
    Q_OBJECT

private slots:
    void echoReturnsWhatTheCliSendsOnEveryTransport();
    void modbusSlaveAnswersTheReadmeRequestByteForByte();
    void modbusSamplesWriteThenReadBackTheRegister();
    void telemetryFramesDecodeConsistentlyWithTheSampleProtocol();
    void replyComesAfterItsDelayAndOnlyForItsRequest();
};

void DevSimCliTest::echoReturnsWhatTheCliSendsOnEveryTransport()
{
    DevSimProcess device;
    QVERIFY2(device.start(QStringList{QStringLiteral("--mode"), QStringLiteral("echo")} + EveryTransport, 3),
             qPrintable(device.errors()));
    // A zero byte and a line end must pass untouched through the raw line.
    const QString bytes = QStringLiteral("DE AD BE EF 00 0D 0A 11 13");
    for (const Transport &t : transports(device)) {
        const CliResult r
            = runCli(t.channel
                     + QStringList{QStringLiteral("--hex"), bytes, QStringLiteral("--expect-hex"), bytes,
                                   QStringLiteral("--timeout"), QStringLiteral("3000")});
        QVERIFY2(r.exitCode == 0, t.name + QByteArray(": ") + describe(r));
    }
    for (const char *kind : {"pty ", "tcp ", "udp "}) {
        const QString line = QLatin1String(kind) + QStringLiteral("\\S+ RX 9: ") + bytes + QLatin1Char('$');
        const QString traffic = trafficWith(device, line);
        QVERIFY2(QRegularExpression(line, QRegularExpression::MultilineOption).match(traffic).hasMatch(),
                 qPrintable(kind + traffic));
    }
    QCOMPARE(device.terminate(), 0);
}

void DevSimCliTest::modbusSlaveAnswersTheReadmeRequestByteForByte()
{
    DevSimProcess device;
    QVERIFY2(
        device.start(QStringList{QStringLiteral("--mode"), QStringLiteral("modbus")} + EveryTransport, 3),
        qPrintable(device.errors()));
    for (const Transport &t : transports(device)) {
        const CliResult r = runCli(t.channel
                                   + QStringList{QStringLiteral("--hex"), QStringLiteral("01 03 00 00 00 02"),
                                                 QStringLiteral("--crc"), QStringLiteral("CRC_16_MODBUS"),
                                                 QStringLiteral("--expect-hex"),
                                                 QStringLiteral("01 03 04 12 34 56 78 81 07"),
                                                 QStringLiteral("--timeout"), QStringLiteral("3000")});
        QVERIFY2(r.exitCode == 0, t.name + QByteArray(": ") + describe(r));
        QVERIFY2(r.out.contains(" RX 01 03 04 12 34 56 78 81 07"), t.name + QByteArray(": ") + r.out);
    }
    // The request arrived as the README prints it, CRC included, on each.
    for (const char *kind : {"pty ", "tcp ", "udp "}) {
        for (const char *line : {" RX 8: 01 03 00 00 00 02 C4 0B", " TX 9: 01 03 04 12 34 56 78 81 07"}) {
            const QString pattern
                = QLatin1String(kind) + QStringLiteral("\\S+") + QLatin1String(line) + QLatin1Char('$');
            const QString traffic = trafficWith(device, pattern);
            QVERIFY2(
                QRegularExpression(pattern, QRegularExpression::MultilineOption).match(traffic).hasMatch(),
                qPrintable(kind + QLatin1String(line) + QLatin1Char('\n') + traffic));
        }
    }

    // A frame whose CRC is wrong is ignored, as on a bus: the run times out.
    const Transport tcp = transports(device).at(1);
    const CliResult ignored
        = runCli(tcp.channel
                 + QStringList{QStringLiteral("--hex"), QStringLiteral("01 03 00 00 00 02 C4 0C"),
                               QStringLiteral("--expect-hex"), QStringLiteral("01"),
                               QStringLiteral("--timeout"), QStringLiteral("400")});
    QVERIFY2(ignored.exitCode == 1, describe(ignored));
    QCOMPARE(device.terminate(), 0);
}

void DevSimCliTest::modbusSamplesWriteThenReadBackTheRegister()
{
    DevSimProcess device;
    QVERIFY2(device.start({QStringLiteral("--mode"), QStringLiteral("modbus"), QStringLiteral("--tcp"),
                           QStringLiteral("0"), QStringLiteral("--quiet")},
                          1),
             qPrintable(device.errors()));
    const QStringList tcp{QStringLiteral("--tcp"), QStringLiteral("127.0.0.1:%1").arg(device.tcpPort())};

    // The set reads registers 0-1, writes 0xBEEF into register 1 and reads
    // register 1 again: the last answer holds the new value.
    const QByteArray readBack = QByteArray::fromHex("010302BEEF");
    const CliResult set
        = runCli(tcp
                 + QStringList{QStringLiteral("--set"), samplePath("devsim-modbus.dvpts"),
                               QStringLiteral("--interval"), QStringLiteral("50"),
                               QStringLiteral("--expect-hex"), spaced(readBack + modbusCrc(readBack)),
                               QStringLiteral("--timeout"), QStringLiteral("3000")});
    QVERIFY2(set.exitCode == 0, describe(set));
    const QByteArray written = QByteArray::fromHex("01060001BEEF");
    QVERIFY2(set.out.contains(" RX " + spaced(written + modbusCrc(written)).toLatin1()), set.out);

    // The value stays in the slave for the next client, here column 1 of the
    // read protocol alone.
    const CliResult read
        = runCli(tcp
                 + QStringList{QStringLiteral("--protocol"), samplePath("devsim-modbus-read.dvptc"),
                               QStringLiteral("--column"), QStringLiteral("1"),
                               QStringLiteral("--expect-hex"), spaced(readBack + modbusCrc(readBack)),
                               QStringLiteral("--timeout"), QStringLiteral("3000")});
    QVERIFY2(read.exitCode == 0, describe(read));
    QCOMPARE(device.terminate(), 0);
}

void DevSimCliTest::telemetryFramesDecodeConsistentlyWithTheSampleProtocol()
{
    const quint16 cliPort = freeUdpPort();
    DevSimProcess device;
    // Garbage before a fifth of the frames: the parser must resynchronise at
    // the head without inventing or losing a frame.
    QVERIFY2(device.start(
                 QStringList{QStringLiteral("--mode"), QStringLiteral("telemetry"), QStringLiteral("--rate"),
                             QStringLiteral("200"), QStringLiteral("--garbage"), QStringLiteral("20"),
                             QStringLiteral("--seed"), QStringLiteral("7"), QStringLiteral("--quiet"),
                             QStringLiteral("--udp-peer"), QString::number(cliPort)}
                     + EveryTransport,
                 3),
             qPrintable(device.errors()));
    QList<Transport> all = transports(device);
    all[2].channel[1] = QStringLiteral("127.0.0.1:%1").arg(cliPort);

    for (const Transport &t : all) {
        const CliResult r
            = runCli(t.channel
                     + QStringList{QStringLiteral("--expect-frames"), samplePath("devsim-telemetry.dvprx"),
                                   QStringLiteral("--frames"), QStringLiteral("60"),
                                   QStringLiteral("--timeout"), QStringLiteral("5000")});
        QVERIFY2(r.exitCode == 0, t.name + QByteArray(": ") + describe(r));

        // Each frame prints counter (-1), sine (0), ramp (1), sum (-1) with
        // one time stamp.
        const QList<QByteArray> lines = r.out.trimmed().split('\n');
        QVERIFY2(lines.size() >= 60 * 4, t.name + QByteArray(": ") + r.out);
        int previousCounter = -1;
        for (int i = 0; i + 3 < lines.size(); i += 4) {
            double values[4];
            for (int k = 0; k < 4; ++k) {
                const QList<QByteArray> cells = lines.at(i + k).split(',');
                QCOMPARE(cells.size(), 3);
                QCOMPARE(cells.at(0), lines.at(i).split(',').at(0));
                QCOMPARE(cells.at(1).toInt(), k == 1 ? 0 : k == 2 ? 1 : -1);
                values[k] = cells.at(2).toDouble();
            }
            const int counter = int(values[0]);
            const float sine = float(values[1]);
            const float ramp = float(values[2]);
            // Garbage never drops a frame: counters follow one another.
            if (previousCounter >= 0)
                QCOMPARE(counter, (previousCounter + 1) % 65536);
            previousCounter = counter;
            QVERIFY2(ramp >= 0 && ramp < 100 && ramp == std::floor(ramp), qPrintable(QString::number(ramp)));
            QVERIFY2(std::fabs(sine - 100 * std::sin(2 * M_PI * ramp / 100)) < 1e-3,
                     qPrintable(QStringLiteral("%1 %2").arg(sine).arg(ramp)));
            // The sum covers the counter's and both floats' bytes as sent.
            unsigned sum = (counter & 0xFF) + (counter >> 8);
            for (float f : {sine, ramp}) {
                unsigned char raw[4];
                std::memcpy(raw, &f, 4);
                for (unsigned char b : raw)
                    sum += b;
            }
            QCOMPARE(int(values[3]), int(sum & 0xFF));
        }
    }
    QCOMPARE(device.terminate(), 0);
}

void DevSimCliTest::replyComesAfterItsDelayAndOnlyForItsRequest()
{
    DevSimProcess device;
    QVERIFY2(device.start(QStringList{QStringLiteral("--mode"), QStringLiteral("reply"),
                                      QStringLiteral("--request"), QStringLiteral("AA 01"),
                                      QStringLiteral("--response"), QStringLiteral("BB 02 03"),
                                      QStringLiteral("--request"), QStringLiteral("AA 02"),
                                      QStringLiteral("--response"), QStringLiteral("CC"),
                                      QStringLiteral("--delay"), QStringLiteral("150")}
                              + EveryTransport,
                          3),
             qPrintable(device.errors()));
    for (const Transport &t : transports(device)) {
        // The request sits behind a stray byte.
        const CliResult r = runCli(t.channel
                                   + QStringList{QStringLiteral("--hex"), QStringLiteral("00 AA 01"),
                                                 QStringLiteral("--expect-hex"), QStringLiteral("BB 02 03"),
                                                 QStringLiteral("--timeout"), QStringLiteral("3000")});
        QVERIFY2(r.exitCode == 0, t.name + QByteArray(": ") + describe(r));
        // By the device's own stamps the answer leaves the delay after the
        // last piece of the request came in.
        const QString answer = t.deviceLabel + QStringLiteral("\\S+ TX 3: BB 02 03$");
        const QString traffic = trafficWith(device, answer);
        const QRegularExpression line(QStringLiteral("^(\\d\\d):(\\d\\d):(\\d\\d)\\.(\\d{6}) ")
                                          + t.deviceLabel + QStringLiteral("\\S+ (RX|TX) \\d+: (.*)$"),
                                      QRegularExpression::MultilineOption);
        qint64 requestUs = -1;
        qint64 answerUs = -1;
        for (auto it = line.globalMatch(traffic); it.hasNext() && answerUs < 0;) {
            const QRegularExpressionMatch m = it.next();
            const qint64 us = ((m.captured(1).toLongLong() * 60 + m.captured(2).toLongLong()) * 60
                               + m.captured(3).toLongLong())
                                  * 1000000
                              + m.captured(4).toLongLong();
            if (m.captured(5) == QLatin1String("RX"))
                requestUs = us;
            else if (m.captured(6) == QLatin1String("BB 02 03"))
                answerUs = us;
        }
        QVERIFY2(requestUs > 0 && answerUs > 0, qPrintable(traffic));
        QVERIFY2(
            answerUs - requestUs >= 150000 && answerUs - requestUs < 1000000,
            qPrintable(QStringLiteral("%1: %2 us").arg(QLatin1String(t.name)).arg(answerUs - requestUs)));

        const CliResult second = runCli(t.channel
                                        + QStringList{QStringLiteral("--hex"), QStringLiteral("AA 02"),
                                                      QStringLiteral("--expect-hex"), QStringLiteral("CC"),
                                                      QStringLiteral("--timeout"), QStringLiteral("3000")});
        QVERIFY2(second.exitCode == 0, t.name + QByteArray(": ") + describe(second));
        // A request it does not know gets nothing.
        const CliResult unknown = runCli(t.channel
                                         + QStringList{QStringLiteral("--hex"), QStringLiteral("AA 03"),
                                                       QStringLiteral("--expect-hex"), QStringLiteral("??"),
                                                       QStringLiteral("--timeout"), QStringLiteral("500")});
        QVERIFY2(unknown.exitCode == 1, t.name + QByteArray(": ") + describe(unknown));
    }
    QCOMPARE(device.terminate(), 0);
}

QTEST_GUILESS_MAIN(DevSimCliTest)
#include "tst_devsimcli.moc"
