#pragma once
// The peers the tests talk to (pseudo-terminals, socat, a pymodbus device,
// tshark) and what happens when one is missing. A test that cannot find its
// peer skips with the exact reason; under DORVANE_REQUIRE_PEERS=1, which the
// test command sets, it fails with that reason instead, so a run that could
// not check everything never passes. Skips about the machine itself (running
// as root, no multicast on loopback) are plain QSKIPs and stay skips.

#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QString>
#include <QStringList>
#include <QtTest>

inline bool peersRequired()
{
    return qEnvironmentVariableIntValue("DORVANE_REQUIRE_PEERS") != 0;
}

// Skips, or fails when peers are required, saying what is missing.
#define DORVANE_PEER_MISSING(reason)                                                                         \
    do {                                                                                                     \
        if (peersRequired())                                                                                 \
            QFAIL(qPrintable(QStringLiteral("missing peer (DORVANE_REQUIRE_PEERS=1): %1")                    \
                                 .arg(QString::fromLocal8Bit(reason))));                                     \
        QSKIP(reason);                                                                                       \
    } while (false)

// "socat is not installed" when the program is not on the PATH, else empty.
inline QString missingProgram(const QString &program)
{
    return QStandardPaths::findExecutable(program).isEmpty()
               ? QStringLiteral("%1 is not installed").arg(program)
               : QString();
}

// Finds a Python that can run the pymodbus serial device (the server and the
// serial modules under it). Empty when one is found, with *python set;
// otherwise what is missing, in Python's own words, e.g. "pymodbus cannot
// import pymodbus.server: No module named 'serial'".
inline QString missingPymodbus(QString *python)
{
    const QStringList modules{QStringLiteral("pymodbus.server"), QStringLiteral("serial"),
                              QStringLiteral("serial_asyncio")};
    QString reason;
    // The system's Python first: that is where the Debian packages go.
    for (const QString &candidate : {QStringLiteral("/usr/bin/python3"), QStringLiteral("python3")}) {
        if (QStandardPaths::findExecutable(candidate).isEmpty() && !QFile::exists(candidate))
            continue;
        QString failure;
        for (const QString &module : modules) {
            QProcess probe;
            probe.start(candidate, {QStringLiteral("-c"), QStringLiteral("import ") + module});
            if (!probe.waitForFinished(20000)) {
                probe.kill();
                probe.waitForFinished(3000);
                failure = QStringLiteral("pymodbus cannot import %1: python3 did not answer").arg(module);
                break;
            }
            if (probe.exitStatus() == QProcess::NormalExit && probe.exitCode() == 0)
                continue;
            // The last line of the traceback: "ModuleNotFoundError: No module named 'serial'".
            QString error = QString::fromLocal8Bit(probe.readAllStandardError()).trimmed();
            error = error.mid(error.lastIndexOf(QLatin1Char('\n')) + 1);
            error = error.mid(error.indexOf(QLatin1String(": ")) + 1).trimmed();
            failure = QStringLiteral("pymodbus cannot import %1: %2").arg(module, error);
            break;
        }
        if (failure.isEmpty()) {
            *python = candidate;
            return QString();
        }
        // The system Python's reason is the one to tell.
        if (reason.isEmpty())
            reason = failure;
    }
    return reason.isEmpty() ? QStringLiteral("python3 is not installed") : reason;
}
