#pragma once

#include "model/echosettings.h"

#include <QByteArray>
#include <QColor>
#include <QDateTime>
#include <QList>
#include <QString>
#include <QTextBlockUserData>
#include <QTextCharFormat>
#include <QTextEdit>

#include <climits>
#include <deque>

class QTextCursor;
class QTimer;

// The state of an EchoTextEdit: its options, formats, break line, ruler
// lines and the chunks waiting for the next batch.
class EchoTextEditPrivate
{
public:
    // Attached to the block of a data line that may be picked.
    class BlockData : public QTextBlockUserData
    {
    public:
        BlockData(int offset, int size, bool textMode)
            : offset(offset)
            , size(size)
            , textMode(textMode)
        {
        }
        // Position in the block where the data starts; -1 without a label.
        int offset;
        // Bytes shown on the line.
        int size;
        // Shown as text rather than hex pairs.
        bool textMode;
    };

    // A chunk waiting to be drawn, with the time the channel stamped on it.
    struct Chunk
    {
        QDateTime time;
        QByteArray data;
        int direction;
        qint64 monotonicUs = 0; // the channel's steady stamp, 0 when unknown
        // The TCP-server client a chunk came from or went to alone; the
        // text of a note line.
        QString source;
    };

    // One line of the log as kept beside the document: its text, how much
    // of it is label, the format of the rest and what a pick needs.
    enum LineKind : quint8 { LabelLine, RxLine, TxLine, BreakLine };
    struct Line
    {
        QString text;
        int labelLength = 0;
        LineKind kind = RxLine;
        bool pickable = false;
        int offset = -1;
        int size = 0;
        bool textMode = false;
    };

    EchoTextEditPrivate();

    // Appends the line to the log and, as a new block, to the document.
    void appendLine(QTextCursor &cursor, Line line);
    void appendLine(QTextCursor &cursor, const QString &text, LineKind kind);
    // Writes the line's text into the cursor's (empty) block.
    void writeLine(QTextCursor &cursor, const Line &line) const;
    const QTextCharFormat &formatOf(LineKind kind) const;

    EchoSettings settingsSnapshot() const;
    void applySettings(const EchoSettings &settings);

    QString settingsFile;

    int echoMode = 0;
    bool echoRx = true;
    bool echoTx = true;
    bool displayLabel = true;
    bool displayDate = false;
    bool displayMicroseconds = false;
    bool displayDelta = false;
    bool paused = false;
    // Stamps of the last chunk drawn, for the delta; 0 when unknown.
    qint64 previousChunkUs = 0;
    qint64 previousWallUs = 0;
    // Wall-clock µs minus the steady clock, fixed at start.
    qint64 wallOffsetUs = 0;
    // The local offset from UTC for a second from localOffsetFromMs on.
    qint64 localOffsetFromMs = LLONG_MIN / 2;
    int localOffsetSeconds = 0;
    bool reportDetails = false;
    bool dataInNewLine = false;
    QTextCharFormat labelFormat;
    QTextCharFormat rxFormat;
    QTextCharFormat txFormat;
    bool interpretRx = false;
    bool interpretTx = false;
    int interpretTrigger = 0;
    QTextEdit::ExtraSelection interpretSelection;
    QTextEdit::ExtraSelection clearSelection;
    QString breakSymbol;
    int breakRepeat = 80;
    bool autoBreak = false;
    int breakInterval = 5;
    QTextCharFormat breakFormat;
    QTextBlockFormat blockFormat;
    QString breakLine;
    int packetCounter = 0;
    QList<int> noniusPositions;
    QColor noniusLineColor{34, 177, 76, 128};

    // The last tail handed on, so hovering over it does not repeat it.
    int pickedBlock = -1;
    bool pickShown = false;
    QList<QTextEdit::ExtraSelection> findSelections;
    int pickedPosition = -1;

    // Batching and overload accounting.
    std::deque<Chunk> queue;
    qint64 queuedBytes = 0;
    qint64 droppedChunks = 0; // not yet reported in the view
    qint64 droppedBytes = 0;
    qint64 totalDroppedChunks = 0;
    qint64 totalDroppedBytes = 0;
    QTimer *flushTimer = nullptr;
    int maxBlocks = 100000;
    int maxCharacters = 3000000;

    // Every line of the log, oldest first, within the bounds above. The
    // document holds only its newest documentLines lines (see trimToLimits).
    std::deque<Line> log;
    qint64 logCharacters = 0; // text and one separator per line
    int documentLines = 0;
    bool pageInScheduled = false;
};
