#pragma once

#include <dorvane/dissectorgenerator.h>

#include <QString>

class RxProtocol;
class TxProtocol;

// What a protocol is exported as, and how. The same options serve the
// windows' export dialog and the command line.
struct ProtocolExportOptions
{
    enum Kind { WiresharkDissector, CHeader };

    Kind kind = WiresharkDissector;
    // The protocol's name in the output (Wireshark's filter name, the
    // header's identifier prefix); the generators make it safe.
    QString name;
    // Dissector only: one UDP or TCP port besides link type 147.
    DissectorGenerator::Transport transport = DissectorGenerator::NoTransport;
    int port = 0;
    // Transmit protocols: the value column the frames are built from.
    int column = 0;
};

// "udp:5000" or "tcp:5000" (any case); "" and "none" clear the port. False
// for anything else, or a port outside 1 to 65535.
bool parseExportPort(const QString &text, DissectorGenerator::Transport *transport, int *port);

// The name a document suggests for its export: its file's base name, or
// "dorvane" for one never saved.
QString exportNameForPath(const QString &documentPath);

enum class ExportOutcome {
    Exported,
    NotExportable,  // the generator refused the protocol; nothing was written
    FileNotWritten, // the file could not be written; the old one stays
};

// Generates the output and writes it to path atomically: on any failure the
// file that was there stays as it was. Anything but Exported comes with a
// message for the user in *error: the generator's reason why the protocol
// cannot be exported, or why the file cannot be written. A receive
// protocol's checksum role is checked by the output; transmit protocols have
// no checksum to declare.
ExportOutcome exportProtocol(const TxProtocol *protocol, const ProtocolExportOptions &options,
                             const QString &path, QString *error);
ExportOutcome exportProtocol(const RxProtocol *protocol, const ProtocolExportOptions &options,
                             const QString &path, QString *error);
