#pragma once

#include <dorvane/channelparams.h>

#include <QByteArray>
#include <QString>
#include <QStringList>

// Everything the command line asks for, checked: a parsed CliOptions always
// names one channel (for a run) and values inside their ranges.
struct CliOptions
{
    enum class Command { Run, Ports, Export, Help, Version };
    enum class Channel { None, Serial, TcpClient, TcpServer, Udp };
    enum class Payload { None, Hex, Text, File, Protocol, Set, Instructs };
    enum class Output { Hex, Raw, Json };

    Command command = Command::Run;

    Channel channel = Channel::None;
    QString serialPath;
    qint32 baudRate = 9600;
    qint32 dataBits = 8;
    qint32 stopBits = 1; // QSerialPort values: 1 one, 2 two, 3 one and a half
    qint32 parity = 0;   // QSerialPort values: 0 none, 2 even, 3 odd, 4 space, 5 mark
    int flow = 0;        // a SerialFlowControl value
    QString remoteHost;  // TCP client, or the UDP peer
    quint16 remotePort = 0;
    QString localAddress; // TCP server and UDP
    quint16 localPort = 0;
    QString multicastGroup;
    bool toGiven = false;

    Payload payload = Payload::None;
    QByteArray payloadBytes; // --hex and --text, decoded
    QString payloadPath;     // --file, --protocol, --set, --instructs
    int column = 0;
    int crcModel = -1; // -1 none, else an index of crcModelNames()
    bool crcLittleEndian = true;
    qint64 count = 1;   // 0 until stopped
    int intervalMs = 0; // 0: not given (1000 for repeated sends, or the items' own delays)
    TimingStrategy timing = CoarseTiming;

    QByteArray expectBytes; // --expect-hex, with expectMask 0 where "??" matches anything
    QByteArray expectMask;
    QString expectText;
    QString expectFrames;
    int frames = 1;
    int timeoutMs = 1000;
    bool timeoutGiven = false;
    qint64 durationMs = 0; // 0: no duration

    Output output = Output::Hex;
    bool quiet = false;
    bool stats = false;
    int replyWindowMs = 1000;
    bool json = false; // "ports --json"
    QString capturePath;

    // "export": the protocol document, what it becomes and where it goes.
    bool exportCHeader = false; // false: a Wireshark dissector
    QString exportOutput;
    QString exportInput;
    QString exportName;      // empty: the document's base name
    int exportTransport = 0; // a DissectorGenerator::Transport
    int exportPort = 0;

    bool hasExpectation() const
    {
        return !expectBytes.isEmpty() || !expectText.isEmpty() || !expectFrames.isEmpty();
    }
};

struct ParsedArguments
{
    CliOptions options;
    QString error; // empty when the command line is usable
};

// Reads the arguments after the program name.
ParsedArguments parseArguments(const QStringList &arguments);

// "\r", "\n", "\t", "\\" and "\xNN" in a --text argument; false for an
// escape it does not know or a "\x" without two hex digits.
bool decodeTextEscapes(const QString &text, QByteArray *bytes);

// "01 03 ?? 04": hex pairs and "??" for any byte. False for anything else.
bool parseHexPattern(const QString &text, QByteArray *bytes, QByteArray *mask);

QString usageText();
