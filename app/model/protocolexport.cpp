#include "model/protocolexport.h"

#include <dorvane/cheadergenerator.h>
#include <dorvane/rxprotocol.h>
#include <dorvane/txprotocol.h>

#include <QFileInfo>
#include <QSaveFile>

#include <string>

namespace {

// Generator texts are ASCII apart from field names, which come from the
// document in the local encoding.
bool writeSource(const std::string &source, const QString &path, QString *error)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        *error = file.errorString();
        return false;
    }
    const qint64 size = qint64(source.size());
    if (file.write(source.data(), size) != size) {
        *error = file.errorString();
        file.cancelWriting();
        return false;
    }
    if (!file.commit()) {
        *error = file.errorString();
        return false;
    }
    return true;
}

template<typename P>
bool generate(const P *protocol, const ProtocolExportOptions &options, const FrameChecksum *checksum,
              std::string *source, QString *error)
{
    const std::string name = options.name.toLocal8Bit().toStdString();
    std::string message;
    bool ok = false;
    if (options.kind == ProtocolExportOptions::WiresharkDissector) {
        DissectorGenerator generator;
        generator.SetName(name);
        generator.SetTitle(name);
        generator.SetValueColumn(options.column);
        generator.SetPort(options.transport, options.port);
        if (checksum)
            generator.SetChecksum(*checksum);
        ok = generator.Generate(protocol, *source);
        message = generator.GetError();
    } else {
        CHeaderGenerator generator;
        generator.SetName(name);
        generator.SetValueColumn(options.column);
        if (checksum)
            generator.SetChecksum(*checksum);
        ok = generator.Generate(protocol, *source);
        message = generator.GetError();
    }
    if (!ok)
        *error = QString::fromLocal8Bit(message.c_str());
    return ok;
}

template<typename P>
ExportOutcome exportWith(const P *protocol, const ProtocolExportOptions &options,
                         const FrameChecksum *checksum, const QString &path, QString *error)
{
    QString reason;
    std::string source;
    if (!protocol) {
        reason = QStringLiteral("no protocol is open");
    } else if (path.isEmpty()) {
        reason = QStringLiteral("no file name was given");
    } else if (generate(protocol, options, checksum, &source, &reason)) {
        if (writeSource(source, path, &reason))
            return ExportOutcome::Exported;
        *error = reason;
        return ExportOutcome::FileNotWritten;
    }
    *error = reason;
    return ExportOutcome::NotExportable;
}

} // namespace

bool parseExportPort(const QString &text, DissectorGenerator::Transport *transport, int *port)
{
    const QString word = text.trimmed().toLower();
    if (word.isEmpty() || word == QLatin1String("none")) {
        *transport = DissectorGenerator::NoTransport;
        *port = 0;
        return true;
    }
    DissectorGenerator::Transport kind;
    if (word.startsWith(QLatin1String("udp:")))
        kind = DissectorGenerator::Udp;
    else if (word.startsWith(QLatin1String("tcp:")))
        kind = DissectorGenerator::Tcp;
    else
        return false;
    bool ok = false;
    const int number = word.mid(4).toInt(&ok, 10);
    if (!ok || number < 1 || number > 65535)
        return false;
    *transport = kind;
    *port = number;
    return true;
}

QString exportNameForPath(const QString &documentPath)
{
    const QString base = QFileInfo(documentPath).completeBaseName();
    return base.isEmpty() ? QStringLiteral("dorvane") : base;
}

ExportOutcome exportProtocol(const TxProtocol *protocol, const ProtocolExportOptions &options,
                             const QString &path, QString *error)
{
    // The value generators have no CRC: a transmit frame declares no checksum.
    return exportWith(protocol, options, nullptr, path, error);
}

ExportOutcome exportProtocol(const RxProtocol *protocol, const ProtocolExportOptions &options,
                             const QString &path, QString *error)
{
    const FrameChecksum *checksum
        = protocol && protocol->GetRoles().hasChecksum ? &protocol->GetRoles().checksum : nullptr;
    return exportWith(protocol, options, checksum, path, error);
}
