#include "simoptions.h"

#include <QCommandLineParser>

#include <cctype>

namespace {

const int kMaxRate = 10000;

// A whole number in [min, max], decimal or 0x hexadecimal.
bool readInt(const QString &text, int min, int max, int *value)
{
    bool ok = false;
    const qlonglong number = text.trimmed().toLongLong(&ok, 0);
    if (!ok || number < min || number > max)
        return false;
    *value = int(number);
    return true;
}

SimOptionsResult refuse(const QString &reason)
{
    SimOptionsResult result;
    result.exitCode = 2;
    result.message = reason + QStringLiteral("\nTry 'dorvane-devsim --help'.");
    return result;
}

QString rangeText(const QString &option, int min, int max)
{
    return QStringLiteral("--%1 takes a whole number from %2 to %3").arg(option).arg(min).arg(max);
}

} // namespace

QString SimOptions::modeName(Mode mode)
{
    switch (mode) {
    case Echo:
        return QStringLiteral("echo");
    case Telemetry:
        return QStringLiteral("telemetry");
    case Modbus:
        return QStringLiteral("modbus");
    case Reply:
        return QStringLiteral("reply");
    }
    return QString();
}

bool parseHexBytes(const QString &text, QByteArray *bytes)
{
    QByteArray digits;
    for (const QChar c : text) {
        if (c.isSpace() || c == QLatin1Char(':') || c == QLatin1Char(','))
            continue;
        if (c.unicode() > 0x7f || !std::isxdigit(static_cast<unsigned char>(c.toLatin1())))
            return false;
        digits.append(c.toLatin1());
    }
    if (digits.isEmpty() || digits.size() % 2 != 0)
        return false;
    *bytes = QByteArray::fromHex(digits);
    return true;
}

SimOptionsResult parseSimOptions(const QStringList &arguments)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Plays a device for the Dorvane workbench on a pseudo-terminal pair, a TCP port\n"
                       "and a UDP port of 127.0.0.1, and prints what it receives with microsecond stamps.\n"
                       "\n"
                       "Modes:\n"
                       "  echo       sends back every byte it receives.\n"
                       "  telemetry  sends 15-byte frames AA 55, counter (u16), sine (float), ramp\n"
                       "             (float), sum (u8), 0D 0A; numbers little endian; the sum is the\n"
                       "             low 8 bits of the byte sum of counter, sine and ramp (0 to 255).\n"
                       "             The sine swings between -100 and 100 and the ramp climbs from 0\n"
                       "             towards 100, both over --period frames.\n"
                       "  modbus     a Modbus RTU slave: function 3 (read holding registers) and\n"
                       "             function 6 (write one register), CRC-16/MODBUS; exception 1 for\n"
                       "             other functions, 2 for addresses beyond the registers, 3 for a\n"
                       "             bad count. Frames with a wrong CRC are ignored, as on a bus.\n"
                       "  reply      answers each --request with its --response after --delay ms.\n"
                       "\n"
                       "Without --pty, --link, --tcp or --udp the device plays on a pseudo-terminal.\n"
                       "SIGINT or SIGTERM stops it cleanly (the --link symlink is removed)."));
    parser.addHelpOption();
    parser.addVersionOption();
    const QCommandLineOption modeOption(QStringLiteral("mode"),
                                        QStringLiteral("echo, telemetry, modbus or reply (default echo)."),
                                        QStringLiteral("mode"), QStringLiteral("echo"));
    const QCommandLineOption ptyOption(
        QStringLiteral("pty"), QStringLiteral("Play on a pseudo-terminal pair; prints the path to open."));
    const QCommandLineOption linkOption(
        QStringLiteral("link"),
        QStringLiteral("Also make a symlink to the pseudo-terminal at <path> (implies --pty)."),
        QStringLiteral("path"));
    const QCommandLineOption tcpOption(
        QStringLiteral("tcp"), QStringLiteral("Listen on TCP 127.0.0.1:<port> (0 picks a free port)."),
        QStringLiteral("port"));
    const QCommandLineOption udpOption(
        QStringLiteral("udp"),
        QStringLiteral("Bind UDP 127.0.0.1:<port> (0 picks a free port); answers go to the sender."),
        QStringLiteral("port"));
    const QCommandLineOption udpPeerOption(
        QStringLiteral("udp-peer"),
        QStringLiteral("Telemetry: also send to UDP 127.0.0.1:<port> before that peer has sent anything."),
        QStringLiteral("port"));
    const QCommandLineOption rateOption(
        QStringLiteral("rate"), QStringLiteral("Telemetry frames per second, 1 to 10000 (default 100)."),
        QStringLiteral("frames"), QStringLiteral("100"));
    const QCommandLineOption periodOption(
        QStringLiteral("period"), QStringLiteral("Telemetry frames per sine cycle and ramp (default 100)."),
        QStringLiteral("frames"), QStringLiteral("100"));
    const QCommandLineOption garbageOption(
        QStringLiteral("garbage"),
        QStringLiteral("Telemetry: percentage of frames preceded by 1 to 8 garbage bytes (default 0)."),
        QStringLiteral("percent"), QStringLiteral("0"));
    const QCommandLineOption dropOption(
        QStringLiteral("drop"),
        QStringLiteral("Telemetry: percentage of frames left out; the counter still advances (default 0)."),
        QStringLiteral("percent"), QStringLiteral("0"));
    const QCommandLineOption seedOption(QStringLiteral("seed"),
                                        QStringLiteral("Seed of the garbage and drop choices (default 1)."),
                                        QStringLiteral("number"), QStringLiteral("1"));
    const QCommandLineOption unitOption(QStringLiteral("unit"),
                                        QStringLiteral("Modbus unit address, 1 to 247 (default 1)."),
                                        QStringLiteral("address"), QStringLiteral("1"));
    const QCommandLineOption registerCountOption(
        QStringLiteral("register-count"),
        QStringLiteral("Modbus holding registers, 1 to 65536 (default 100)."), QStringLiteral("count"),
        QStringLiteral("100"));
    const QCommandLineOption registersOption(
        QStringLiteral("registers"),
        QStringLiteral("Modbus register values from address 0, comma-separated (default 0x1234,0x5678)."),
        QStringLiteral("values"), QStringLiteral("0x1234,0x5678"));
    const QCommandLineOption requestOption(
        QStringLiteral("request"), QStringLiteral("Reply: hex bytes to answer (give once per --response)."),
        QStringLiteral("hex"));
    const QCommandLineOption responseOption(
        QStringLiteral("response"), QStringLiteral("Reply: hex bytes sent for the matching --request."),
        QStringLiteral("hex"));
    const QCommandLineOption delayOption(
        QStringLiteral("delay"), QStringLiteral("Reply: milliseconds before the response, 0 to 60000."),
        QStringLiteral("ms"), QStringLiteral("0"));
    const QCommandLineOption quietOption(
        QStringLiteral("quiet"), QStringLiteral("Do not print the traffic, only where the device plays."));
    parser.addOptions({modeOption, ptyOption, linkOption, tcpOption, udpOption, udpPeerOption, rateOption,
                       periodOption, garbageOption, dropOption, seedOption, unitOption, registerCountOption,
                       registersOption, requestOption, responseOption, delayOption, quietOption});

    if (!parser.parse(arguments))
        return refuse(parser.errorText());

    SimOptionsResult result;
    if (parser.isSet(QStringLiteral("help"))) {
        result.message = parser.helpText();
        return result;
    }
    if (parser.isSet(QStringLiteral("version"))) {
        result.message = QStringLiteral("dorvane-devsim 1.0.0");
        return result;
    }
    if (!parser.positionalArguments().isEmpty())
        return refuse(QStringLiteral("unexpected argument '%1'").arg(parser.positionalArguments().first()));

    SimOptions &o = result.options;
    const QString mode = parser.value(modeOption);
    if (mode == QLatin1String("echo"))
        o.mode = SimOptions::Echo;
    else if (mode == QLatin1String("telemetry"))
        o.mode = SimOptions::Telemetry;
    else if (mode == QLatin1String("modbus"))
        o.mode = SimOptions::Modbus;
    else if (mode == QLatin1String("reply"))
        o.mode = SimOptions::Reply;
    else
        return refuse(QStringLiteral("unknown mode '%1' (echo, telemetry, modbus or reply)").arg(mode));

    o.pty = parser.isSet(ptyOption) || parser.isSet(linkOption);
    o.linkPath = parser.value(linkOption);
    if (parser.isSet(linkOption) && o.linkPath.isEmpty())
        return refuse(QStringLiteral("--link needs a path"));
    if (parser.isSet(tcpOption) && !readInt(parser.value(tcpOption), 0, 65535, &o.tcpPort))
        return refuse(rangeText(QStringLiteral("tcp"), 0, 65535));
    if (parser.isSet(udpOption) && !readInt(parser.value(udpOption), 0, 65535, &o.udpPort))
        return refuse(rangeText(QStringLiteral("udp"), 0, 65535));
    if (parser.isSet(udpPeerOption) && !readInt(parser.value(udpPeerOption), 1, 65535, &o.udpPeerPort))
        return refuse(rangeText(QStringLiteral("udp-peer"), 1, 65535));
    if (o.udpPeerPort > 0 && o.udpPort < 0)
        return refuse(QStringLiteral("--udp-peer needs --udp"));
    if (!o.pty && o.tcpPort < 0 && o.udpPort < 0)
        o.pty = true;

    if (!readInt(parser.value(rateOption), 1, kMaxRate, &o.rate))
        return refuse(rangeText(QStringLiteral("rate"), 1, kMaxRate));
    if (!readInt(parser.value(periodOption), 2, 1000000, &o.period))
        return refuse(rangeText(QStringLiteral("period"), 2, 1000000));
    if (!readInt(parser.value(garbageOption), 0, 100, &o.garbagePercent))
        return refuse(rangeText(QStringLiteral("garbage"), 0, 100));
    if (!readInt(parser.value(dropOption), 0, 100, &o.dropPercent))
        return refuse(rangeText(QStringLiteral("drop"), 0, 100));
    int seed = 0;
    if (!readInt(parser.value(seedOption), 0, 0x7fffffff, &seed))
        return refuse(rangeText(QStringLiteral("seed"), 0, 0x7fffffff));
    o.seed = quint32(seed);

    if (!readInt(parser.value(unitOption), 1, 247, &o.unit))
        return refuse(rangeText(QStringLiteral("unit"), 1, 247));
    if (!readInt(parser.value(registerCountOption), 1, 65536, &o.registerCount))
        return refuse(rangeText(QStringLiteral("register-count"), 1, 65536));
    const QString registerText = parser.value(registersOption).trimmed();
    if (!registerText.isEmpty()) {
        for (const QString &part : registerText.split(QLatin1Char(','))) {
            int value = 0;
            if (!readInt(part, 0, 0xffff, &value))
                return refuse(
                    QStringLiteral("--registers takes values from 0 to 0xFFFF, not '%1'").arg(part));
            o.registers.append(quint16(value));
        }
    }
    if (o.registers.size() > o.registerCount)
        return refuse(QStringLiteral("--registers gives %1 values for %2 registers")
                          .arg(o.registers.size())
                          .arg(o.registerCount));

    const QStringList requests = parser.values(requestOption);
    const QStringList responses = parser.values(responseOption);
    if (requests.size() != responses.size())
        return refuse(QStringLiteral("every --request needs its --response"));
    for (int i = 0; i < requests.size(); ++i) {
        QByteArray request;
        QByteArray response;
        if (!parseHexBytes(requests.at(i), &request))
            return refuse(QStringLiteral("--request '%1' is not hex bytes").arg(requests.at(i)));
        if (!parseHexBytes(responses.at(i), &response))
            return refuse(QStringLiteral("--response '%1' is not hex bytes").arg(responses.at(i)));
        o.replies.append({request, response});
    }
    if (o.mode == SimOptions::Reply && o.replies.isEmpty())
        return refuse(QStringLiteral("reply mode needs at least one --request and --response"));
    if (!readInt(parser.value(delayOption), 0, 60000, &o.delayMs))
        return refuse(rangeText(QStringLiteral("delay"), 0, 60000));

    o.quiet = parser.isSet(quietOption);
    result.ok = true;
    return result;
}
