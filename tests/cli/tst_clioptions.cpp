// The command line of dorvane-cli, table by table: what each option sets and
// what is refused, with the reason.
#include "clioptions.h"

#include <QtTest>

#include <functional>

namespace {

using Check = std::function<bool(const CliOptions &)>;

struct Row
{
    const char *name;
    QStringList arguments;
    const char *error; // empty: accepted; else a part of the reason
    Check check;
};

QStringList args(std::initializer_list<const char *> list)
{
    QStringList out;
    for (const char *a : list)
        out << QString::fromUtf8(a);
    return out;
}

const Row rows[] = {
    {"serial with line settings",
     args({"--serial", "/dev/ttyUSB0", "--baud", "115200", "--data-bits", "7", "--stop-bits", "1.5",
           "--parity", "mark", "--flow", "rtscts"}),
     "",
     [](const CliOptions &o) {
         return o.channel == CliOptions::Channel::Serial && o.serialPath == QLatin1String("/dev/ttyUSB0")
                && o.baudRate == 115200 && o.dataBits == 7 && o.stopBits == 3 && o.parity == 5 && o.flow == 1;
     }},
    {"tcp client with IPv6 host", args({"--tcp", "[::1]:502"}), "",
     [](const CliOptions &o) {
         return o.channel == CliOptions::Channel::TcpClient && o.remoteHost == QLatin1String("::1")
                && o.remotePort == 502;
     }},
    {"tcp server on a bare port", args({"--tcp-server", "5020"}), "",
     [](const CliOptions &o) { return o.localAddress.isEmpty() && o.localPort == 5020; }},
    {"udp multicast",
     args({"--udp", "10.0.0.2:7000", "--to", "239.1.1.1:7000", "--multicast", "239.1.1.1", "--hex", "aa"}),
     "",
     [](const CliOptions &o) {
         return o.localAddress == QLatin1String("10.0.0.2") && o.localPort == 7000
                && o.remoteHost == QLatin1String("239.1.1.1")
                && o.multicastGroup == QLatin1String("239.1.1.1");
     }},
    {"text escapes", args({"--tcp", "h:1", "--text", "AT\\r\\n\\x00\\\\"}), "",
     [](const CliOptions &o) { return o.payloadBytes == QByteArray("AT\r\n\0\\", 6); }},
    {"hex with odd digits pads like the transmit window", args({"--tcp", "h:1", "--hex", "1 2 abc"}), "",
     [](const CliOptions &o) { return o.payloadBytes == QByteArray::fromHex("0102ab0c"); }},
    {"crc model with byte order", args({"--tcp", "h:1", "--hex", "01", "--crc", "crc_16_modbus:be"}), "",
     [](const CliOptions &o) { return o.crcModel == 3 && !o.crcLittleEndian; }},
    {"periodic sending",
     args({"--tcp", "h:1", "--hex", "01", "--count", "0", "--interval", "5", "--timing", "hires"}), "",
     [](const CliOptions &o) {
         return o.count == 0 && o.intervalMs == 5 && o.timing == HighResolutionTiming;
     }},
    {"expect pattern with wildcards", args({"--tcp", "h:1", "--expect-hex", "01 03 ?? ff"}), "",
     [](const CliOptions &o) {
         return o.expectBytes == QByteArray::fromHex("010300ff")
                && o.expectMask == QByteArray::fromHex("ffff00ff");
     }},
    {"duration in seconds", args({"--tcp", "h:1", "--duration", "1.5"}), "",
     [](const CliOptions &o) { return o.durationMs == 1500; }},
    {"ports as json", args({"ports", "--json"}), "",
     [](const CliOptions &o) { return o.command == CliOptions::Command::Ports && o.json; }},
    {"help wins over a missing channel", args({"--help"}), "",
     [](const CliOptions &o) { return o.command == CliOptions::Command::Help; }},

    {"no channel", args({"--hex", "01"}), "choose a channel", nullptr},
    {"two channels", args({"--tcp", "h:1", "--serial", "/dev/x"}), "choose one channel", nullptr},
    {"two payloads", args({"--tcp", "h:1", "--hex", "01", "--text", "a"}), "only one of", nullptr},
    {"unknown option", args({"--tcp", "h:1", "--frobnicate"}), "unknown option --frobnicate", nullptr},
    {"missing value", args({"--tcp"}), "--tcp needs a value", nullptr},
    {"port out of range", args({"--tcp", "h:70000"}), "expected HOST:PORT", nullptr},
    {"tcp without port", args({"--tcp", "host"}), "expected HOST:PORT", nullptr},
    {"bad data bits", args({"--serial", "/dev/x", "--data-bits", "9"}), "from 5 to 8", nullptr},
    {"bad parity word", args({"--serial", "/dev/x", "--parity", "strange"}), "none|even|odd|space|mark",
     nullptr},
    {"bad flow control word", args({"--serial", "/dev/x", "--flow", "cts"}), "none|rtscts|xonxoff", nullptr},
    {"hex with a non-hex letter", args({"--tcp", "h:1", "--hex", "01 0g"}), "expected hex bytes", nullptr},
    {"unknown text escape", args({"--tcp", "h:1", "--text", "a\\q"}), "unknown escape", nullptr},
    {"short \\x escape", args({"--tcp", "h:1", "--text", "\\x4"}), "unknown escape", nullptr},
    {"unknown crc model", args({"--tcp", "h:1", "--hex", "01", "--crc", "CRC_64"}), "CRC_16_MODBUS", nullptr},
    {"odd expect pattern", args({"--tcp", "h:1", "--expect-hex", "01 0"}), "hex pairs", nullptr},
    {"broken regular expression", args({"--tcp", "h:1", "--expect-text", "(ab"}), "--expect-text", nullptr},
    {"zero interval", args({"--tcp", "h:1", "--hex", "01", "--count", "2", "--interval", "0"}), "from 1",
     nullptr},
    {"negative duration", args({"--tcp", "h:1", "--duration", "-1"}), "above 0", nullptr},
    {"udp send without peer", args({"--udp", "7000", "--hex", "01"}), "--to", nullptr},
    {"--to without udp", args({"--tcp", "h:1", "--to", "h:2"}), "belong to --udp", nullptr},
    {"count without payload", args({"--tcp", "h:1", "--count", "5"}), "need something to send", nullptr},
    {"raw and json", args({"--tcp", "h:1", "--raw", "--json"}), "exclude each other", nullptr},
    {"ports with a channel option", args({"ports", "--serial", "/dev/x"}), "ports takes only --json",
     nullptr},
    {"stray word", args({"--tcp", "h:1", "send"}), "unexpected argument send", nullptr},
};

} // namespace

class TestCliOptions : public QObject
{
    Q_OBJECT

private slots:
    void parses_data()
    {
        QTest::addColumn<int>("row");
        for (int i = 0; i < int(sizeof rows / sizeof rows[0]); ++i)
            QTest::newRow(rows[i].name) << i;
    }

    void parses()
    {
        QFETCH(int, row);
        const Row &r = rows[row];
        const ParsedArguments parsed = parseArguments(r.arguments);
        if (*r.error) {
            QVERIFY2(parsed.error.contains(QLatin1String(r.error)), qPrintable(parsed.error));
        } else {
            QVERIFY2(parsed.error.isEmpty(), qPrintable(parsed.error));
            QVERIFY(r.check(parsed.options));
        }
    }

    void defaultsAreTheDocumentedOnes()
    {
        const ParsedArguments parsed = parseArguments(args({"--serial", "/dev/x"}));
        QVERIFY(parsed.error.isEmpty());
        const CliOptions &o = parsed.options;
        QCOMPARE(o.baudRate, 9600);
        QCOMPARE(o.count, qint64(1));
        QCOMPARE(o.timeoutMs, 1000);
        QCOMPARE(o.timing, CoarseTiming);
        QVERIFY(o.crcLittleEndian);
        QVERIFY(o.output == CliOptions::Output::Hex);
    }
};

QTEST_GUILESS_MAIN(TestCliOptions)
#include "tst_clioptions.moc"
