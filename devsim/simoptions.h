#pragma once

#include <QByteArray>
#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>

// What the simulator plays and where, from its command line.
struct SimOptions
{
    enum Mode { Echo, Telemetry, Modbus, Reply };

    Mode mode = Echo;

    bool pty = false;
    QString linkPath; // symlink to the pseudo-terminal's path, empty for none
    int tcpPort = -1; // -1: no TCP port; 0: any free port
    int udpPort = -1;
    int udpPeerPort = 0; // telemetry also goes to 127.0.0.1:this port when set

    // Telemetry.
    int rate = 100;   // frames per second
    int period = 100; // frames per sine cycle and per ramp
    int garbagePercent = 0;
    int dropPercent = 0;
    quint32 seed = 1;

    // Modbus.
    int unit = 1;
    int registerCount = 100;
    QList<quint16> registers; // initial holding registers from address 0

    // Reply: request → response, matched in the order given.
    QList<QPair<QByteArray, QByteArray>> replies;
    int delayMs = 0;

    bool quiet = false;

    static QString modeName(Mode mode);
};

// Result of reading the command line: the options, or what to print and the
// exit code (help, version, or a clear word on a bad argument).
struct SimOptionsResult
{
    bool ok = false;
    int exitCode = 0;
    QString message; // help text, or the reason the line was refused
    SimOptions options;
};

SimOptionsResult parseSimOptions(const QStringList &arguments);

// Hex text ("01 03 0a", "0103", "01:03") to bytes; false for anything else
// (an odd digit count, a non-hex character, nothing at all).
bool parseHexBytes(const QString &text, QByteArray *bytes);
