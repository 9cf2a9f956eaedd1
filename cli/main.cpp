// dorvane-cli: send, expect and capture from scripts, CI jobs and test rigs.
#include "clioptions.h"
#include "clirun.h"
#include "exportcommand.h"
#include "portlist.h"

#include <dorvane/context.h>

#include <QCoreApplication>
#include <QLoggingCategory>

#include <cstdio>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    // The channel layer's debug lines (socket states) are not for a script's stderr.
    QLoggingCategory::setFilterRules(QStringLiteral("*.debug=false"));
    QCoreApplication::setApplicationName(QStringLiteral("dorvane-cli"));
    QCoreApplication::setApplicationVersion(QStringLiteral(DORVANE_VERSION));

    const ParsedArguments parsed = parseArguments(QCoreApplication::arguments().mid(1));
    if (!parsed.error.isEmpty()) {
        std::fprintf(stderr, "dorvane-cli: %s\nTry dorvane-cli --help.\n", qPrintable(parsed.error));
        return ExitUsage;
    }
    switch (parsed.options.command) {
    case CliOptions::Command::Help:
        std::fputs(qPrintable(usageText()), stdout);
        return ExitOk;
    case CliOptions::Command::Version:
        std::printf("dorvane-cli %s\n", DORVANE_VERSION);
        return ExitOk;
    case CliOptions::Command::Ports:
        return listPorts(parsed.options.json);
    case CliOptions::Command::Export:
    case CliOptions::Command::Run:
        break;
    }

    Context context;
    context.Initialize();
    if (parsed.options.command == CliOptions::Command::Export)
        return runExport(parsed.options, &context);
    int status;
    {
        CliRun run(parsed.options, &context);
        status = run.exec();
    }
    std::fflush(stdout);
    return status;
}
