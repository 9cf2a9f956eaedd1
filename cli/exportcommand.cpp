#include "exportcommand.h"

#include "clirun.h"
#include "model/protocolexport.h"

#include <dorvane/rxprotocol.h>
#include <dorvane/txprotocol.h>

#include <QFile>
#include <QFileInfo>

#include <cstdio>
#include <memory>

namespace {

int fail(const QString &message)
{
    std::fprintf(stderr, "dorvane-cli: %s\n", qPrintable(message));
    return ExitUsage;
}

int report(ExportOutcome outcome, const CliOptions &options, const QString &error)
{
    switch (outcome) {
    case ExportOutcome::Exported:
        return ExitOk;
    case ExportOutcome::NotExportable:
        return fail(QStringLiteral("%1: cannot be exported: %2").arg(options.exportInput, error));
    case ExportOutcome::FileNotWritten:
        return fail(QStringLiteral("%1: cannot be written: %2").arg(options.exportOutput, error));
    }
    return ExitUsage;
}

} // namespace

int runExport(const CliOptions &options, Context *context)
{
    const QString &input = options.exportInput;
    if (!QFileInfo(input).isFile())
        return fail(QStringLiteral("%1: no such file").arg(input));
    // A slip of the argument order must not overwrite the document with its own export.
    if (QFileInfo(options.exportOutput).canonicalFilePath() == QFileInfo(input).canonicalFilePath())
        return fail(
            QStringLiteral("%1: the output would replace the protocol document").arg(options.exportOutput));

    ProtocolExportOptions exportOptions;
    exportOptions.kind
        = options.exportCHeader ? ProtocolExportOptions::CHeader : ProtocolExportOptions::WiresharkDissector;
    exportOptions.name = options.exportName.isEmpty() ? exportNameForPath(input) : options.exportName;
    exportOptions.transport = DissectorGenerator::Transport(options.exportTransport);
    exportOptions.port = options.exportPort;
    exportOptions.column = options.column;

    // Each reader takes only its own document title, so the file says which it is.
    const std::string path = QFile::encodeName(input).toStdString();
    QString error;
    auto tx = std::make_unique<TxProtocol>();
    if (tx->Load(path, context)) {
        if (options.column >= tx->GetValueCountPerField())
            return fail(QStringLiteral("%1: --column %2, but the protocol has %3 value column(s)")
                            .arg(input)
                            .arg(options.column)
                            .arg(tx->GetValueCountPerField()));
        return report(exportProtocol(tx.get(), exportOptions, options.exportOutput, &error), options, error);
    }
    auto rx = std::make_unique<RxProtocol>();
    if (rx->Load(path, context)) {
        if (options.column != 0)
            return fail(QStringLiteral("%1: --column belongs to transmit protocols").arg(input));
        return report(exportProtocol(rx.get(), exportOptions, options.exportOutput, &error), options, error);
    }
    return fail(QStringLiteral("%1: not a readable transmit- or receive-protocol file").arg(input));
}
