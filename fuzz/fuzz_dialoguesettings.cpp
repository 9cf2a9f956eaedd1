// Arbitrary bytes as the dialogue settings file, read through the code the
// echo view's constructor uses. Reading must never crash and must leave
// every option within its range; what it accepts must write and read back
// unchanged.
#include "model/echosettings.h"

#include <QColor>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace {

void check(bool condition, const char *what)
{
    if (!condition) {
        std::fprintf(stderr, "dialogue settings broken: %s\n", what);
        std::abort();
    }
}

bool same(const EchoSettings &a, const EchoSettings &b)
{
    return a.echoRx == b.echoRx && a.echoTx == b.echoTx && a.displayLabel == b.displayLabel
           && a.displayDate == b.displayDate && a.dataInNewLine == b.dataInNewLine
           && a.interpretRx == b.interpretRx && a.interpretTx == b.interpretTx
           && a.interpretTrigger == b.interpretTrigger && a.breakSymbol == b.breakSymbol
           && a.breakRepeat == b.breakRepeat && a.breakInterval == b.breakInterval
           && a.breakColor == b.breakColor;
}

const QString &directory()
{
    static QTemporaryDir dir;
    static const QString path = dir.path();
    return path;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString input = directory() + QStringLiteral("/dialogue.settings");
    {
        QFile file(input);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
            return 0;
        file.write(reinterpret_cast<const char *>(data), qint64(size));
    }

    EchoSettings settings;
    const bool accepted = readEchoSettings(input, settings);
    check(echoBreakSymbols().contains(settings.breakSymbol), "symbol outside the list");
    check(settings.breakRepeat >= 0 && settings.breakRepeat <= 80, "repeat count out of range");
    check(settings.breakInterval >= 0 && settings.breakInterval <= 256, "interval out of range");
    check(settings.interpretTrigger == 0 || settings.interpretTrigger == 1, "trigger out of range");
    check(qAlpha(settings.breakColor) == 255, "break colour not opaque");
    if (!accepted)
        return 0;

    const QString output = directory() + QStringLiteral("/written.settings");
    check(writeEchoSettings(output, settings), "write failed");
    EchoSettings again;
    again.breakSymbol = QStringLiteral("+");
    again.breakRepeat = 3;
    again.breakColor = qRgb(1, 2, 3);
    check(readEchoSettings(output, again), "written file refused");
    check(same(settings, again), "round trip changed a value");
    return 0;
}
