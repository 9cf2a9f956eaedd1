// The built dorvane-cli against real peers: a Modbus RTU device and raw
// pseudo-terminals, socat over TCP and UDP, files that are not documents,
// and tshark reading its capture.
#include "pseudoterminal.h"

#include <QtTest>

#include <QTcpServer>
#include <QUdpSocket>

#include <csignal>

namespace {

// The built program, or an installed one named by DORVANE_CLI.
const QString Program = qEnvironmentVariableIsEmpty("DORVANE_CLI") ? QStringLiteral(DORVANE_CLI_PROGRAM)
                                                                   : qEnvironmentVariable("DORVANE_CLI");

struct Result
{
    int exitCode = -1;
    QByteArray out;
    QByteArray err;
    qint64 elapsedMs = 0;
};

Result run(const QStringList &arguments, int limitMs = 20000)
{
    QProcess process;
    QElapsedTimer clock;
    clock.start();
    process.start(Program, arguments);
    Result r;
    if (!process.waitForFinished(limitMs)) {
        process.kill();
        process.waitForFinished();
        r.err = "did not end within the test's limit";
        return r;
    }
    r.elapsedMs = clock.elapsed();
    r.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    r.out = process.readAllStandardOutput();
    r.err = process.readAllStandardError();
    return r;
}

QString describe(const Result &r)
{
    return QStringLiteral("exit %1, stdout [%2], stderr [%3]")
        .arg(r.exitCode)
        .arg(QString::fromUtf8(r.out), QString::fromUtf8(r.err));
}

// Stops a helper process the test started, by its own handle.
void stop(QProcess &process)
{
    if (process.state() == QProcess::NotRunning)
        return;
    process.terminate();
    if (!process.waitForFinished(3000)) {
        process.kill();
        process.waitForFinished();
    }
}

quint16 freeTcpPort()
{
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost, 0);
    return probe.serverPort();
}

quint16 freeUdpPort()
{
    QUdpSocket probe;
    probe.bind(QHostAddress(QHostAddress::LocalHost), 0);
    return probe.localPort();
}

QString pythonWithPymodbus()
{
    for (const QString &candidate : {QStringLiteral("/usr/bin/python3"), QStringLiteral("python3")}) {
        QProcess probe;
        probe.start(candidate, {QStringLiteral("-c"), QStringLiteral("import pymodbus.server")});
        if (probe.waitForFinished(10000) && probe.exitStatus() == QProcess::NormalExit
            && probe.exitCode() == 0)
            return candidate;
    }
    return QString();
}

bool have(const char *program)
{
    return !QStandardPaths::findExecutable(QString::fromLatin1(program)).isEmpty();
}

void writeFile(const QString &path, const QByteArray &text)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(text);
}

// A transmit protocol of a fixed head byte and an unsigned-byte sequence
// starting at `first`: frames "head first", "head first+1", ...
QByteArray sequenceProtocol(const char *head, int first)
{
    return QByteArray(
               "fileFormat: dorvane protocol file\n"
               "fileVersion: \"1.0\"\n"
               "protocol: {fields: 2, values: 1}\n"
               "fields:\n"
               "  - {name: head, tid: 10, endian: 1, enable: true, meta: [{generator: Fixed, params: \"")
           + head
           + "\"}]}\n"
             "  - {name: seq, tid: 10, endian: 1, enable: true, meta: [{generator: Sequence, params: \""
           + QByteArray::number(first) + ",1\"}]}\n";
}

// Frames AA 55, a big-endian unsigned 16-bit value (graph 3), 0D.
const QByteArray RxProtocolText
    = "fileFormat: dorvane rx-protocol file\n"
      "fileVersion: \"1.0\"\n"
      "protocol: {fields: 4}\n"
      "fields:\n"
      "  - {name: h1, tid: 10, endian: 1, enable: true, meta: [{generator: Fixed, "
      "params: \"0xAA\", graph: -1, form: -1, flag: 1}]}\n"
      "  - {name: h2, tid: 10, endian: 1, enable: true, meta: [{generator: Fixed, "
      "params: \"0x55\", graph: -1, form: -1, flag: 1}]}\n"
      "  - {name: v, tid: 11, endian: 0, enable: true, meta: [{generator: Fixed, "
      "params: \"\", graph: 3, form: -1, flag: 0}]}\n"
      "  - {name: t, tid: 10, endian: 1, enable: true, meta: [{generator: Fixed, "
      "params: \"0x0D\", graph: -1, form: -1, flag: 2}]}\n";

} // namespace

class TestCliProgram : public QObject
{
    Q_OBJECT

private slots:
    void modbusDeviceAnswersWithCrcAndWildcards()
    {
        if (!have("socat"))
            QSKIP("socat is not installed (apt-get install socat)");
        const QString python = pythonWithPymodbus();
        if (python.isEmpty())
            QSKIP("pymodbus is not installed (apt-get install python3-pymodbus)");
        QTemporaryDir dir;
        const QString device = dir.filePath(QStringLiteral("device"));
        const QString port = dir.filePath(QStringLiteral("port"));
        QProcess socat;
        socat.start(QStringLiteral("socat"), {QStringLiteral("pty,raw,echo=0,link=") + device,
                                              QStringLiteral("pty,raw,echo=0,link=") + port});
        QTRY_VERIFY(QFile::exists(device) && QFile::exists(port));
        QProcess server;
        server.setProcessChannelMode(QProcess::ForwardedChannels);
        server.start(python, {QStringLiteral(DORVANE_SOURCE_DIR "/tools/modbus-rtu-server.py"), device});
        QVERIFY(server.waitForStarted());

        const QString capture = dir.filePath(QStringLiteral("modbus.pcapng"));
        const QStringList request = {QStringLiteral("--serial"), port,
                                     QStringLiteral("--hex"),    QStringLiteral("01 03 00 00 00 02"),
                                     QStringLiteral("--crc"),    QStringLiteral("CRC_16_MODBUS")};
        // The device may still be starting: ask again until it answers.
        Result ok;
        QElapsedTimer clock;
        clock.start();
        do {
            ok = run(request
                     + QStringList{QStringLiteral("--expect-hex"),
                                   QStringLiteral("01 03 04 12 34 ?? ?? ?? ??"), QStringLiteral("--capture"),
                                   capture});
        } while (ok.exitCode != 0 && clock.elapsed() < 15000);
        QVERIFY2(ok.exitCode == 0, qPrintable(describe(ok)));
        QVERIFY2(ok.out.contains(" RX 01 03 04 12 34 56 78 81 07\n"), ok.out.constData());

        const Result wrong = run(request
                                 + QStringList{QStringLiteral("--expect-hex"), QStringLiteral("01 03 04 99"),
                                               QStringLiteral("--timeout"), QStringLiteral("400")});
        stop(server);
        stop(socat);
        QVERIFY2(wrong.exitCode == 1, qPrintable(describe(wrong)));
        QVERIFY(wrong.elapsedMs >= 400);
        // What came instead, in hex.
        QVERIFY2(wrong.err.contains("01 03 04 12 34 56 78 81 07"), wrong.err.constData());

        if (!have("tshark"))
            QSKIP("tshark is not installed (apt-get install tshark)");
        QProcess tshark;
        tshark.start(QStringLiteral("tshark"),
                     {QStringLiteral("-r"), capture, QStringLiteral("-T"), QStringLiteral("fields"),
                      QStringLiteral("-e"), QStringLiteral("frame.len"), QStringLiteral("-e"),
                      QStringLiteral("frame.packet_flags_direction")});
        QVERIFY(tshark.waitForFinished(30000));
        QCOMPARE(tshark.readAllStandardOutput(), QByteArray("8\t0x00000002\n9\t0x00000001\n"));
    }

    void missingPortExits3WithTheSystemsReason()
    {
        const Result r = run({QStringLiteral("--serial"), QStringLiteral("/dev/dorvane-no-such-port"),
                              QStringLiteral("--hex"), QStringLiteral("01")});
        QVERIFY2(r.exitCode == 3, qPrintable(describe(r)));
        QVERIFY2(r.err.contains("/dev/dorvane-no-such-port: No such file or directory"), r.err.constData());
    }

    void unreadableDocumentsExit2NamingTheFile()
    {
        QTemporaryDir dir;
        const QString broken = dir.filePath(QStringLiteral("broken.dvptc"));
        writeFile(broken, "fileFormat: dorvane protocol file\nfileVersion: [\n");
        const QString wrongTitle = dir.filePath(QStringLiteral("wrong.dvprx"));
        writeFile(wrongTitle, sequenceProtocol("0x01", 0)); // a transmit protocol is no receive protocol
        const QString missing = dir.filePath(QStringLiteral("missing.dvptc"));
        const QString set = dir.filePath(QStringLiteral("holes.dvpts"));
        writeFile(set, "fileFormat: dorvane protocol-set file\nfileVersion: \"1.0\"\n"
                       "fileList:\n  - {path: missing.dvptc, valueIndex: 0, enable: true, interval: 10}\n");
        const QString instructs = dir.filePath(QStringLiteral("wrong.dvits"));
        writeFile(instructs, "fileFormat: dorvane instruct-set fil\nfileVersion: \"1.0\"\ninstructs: []\n");
        for (const QStringList &arguments :
             {QStringList{QStringLiteral("--protocol"), broken},
              QStringList{QStringLiteral("--protocol"), missing},
              QStringList{QStringLiteral("--expect-frames"), wrongTitle},
              QStringList{QStringLiteral("--file"), missing}, QStringList{QStringLiteral("--set"), set},
              QStringList{QStringLiteral("--instructs"), instructs}}) {
            const Result r
                = run(QStringList{QStringLiteral("--tcp"), QStringLiteral("127.0.0.1:1")} + arguments);
            QVERIFY2(r.exitCode == 2, qPrintable(describe(r)));
            QVERIFY2(r.err.contains(arguments[1].toUtf8()), r.err.constData());
        }
        const Result usage = run({QStringLiteral("--tcp")});
        QCOMPARE(usage.exitCode, 2);
    }

    void protocolColumnsAdvanceFrameAfterFrameWithTheirCrc()
    {
        PseudoTerminal pty;
        if (!pty.isValid())
            QSKIP(qPrintable(pty.errorText()));
        QTemporaryDir dir;
        const QString protocol = dir.filePath(QStringLiteral("seq.dvptc"));
        writeFile(protocol, sequenceProtocol("0xAA", 5));
        const Result r = run({QStringLiteral("--serial"), pty.slavePath(), QStringLiteral("--protocol"),
                              protocol, QStringLiteral("--count"), QStringLiteral("3"),
                              QStringLiteral("--interval"), QStringLiteral("10"), QStringLiteral("--crc"),
                              QStringLiteral("CRC_8"), QStringLiteral("--stats")});
        QVERIFY2(r.exitCode == 0, qPrintable(describe(r)));
        // CRC_8 of AA 05, AA 06, AA 07, one byte each.
        QCOMPARE(pty.read(9, 2000).toHex(' '), QByteArray("aa 05 81 aa 06 88 aa 07 8f"));
        QVERIFY2(r.err.contains("periodic sending: 3 frame(s)") && r.err.contains("p50"), r.err.constData());
    }

    void setAndInstructFilesSendTheirItemsInOrder()
    {
        PseudoTerminal pty;
        if (!pty.isValid())
            QSKIP(qPrintable(pty.errorText()));
        QTemporaryDir dir;
        writeFile(dir.filePath(QStringLiteral("one.dvptc")), sequenceProtocol("0x01", 0));
        writeFile(dir.filePath(QStringLiteral("off.dvptc")), sequenceProtocol("0x03", 0));
        writeFile(dir.filePath(QStringLiteral("two.dvptc")), sequenceProtocol("0x02", 7));
        // Paths relative to the set file, as a hand-written set has them; the
        // disabled entry is not sent.
        const QString set = dir.filePath(QStringLiteral("rig.dvpts"));
        writeFile(set, "fileFormat: dorvane protocol-set file\n"
                       "fileVersion: \"1.0\"\n"
                       "fileList:\n"
                       "  - {path: one.dvptc, valueIndex: 0, enable: true, interval: 10}\n"
                       "  - {path: off.dvptc, valueIndex: 0, enable: false, interval: 10}\n"
                       "  - {path: two.dvptc, valueIndex: 0, enable: true, interval: 10}\n");
        Result r = run({QStringLiteral("--serial"), pty.slavePath(), QStringLiteral("--set"), set,
                        QStringLiteral("--count"), QStringLiteral("2")});
        QVERIFY2(r.exitCode == 0, qPrintable(describe(r)));
        QCOMPARE(pty.read(8, 2000).toHex(' '), QByteArray("01 00 02 07 01 01 02 08"));

        const QString instructs = dir.filePath(QStringLiteral("rig.dvits"));
        writeFile(instructs, "fileFormat: dorvane instruct-set file\n"
                             "fileVersion: \"1.0\"\n"
                             "instructs:\n"
                             "  - {title: first, content: \"01 02 // read\", textMode: Hex, interval: 40}\n"
                             "  - {title: second, content: \"AT\", textMode: Text, interval: 10}\n"
                             "  - {title: third, content: \"ff\", textMode: Hex, interval: 10}\n");
        QElapsedTimer clock;
        clock.start();
        r = run({QStringLiteral("--serial"), pty.slavePath(), QStringLiteral("--instructs"), instructs});
        QVERIFY2(r.exitCode == 0, qPrintable(describe(r)));
        QCOMPARE(pty.read(5, 2000).toHex(' '), QByteArray("01 02 41 54 ff"));
        // Each item waits its own delay before the next: 40 + 10 ms at least.
        QVERIFY(clock.elapsed() >= 50);
    }

    void framesAreDecodedIntoCsv()
    {
        PseudoTerminal pty;
        if (!pty.isValid())
            QSKIP(qPrintable(pty.errorText()));
        QTemporaryDir dir;
        const QString rx = dir.filePath(QStringLiteral("frames.dvprx"));
        writeFile(rx, RxProtocolText);
        QProcess cli;
        cli.start(Program, {QStringLiteral("--serial"), pty.slavePath(), QStringLiteral("--expect-frames"),
                            rx, QStringLiteral("--frames"), QStringLiteral("2"), QStringLiteral("--timeout"),
                            QStringLiteral("5000")});
        QVERIFY(cli.waitForStarted());
        QTest::qWait(300);
        // Garbage first, then two frames split across writes.
        QVERIFY(pty.write(QByteArray::fromHex("0102aa5501")));
        QTest::qWait(50);
        QVERIFY(pty.write(QByteArray::fromHex("020daa55fffe0d")));
        QVERIFY(cli.waitForFinished(10000));
        QCOMPARE(cli.exitCode(), 0);
        const QList<QByteArray> rows = cli.readAllStandardOutput().trimmed().split('\n');
        QCOMPARE(rows.size(), 2);
        QVERIFY2(rows[0].endsWith(",3,258") && rows[1].endsWith(",3,65534"), rows.join('|').constData());
    }

    void tcpClientTalksToSocat()
    {
        if (!have("socat"))
            QSKIP("socat is not installed (apt-get install socat)");
        const quint16 port = freeTcpPort();
        QProcess echo;
        echo.start(QStringLiteral("socat"),
                   {QStringLiteral("TCP-LISTEN:%1,bind=127.0.0.1,reuseaddr,fork").arg(port),
                    QStringLiteral("PIPE")});
        QVERIFY(echo.waitForStarted());
        Result r;
        QElapsedTimer clock;
        clock.start();
        do {
            r = run({QStringLiteral("--tcp"), QStringLiteral("127.0.0.1:%1").arg(port),
                     QStringLiteral("--text"), QStringLiteral("ping\\r\\n"), QStringLiteral("--expect-text"),
                     QStringLiteral("^ping\\r\\n$"), QStringLiteral("--json")});
        } while (r.exitCode == 3 && clock.elapsed() < 5000);
        stop(echo);
        QVERIFY2(r.exitCode == 0, qPrintable(describe(r)));
        QVERIFY2(r.out.contains("\"dir\":\"tx\",\"hex\":\"70696e670d0a\"}")
                     && r.out.contains("\"dir\":\"rx\",\"hex\":\"70696e670d0a\"}"),
                 r.out.constData());

        // Nobody listens any more: refused, exit 3 with the reason.
        const Result refused = run({QStringLiteral("--tcp"), QStringLiteral("127.0.0.1:%1").arg(port)});
        QVERIFY2(refused.exitCode == 3, qPrintable(describe(refused)));
        QVERIFY2(refused.err.toLower().contains("refused"), refused.err.constData());
    }

    void durationCaptureOfATcpFloodHoldsEveryByte()
    {
        if (!have("socat"))
            QSKIP("socat is not installed (apt-get install socat)");
        QTemporaryDir dir;
        const QString source = dir.filePath(QStringLiteral("flood.src"));
        QByteArray flood(20 * 1024 * 1024, '\0');
        quint32 x = 12345;
        for (char &c : flood) {
            x = x * 1103515245u + 12345u;
            c = char(x >> 24);
        }
        writeFile(source, flood);
        const quint16 port = freeTcpPort();
        // The peer sends everything at once, then stays connected.
        QProcess peer;
        peer.start(QStringLiteral("socat"),
                   {QStringLiteral("TCP-LISTEN:%1,bind=127.0.0.1,reuseaddr").arg(port),
                    QStringLiteral("SYSTEM:cat '%1'; sleep 30").arg(source)});
        QVERIFY(peer.waitForStarted());
        const QString capture = dir.filePath(QStringLiteral("flood.bin"));
        Result r;
        QElapsedTimer clock;
        clock.start();
        do {
            r = run({QStringLiteral("--tcp"), QStringLiteral("127.0.0.1:%1").arg(port),
                     QStringLiteral("--duration"), QStringLiteral("3"), QStringLiteral("--capture"), capture,
                     QStringLiteral("--quiet")});
        } while (r.exitCode == 3 && clock.elapsed() < 5000);
        stop(peer);
        QVERIFY2(r.exitCode == 0, qPrintable(describe(r)));
        QFile file(capture);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray captured = file.readAll();
        QCOMPARE(captured.size(), flood.size());
        QVERIFY(captured == flood);
    }

    void tcpServerWaitsForSocatAndAnswers()
    {
        if (!have("socat"))
            QSKIP("socat is not installed (apt-get install socat)");
        const quint16 port = freeTcpPort();
        QProcess cli;
        cli.start(Program, {QStringLiteral("--tcp-server"), QStringLiteral("127.0.0.1:%1").arg(port),
                            QStringLiteral("--hex"), QStringLiteral("aa bb"), QStringLiteral("--expect-hex"),
                            QStringLiteral("cc"), QStringLiteral("--timeout"), QStringLiteral("5000")});
        QVERIFY(cli.waitForStarted());
        QProcess client;
        QByteArray got;
        QElapsedTimer clock;
        clock.start();
        // The server may not listen yet: the client tries again.
        while (got.size() < 2 && clock.elapsed() < 5000) {
            client.start(QStringLiteral("socat"),
                         {QStringLiteral("-"), QStringLiteral("TCP:127.0.0.1:%1").arg(port)});
            QVERIFY(client.waitForStarted());
            client.waitForReadyRead(500);
            got += client.readAllStandardOutput();
            if (got.size() < 2)
                stop(client);
        }
        QCOMPARE(got.toHex(' '), QByteArray("aa bb"));
        client.write("\xcc");
        QVERIFY(client.waitForBytesWritten(2000));
        QVERIFY(cli.waitForFinished(5000));
        stop(client);
        QCOMPARE(cli.exitCode(), 0);
        QVERIFY(cli.readAllStandardOutput().contains(" RX CC\n"));

        // Nobody comes within the timeout.
        const Result lonely = run({QStringLiteral("--tcp-server"), QStringLiteral("127.0.0.1:%1").arg(port),
                                   QStringLiteral("--timeout"), QStringLiteral("300")});
        QVERIFY2(lonely.exitCode == 3 && lonely.err.contains("no client within 300 ms"),
                 qPrintable(describe(lonely)));
    }

    void udpEchoesThroughSocat()
    {
        if (!have("socat"))
            QSKIP("socat is not installed (apt-get install socat)");
        const quint16 ours = freeUdpPort();
        const quint16 theirs = freeUdpPort();
        QProcess echo;
        echo.start(QStringLiteral("socat"),
                   {QStringLiteral("UDP4-DATAGRAM:127.0.0.1:%1,bind=127.0.0.1:%2").arg(ours).arg(theirs),
                    QStringLiteral("PIPE")});
        QVERIFY(echo.waitForStarted());
        // Sent every 50 ms until the echo comes, so socat's start does not matter.
        const Result r
            = run({QStringLiteral("--udp"), QStringLiteral("127.0.0.1:%1").arg(ours), QStringLiteral("--to"),
                   QStringLiteral("127.0.0.1:%1").arg(theirs), QStringLiteral("--hex"),
                   QStringLiteral("01 02 03"), QStringLiteral("--count"), QStringLiteral("0"),
                   QStringLiteral("--interval"), QStringLiteral("50"), QStringLiteral("--expect-hex"),
                   QStringLiteral("01 ?? 03"), QStringLiteral("--timeout"), QStringLiteral("5000")});
        stop(echo);
        QVERIFY2(r.exitCode == 0, qPrintable(describe(r)));
    }

    void captureOnAFullDiskFailsTheRun()
    {
        PseudoTerminal pty;
        if (!pty.isValid())
            QSKIP(qPrintable(pty.errorText()));
        if (!QFile::exists(QStringLiteral("/dev/full")))
            QSKIP("no /dev/full on this system");
        const Result r
            = run({QStringLiteral("--serial"), pty.slavePath(), QStringLiteral("--hex"), QStringLiteral("01"),
                   QStringLiteral("--capture"), QStringLiteral("/dev/full")});
        QVERIFY2(r.exitCode == 2, qPrintable(describe(r)));
        QVERIFY2(r.err.contains("the capture stopped: No space left on device"), r.err.constData());
        QCOMPARE(r.err.count("the capture stopped"), 1);
        QCOMPARE(pty.read(1, 1000), QByteArray("\x01"));
    }

    void interruptedRunClosesItsCapture()
    {
        PseudoTerminal pty;
        if (!pty.isValid())
            QSKIP(qPrintable(pty.errorText()));
        QTemporaryDir dir;
        const QString capture = dir.filePath(QStringLiteral("run.log"));
        QProcess cli;
        cli.start(Program,
                  {QStringLiteral("--serial"), pty.slavePath(), QStringLiteral("--hex"), QStringLiteral("42"),
                   QStringLiteral("--count"), QStringLiteral("0"), QStringLiteral("--interval"),
                   QStringLiteral("20"), QStringLiteral("--capture"), capture, QStringLiteral("--quiet")});
        QVERIFY(cli.waitForStarted());
        QVERIFY(pty.read(3, 3000).size() == 3);
        QVERIFY(pty.write("ok"));
        QTest::qWait(100);
        ::kill(pid_t(cli.processId()), SIGINT);
        QVERIFY(cli.waitForFinished(5000));
        QCOMPARE(cli.exitCode(), 130);
        QFile file(capture);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray text = file.readAll();
        QVERIFY2(text.contains("] TX (1): 42\n") && text.contains("] RX (2): 6F 6B\n"), text.constData());
        QVERIFY(text.endsWith('\n'));
        QVERIFY(cli.readAllStandardOutput().isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestCliProgram)
#include "tst_cliprogram.moc"
