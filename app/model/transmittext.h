#pragma once

#include <QString>

#include <dorvane/app_export.h>

#include <memory>

class TxProtocol;

// A transmit text is what the transmit window, the history and the instruct
// sets store and send: hex digits or plain text, by its text mode.
enum TransmitTextMode : int {
    HexTextMode = 0,
    PlainTextMode = 1,
};

// Keeps the hex digits of a text, pairs them into bytes joined by single
// spaces and pads a lone digit before a separator or at the end with "0":
// "1 2 abc" becomes "01 02 ab 0c".
DORVANE_APP_EXPORT QString normalizeHexDigits(const QString &text);

// The bytes of a hex transmit text as normalised pairs, "//" comments cut:
// "aa bb // x\nc" becomes "aa bb 0c".
DORVANE_APP_EXPORT QString hexTransmitBytes(const QString &text);

// The parameter text of an Array value that sends the transmit text: hex text
// loses its "//" comments and becomes "0x[aa bb]"; plain text is quoted with
// its backslashes and quotes escaped. Another mode leaves the text as it is.
DORVANE_APP_EXPORT QString convertTransmitText(const QString &text, int textMode);

// A protocol of one unsigned-byte field whose first value is an Array holding
// the converted text.
DORVANE_APP_EXPORT std::unique_ptr<TxProtocol> makeTransmitProtocol(const QString &text, int textMode);
