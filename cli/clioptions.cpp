#include "clioptions.h"

#include "model/checksum.h"
#include "model/protocolexport.h"
#include "model/transmittext.h"

#include <QRegularExpression>

#include <functional>
#include <limits>

namespace {

using Handler = std::function<QString(CliOptions &, const QString &)>;

// One command-line option: its name, whether a value follows it, and what it sets.
struct OptionSpec
{
    const char *name;
    bool takesValue;
    Handler apply;
};

QString bad(const QString &option, const QString &value, const QString &why)
{
    return QStringLiteral("%1 %2: %3").arg(option, value, why);
}

bool toInt(const QString &text, qint64 low, qint64 high, qint64 *out)
{
    bool ok = false;
    const qint64 value = text.toLongLong(&ok, 10);
    if (!ok || value < low || value > high)
        return false;
    *out = value;
    return true;
}

// "HOST:PORT", "[v6]:PORT"; with hostOptional also a bare "PORT".
bool splitHostPort(const QString &text, bool hostOptional, QString *host, quint16 *port)
{
    QString hostPart;
    QString portPart = text;
    const int colon = text.lastIndexOf(QLatin1Char(':'));
    if (colon >= 0) {
        hostPart = text.left(colon);
        portPart = text.mid(colon + 1);
        if (hostPart.startsWith(QLatin1Char('[')) && hostPart.endsWith(QLatin1Char(']')))
            hostPart = hostPart.mid(1, hostPart.size() - 2);
        if (hostPart.isEmpty())
            return false;
    } else if (!hostOptional) {
        return false;
    }
    qint64 value = 0;
    if (!toInt(portPart, 1, 65535, &value))
        return false;
    *host = hostPart;
    *port = quint16(value);
    return true;
}

QString setChannel(CliOptions &o, CliOptions::Channel channel)
{
    if (o.channel != CliOptions::Channel::None && o.channel != channel)
        return QStringLiteral("choose one channel: --serial, --tcp, --tcp-server or --udp");
    o.channel = channel;
    return {};
}

QString setPayload(CliOptions &o, CliOptions::Payload payload, const QString &option)
{
    if (o.payload != CliOptions::Payload::None)
        return QStringLiteral("%1: only one of --hex, --text, --file, --protocol, --set and --instructs")
            .arg(option);
    o.payload = payload;
    return {};
}

Handler intOption(const char *name, qint64 low, qint64 high, std::function<void(CliOptions &, qint64)> set)
{
    return [=](CliOptions &o, const QString &v) {
        qint64 value = 0;
        if (!toInt(v, low, high, &value))
            return bad(QLatin1String(name), v,
                       QStringLiteral("expected a whole number from %1 to %2").arg(low).arg(high));
        set(o, value);
        return QString();
    };
}

// A word from a fixed list, mapped to its value.
template<typename T>
Handler choiceOption(const char *name, std::vector<std::pair<const char *, T>> choices,
                     std::function<void(CliOptions &, T)> set)
{
    return [=](CliOptions &o, const QString &v) {
        QStringList words;
        for (const auto &choice : choices) {
            if (v == QLatin1String(choice.first)) {
                set(o, choice.second);
                return QString();
            }
            words << QLatin1String(choice.first);
        }
        return bad(QLatin1String(name), v, QStringLiteral("expected %1").arg(words.join(QLatin1Char('|'))));
    };
}

const std::vector<OptionSpec> &optionTable()
{
    using C = CliOptions;
    static const std::vector<OptionSpec> table = {
        {"--help", false,
         [](C &o, const QString &) {
             o.command = C::Command::Help;
             return QString();
         }},
        {"-h", false,
         [](C &o, const QString &) {
             o.command = C::Command::Help;
             return QString();
         }},
        {"--version", false,
         [](C &o, const QString &) {
             o.command = C::Command::Version;
             return QString();
         }},

        {"--serial", true,
         [](C &o, const QString &v) {
             o.serialPath = v;
             return setChannel(o, C::Channel::Serial);
         }},
        {"--baud", true,
         intOption("--baud", 1, std::numeric_limits<qint32>::max(),
                   [](C &o, qint64 v) { o.baudRate = qint32(v); })},
        {"--data-bits", true, intOption("--data-bits", 5, 8, [](C &o, qint64 v) { o.dataBits = qint32(v); })},
        {"--stop-bits", true,
         choiceOption<int>("--stop-bits", {{"1", 1}, {"1.5", 3}, {"2", 2}},
                           [](C &o, int v) { o.stopBits = v; })},
        {"--parity", true,
         choiceOption<int>("--parity", {{"none", 0}, {"even", 2}, {"odd", 3}, {"space", 4}, {"mark", 5}},
                           [](C &o, int v) { o.parity = v; })},
        {"--flow", true,
         choiceOption<int>("--flow", {{"none", 0}, {"rtscts", 1}, {"xonxoff", 2}},
                           [](C &o, int v) { o.flow = v; })},
        {"--tcp", true,
         [](C &o, const QString &v) {
             if (!splitHostPort(v, false, &o.remoteHost, &o.remotePort))
                 return bad(QStringLiteral("--tcp"), v, QStringLiteral("expected HOST:PORT"));
             return setChannel(o, C::Channel::TcpClient);
         }},
        {"--tcp-server", true,
         [](C &o, const QString &v) {
             if (!splitHostPort(v, true, &o.localAddress, &o.localPort))
                 return bad(QStringLiteral("--tcp-server"), v, QStringLiteral("expected [ADDR:]PORT"));
             return setChannel(o, C::Channel::TcpServer);
         }},
        {"--udp", true,
         [](C &o, const QString &v) {
             if (!splitHostPort(v, true, &o.localAddress, &o.localPort))
                 return bad(QStringLiteral("--udp"), v, QStringLiteral("expected [ADDR:]LOCAL_PORT"));
             return setChannel(o, C::Channel::Udp);
         }},
        {"--to", true,
         [](C &o, const QString &v) {
             if (!splitHostPort(v, false, &o.remoteHost, &o.remotePort))
                 return bad(QStringLiteral("--to"), v, QStringLiteral("expected HOST:PORT"));
             o.toGiven = true;
             return QString();
         }},
        {"--multicast", true,
         [](C &o, const QString &v) {
             o.multicastGroup = v;
             return QString();
         }},

        {"--hex", true,
         [](C &o, const QString &v) {
             const QString pairs = normalizeHexDigits(v);
             QString digitsOnly = v;
             digitsOnly.remove(QRegularExpression(QStringLiteral("[\\s,]")));
             if (pairs.isEmpty() || digitsOnly.contains(QRegularExpression(QStringLiteral("[^0-9A-Fa-f]"))))
                 return bad(QStringLiteral("--hex"), v,
                            QStringLiteral("expected hex bytes such as \"01 03 0A\""));
             o.payloadBytes = QByteArray::fromHex(pairs.toLatin1());
             return setPayload(o, C::Payload::Hex, QStringLiteral("--hex"));
         }},
        {"--text", true,
         [](C &o, const QString &v) {
             if (!decodeTextEscapes(v, &o.payloadBytes))
                 return bad(QStringLiteral("--text"), v,
                            QStringLiteral("unknown escape (use \\r \\n \\t \\\\ or \\xNN)"));
             if (o.payloadBytes.isEmpty())
                 return bad(QStringLiteral("--text"), v, QStringLiteral("nothing to send"));
             return setPayload(o, C::Payload::Text, QStringLiteral("--text"));
         }},
        {"--file", true,
         [](C &o, const QString &v) {
             o.payloadPath = v;
             return setPayload(o, C::Payload::File, QStringLiteral("--file"));
         }},
        {"--protocol", true,
         [](C &o, const QString &v) {
             o.payloadPath = v;
             return setPayload(o, C::Payload::Protocol, QStringLiteral("--protocol"));
         }},
        {"--column", true, intOption("--column", 0, 2, [](C &o, qint64 v) { o.column = int(v); })},
        {"--set", true,
         [](C &o, const QString &v) {
             o.payloadPath = v;
             return setPayload(o, C::Payload::Set, QStringLiteral("--set"));
         }},
        {"--instructs", true,
         [](C &o, const QString &v) {
             o.payloadPath = v;
             return setPayload(o, C::Payload::Instructs, QStringLiteral("--instructs"));
         }},
        {"--crc", true,
         [](C &o, const QString &v) {
             QString name = v;
             o.crcLittleEndian = true;
             if (v.endsWith(QLatin1String(":le"), Qt::CaseInsensitive)) {
                 name.chop(3);
             } else if (v.endsWith(QLatin1String(":be"), Qt::CaseInsensitive)) {
                 name.chop(3);
                 o.crcLittleEndian = false;
             }
             const QStringList names = crcModelNames();
             for (int i = 0; i < names.size(); ++i) {
                 if (names[i].compare(name, Qt::CaseInsensitive) == 0) {
                     o.crcModel = i;
                     return QString();
                 }
             }
             return bad(QStringLiteral("--crc"), v,
                        QStringLiteral("expected one of %1, optionally with :le or :be")
                            .arg(names.join(QLatin1Char(' '))));
         }},
        {"--count", true,
         intOption("--count", 0, std::numeric_limits<qint32>::max(), [](C &o, qint64 v) { o.count = v; })},
        {"--interval", true,
         intOption("--interval", 1, 3600000, [](C &o, qint64 v) { o.intervalMs = int(v); })},
        {"--timing", true,
         choiceOption<TimingStrategy>(
             "--timing",
             {{"coarse", CoarseTiming}, {"precise", PreciseTiming}, {"hires", HighResolutionTiming}},
             [](C &o, TimingStrategy v) { o.timing = v; })},

        {"--expect-hex", true,
         [](C &o, const QString &v) {
             if (!parseHexPattern(v, &o.expectBytes, &o.expectMask))
                 return bad(QStringLiteral("--expect-hex"), v,
                            QStringLiteral("expected hex pairs and ?? such as \"01 03 ?? ??\""));
             return QString();
         }},
        {"--expect-text", true,
         [](C &o, const QString &v) {
             const QRegularExpression expression(v);
             if (v.isEmpty() || !expression.isValid())
                 return bad(QStringLiteral("--expect-text"), v,
                            v.isEmpty() ? QStringLiteral("empty expression") : expression.errorString());
             o.expectText = v;
             return QString();
         }},
        {"--expect-frames", true,
         [](C &o, const QString &v) {
             o.expectFrames = v;
             return QString();
         }},
        {"--frames", true,
         intOption("--frames", 1, std::numeric_limits<qint32>::max(),
                   [](C &o, qint64 v) { o.frames = int(v); })},
        {"--timeout", true,
         intOption("--timeout", 1, std::numeric_limits<qint32>::max(),
                   [](C &o, qint64 v) {
                       o.timeoutMs = int(v);
                       o.timeoutGiven = true;
                   })},
        {"--duration", true,
         [](C &o, const QString &v) {
             bool ok = false;
             const double seconds = v.toDouble(&ok);
             if (!ok || !(seconds > 0) || seconds > 31.0e6)
                 return bad(QStringLiteral("--duration"), v, QStringLiteral("expected seconds above 0"));
             o.durationMs = qMax<qint64>(1, qint64(seconds * 1000.0 + 0.5));
             return QString();
         }},

        {"--raw", false,
         [](C &o, const QString &) {
             if (o.output == C::Output::Json)
                 return QStringLiteral("--raw and --json exclude each other");
             o.output = C::Output::Raw;
             return QString();
         }},
        {"--json", false,
         [](C &o, const QString &) {
             if (o.output == C::Output::Raw)
                 return QStringLiteral("--raw and --json exclude each other");
             o.output = C::Output::Json;
             o.json = true;
             return QString();
         }},
        {"--quiet", false,
         [](C &o, const QString &) {
             o.quiet = true;
             return QString();
         }},
        {"--stats", false,
         [](C &o, const QString &) {
             o.stats = true;
             return QString();
         }},
        {"--reply-window", true,
         [](C &o, const QString &v) {
             bool ok = false;
             const int ms = v.toInt(&ok);
             if (!ok || ms < 1 || ms > 60000)
                 return QStringLiteral("--reply-window takes 1 to 60000 ms");
             o.replyWindowMs = ms;
             return QString();
         }},
        {"--capture", true,
         [](C &o, const QString &v) {
             o.capturePath = v;
             return QString();
         }},
    };
    return table;
}

// What no single option can check: the combinations.
QString checkCombination(const CliOptions &o)
{
    using C = CliOptions;
    if (o.command != C::Command::Run)
        return {};
    if (o.channel == C::Channel::None)
        return QStringLiteral("choose a channel: --serial, --tcp, --tcp-server or --udp");
    if (o.channel == C::Channel::Udp && o.payload != C::Payload::None && o.remoteHost.isEmpty())
        return QStringLiteral("--udp needs --to HOST:PORT to send to");
    if (o.channel != C::Channel::Udp && (o.toGiven || !o.multicastGroup.isEmpty()))
        return QStringLiteral("--to and --multicast belong to --udp");
    if (o.payload == C::Payload::None && (o.crcModel >= 0 || o.intervalMs > 0 || o.count != 1))
        return QStringLiteral("--crc, --count and --interval need something to send");
    return {};
}

// "export (--dissector OUT.lua | --c-header OUT.h) [--port udp:N|tcp:N] [--column N] [--name NAME] FILE"
ParsedArguments parseExportArguments(const QStringList &arguments)
{
    ParsedArguments result;
    CliOptions &o = result.options;
    o.command = CliOptions::Command::Export;
    bool outputGiven = false;
    bool portGiven = false;
    for (int i = 0; i < arguments.size(); ++i) {
        const QString &argument = arguments[i];
        if (argument == QLatin1String("--help") || argument == QLatin1String("-h")) {
            o.command = CliOptions::Command::Help;
            return result;
        }
        const bool takesValue
            = argument == QLatin1String("--dissector") || argument == QLatin1String("--c-header")
              || argument == QLatin1String("--port") || argument == QLatin1String("--column")
              || argument == QLatin1String("--name");
        if (!takesValue) {
            if (argument.startsWith(QLatin1Char('-')) && argument.size() > 1) {
                result.error = QStringLiteral("export: unknown option %1").arg(argument);
                return result;
            }
            if (!o.exportInput.isEmpty()) {
                result.error = QStringLiteral("export: unexpected argument %1").arg(argument);
                return result;
            }
            o.exportInput = argument;
            continue;
        }
        if (i + 1 >= arguments.size()) {
            result.error = QStringLiteral("%1 needs a value").arg(argument);
            return result;
        }
        const QString value = arguments[++i];
        if (argument == QLatin1String("--dissector") || argument == QLatin1String("--c-header")) {
            if (outputGiven) {
                result.error = QStringLiteral("export: only one of --dissector and --c-header");
                return result;
            }
            outputGiven = true;
            o.exportCHeader = argument == QLatin1String("--c-header");
            o.exportOutput = value;
        } else if (argument == QLatin1String("--port")) {
            DissectorGenerator::Transport transport = DissectorGenerator::NoTransport;
            if (!parseExportPort(value, &transport, &o.exportPort)
                || transport == DissectorGenerator::NoTransport) {
                result.error = bad(argument, value, QStringLiteral("expected udp:PORT or tcp:PORT"));
                return result;
            }
            o.exportTransport = transport;
            portGiven = true;
        } else if (argument == QLatin1String("--column")) {
            qint64 column = 0;
            if (!toInt(value, 0, 2, &column)) {
                result.error = bad(argument, value, QStringLiteral("expected a whole number from 0 to 2"));
                return result;
            }
            o.column = int(column);
        } else {
            o.exportName = value;
        }
    }
    if (!outputGiven || o.exportOutput.isEmpty())
        result.error = QStringLiteral("export needs --dissector OUT.lua or --c-header OUT.h");
    else if (o.exportInput.isEmpty())
        result.error = QStringLiteral("export needs a protocol file (.dvptc or .dvprx)");
    else if (portGiven && o.exportCHeader)
        result.error = QStringLiteral("--port belongs to --dissector");
    return result;
}

} // namespace

bool decodeTextEscapes(const QString &text, QByteArray *bytes)
{
    const QByteArray in = text.toUtf8();
    QByteArray out;
    out.reserve(in.size());
    for (int i = 0; i < in.size(); ++i) {
        const char c = in[i];
        if (c != '\\') {
            out += c;
            continue;
        }
        if (++i >= in.size())
            return false;
        switch (in[i]) {
        case 'r':
            out += '\r';
            break;
        case 'n':
            out += '\n';
            break;
        case 't':
            out += '\t';
            break;
        case '\\':
            out += '\\';
            break;
        case 'x': {
            const QByteArray digits = in.mid(i + 1, 2);
            bool ok = digits.size() == 2;
            const int value = ok ? digits.toInt(&ok, 16) : 0;
            if (!ok)
                return false;
            out += char(value);
            i += 2;
            break;
        }
        default:
            return false;
        }
    }
    *bytes = out;
    return true;
}

bool parseHexPattern(const QString &text, QByteArray *bytes, QByteArray *mask)
{
    QString compact = text;
    compact.remove(QRegularExpression(QStringLiteral("\\s")));
    if (compact.isEmpty() || compact.size() % 2 != 0)
        return false;
    QByteArray outBytes, outMask;
    for (int i = 0; i < compact.size(); i += 2) {
        const QString pair = compact.mid(i, 2);
        if (pair == QLatin1String("??")) {
            outBytes += '\0';
            outMask += '\0';
            continue;
        }
        bool ok = false;
        const int value = pair.toInt(&ok, 16);
        if (!ok || pair.contains(QLatin1Char('+')) || pair.contains(QLatin1Char('-')))
            return false;
        outBytes += char(value);
        outMask += char(0xFF);
    }
    *bytes = outBytes;
    *mask = outMask;
    return true;
}

ParsedArguments parseArguments(const QStringList &arguments)
{
    if (!arguments.isEmpty() && arguments.first() == QLatin1String("export"))
        return parseExportArguments(arguments.mid(1));
    ParsedArguments result;
    CliOptions &o = result.options;
    int i = 0;
    if (!arguments.isEmpty() && arguments.first() == QLatin1String("ports")) {
        o.command = CliOptions::Command::Ports;
        i = 1;
    }
    for (; i < arguments.size(); ++i) {
        const QString &argument = arguments[i];
        const OptionSpec *spec = nullptr;
        for (const OptionSpec &candidate : optionTable()) {
            if (argument == QLatin1String(candidate.name)) {
                spec = &candidate;
                break;
            }
        }
        if (!spec) {
            result.error = argument.startsWith(QLatin1Char('-'))
                               ? QStringLiteral("unknown option %1").arg(argument)
                               : QStringLiteral("unexpected argument %1").arg(argument);
            return result;
        }
        if (o.command == CliOptions::Command::Ports && argument != QLatin1String("--json")
            && argument != QLatin1String("--help") && argument != QLatin1String("-h")) {
            result.error = QStringLiteral("ports takes only --json");
            return result;
        }
        QString value;
        if (spec->takesValue) {
            if (i + 1 >= arguments.size()) {
                result.error = QStringLiteral("%1 needs a value").arg(argument);
                return result;
            }
            value = arguments[++i];
        }
        result.error = spec->apply(o, value);
        if (!result.error.isEmpty())
            return result;
        if (o.command == CliOptions::Command::Help || o.command == CliOptions::Command::Version)
            return result;
    }
    result.error = checkCombination(o);
    return result;
}

QString usageText()
{
    return QStringLiteral(
        "Usage: dorvane-cli CHANNEL [SEND] [WAIT] [OUTPUT]\n"
        "       dorvane-cli ports [--json]\n"
        "       dorvane-cli export (--dissector OUT.lua | --c-header OUT.h) FILE.dvptc|FILE.dvprx\n"
        "\n"
        "Channel (exactly one):\n"
        "  --serial PATH [--baud N] [--data-bits 5|6|7|8] [--stop-bits 1|1.5|2]\n"
        "                [--parity none|even|odd|space|mark] [--flow none|rtscts|xonxoff]\n"
        "  --tcp HOST:PORT\n"
        "  --tcp-server [ADDR:]PORT   waits for the first client (up to three);\n"
        "                             with --timeout it waits that long at most\n"
        "  --udp [ADDR:]LOCAL_PORT --to HOST:PORT [--multicast GROUP]\n"
        "What to send (any one; none = only listen):\n"
        "  --hex \"01 03 00 00 00 02\"   --text \"AT\\r\\n\" (\\r \\n \\t \\\\ \\xNN escapes)   --file PATH\n"
        "  --protocol FILE.dvptc [--column 0|1|2]   --set FILE.dvpts   --instructs FILE.dvits\n"
        "  --crc MODEL[:le|:be]   append the model's checksum to every frame (default :le):\n"
        "                         CRC_8 CRC_16_ARC CRC_16_XMODEM CRC_16_MODBUS CRC_32 CRC_32_POSIX\n"
        "  --count N (default 1, 0 = until stopped)   --interval MS (default 1000)\n"
        "  --timing coarse|precise|hires (default coarse)\n"
        "  A set or instruct file sends its items in order, --count times; without --interval\n"
        "  each item waits its own interval before the next.\n"
        "What to wait for:\n"
        "  --expect-hex \"01 03 04 ?? ?? ?? ??\"   (?? matches any byte)   --expect-text REGEX\n"
        "  --expect-frames FILE.dvprx [--frames N]   decoded values on stdout as CSV:\n"
        "                                            time in us,graph id,value\n"
        "  --timeout MS (default 1000, counted from the last frame sent)\n"
        "  --duration S   listen this long, then exit 0 (1 if an expectation is still unmet)\n"
        "Output:\n"
        "  received bytes on stdout as hex lines with us time stamps (default),\n"
        "  --raw (bytes as they are), --json (one object per chunk:\n"
        "  {\"t_us\":..., \"dir\":\"rx\"|\"tx\", \"hex\":\"...\"}), --quiet\n"
        "  --capture FILE(.log|.bin|.pcapng)   every chunk, as the workbench's \"Log to File\"\n"
        "  --stats   timing of periodic sending (period min, mean, p50, p99, max in µs, late and skipped\n"
        "            ticks, achieved rate) and gaps between received chunks, on stderr at exit, and\n"
        "            round trips of requests and replies (a reply: the first chunk, or frame\n"
        "            of --expect-frames, within the reply window after a send), replies\n"
        "            missing, and the checksum failures and sequence gaps of --expect-frames\n"
        "  --reply-window MS   for --stats, 1 to 60000 (default 1000)\n"
        "Export (a protocol document, no channel):\n"
        "  --dissector OUT.lua   a Wireshark Lua dissector (link type 147, the head pattern)\n"
        "      [--port udp:N|tcp:N]   also on this UDP or TCP port\n"
        "  --c-header OUT.h      a C11 header: packed struct, field readers and writers\n"
        "  [--column 0|1|2]   the value column of a transmit protocol (default 0)\n"
        "  [--name NAME]      the name in the output (default: the file's base name)\n"
        "\n"
        "Exit status: 0 sent and every expectation met (or the duration ran out);\n"
        "1 an expectation not met before its timeout; 2 bad usage, a document that\n"
        "cannot be read or a capture file that cannot be written; 3 the channel could\n"
        "not be opened or was lost; 130 interrupted. export: 0 written; 2 bad usage,\n"
        "a document that cannot be read or exported, or an output that cannot be written.\n");
}
