#pragma once

#include <QString>
#include <QStringList>

#include <dorvane/app_export.h>

#include <string>

// The options of the dialogue echo view that persist in the dialogue
// settings file, with their defaults.
struct EchoSettings
{
    bool echoRx = true;
    bool echoTx = true;
    bool displayLabel = true;
    bool displayDate = false;
    // Labels with µs, and with the time since the previous chunk.
    bool displayMicroseconds = false;
    bool displayDelta = false;
    bool dataInNewLine = false;
    bool interpretRx = false;
    bool interpretTx = false;
    int interpretTrigger = 0;
    QString breakSymbol = QStringLiteral("-");
    int breakRepeat = 80;
    int breakInterval = 5;
    // 0xAARRGGBB, always opaque (the same value a QRgb holds).
    quint32 breakColor = 0xFFED1C24u;
};

// The break symbols every break-symbol list offers, in their order.
DORVANE_APP_EXPORT const QStringList &echoBreakSymbols();
// The symbol itself when it is one of the break symbols, else the first one.
DORVANE_APP_EXPORT QString validBreakSymbol(const QString &symbol);
// Negative counts become 1; the repeat count stops at 80, the interval at 256.
DORVANE_APP_EXPORT int clampBreakRepeat(long long repeat);
DORVANE_APP_EXPORT int clampBreakInterval(long long interval);

// Applies a dialogue settings document to the settings: every key that the
// document defines with a usable value, nothing else. False (and nothing
// applied) when the text does not parse or lacks the two identification keys.
DORVANE_APP_EXPORT bool applyEchoSettingsText(const std::string &text, EchoSettings &settings);
// Reads the file through applyEchoSettingsText; false for a file that is
// missing, unreadable, oversized or refused.
DORVANE_APP_EXPORT bool readEchoSettings(const QString &path, EchoSettings &settings);
// Writes the complete document atomically; false (and the old file kept)
// when it cannot be written.
DORVANE_APP_EXPORT bool writeEchoSettings(const QString &path, const EchoSettings &settings);
