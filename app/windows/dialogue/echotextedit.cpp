#include "windows/dialogue/echotextedit.h"

#include "windows/dialogue/echotexteditprivate.h"

#include <dorvane/channelchunk.h>

#include <QDir>
#include <QElapsedTimer>
#include <QEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTimer>

#include <climits>
#include <cstdio>
#include <cstring>

namespace {

// The first chunk of a quiet spell waits this long for others to join it,
// so a trickle is drawn in batches too.
const int kBatchIntervalMs = 20;
// Drawing stops after this long in one slice, and the next slice follows
// after kContinueMs while chunks wait: in between the event loop serves
// input, painting and the counters. The slice is short because the text
// document now and then compacts its whole text inside one (some 10 ms at
// the line cap on the build machine), and both together must stay well
// under the 20 ms a user would feel. At the line cap a slice's end (the
// edit block's layout and the scroll) and a repaint can follow one another
// in one turn of the event loop; 3 ms rather than 5 keeps that turn near
// 15 ms, for some 10 % fewer lines drawn per second.
const qint64 kBatchBudgetMs = 3;
const int kContinueMs = 2;
// What may wait between two batches. Older chunks beyond it are left out of
// the display (and reported in the view) rather than delaying the newest
// ones without end.
const std::size_t kMaxBacklogChunks = 4000;
const qint64 kMaxBacklogBytes = 1 << 20;
// While the view follows the end, the document holds at most this much of
// the log: the text document compacts its whole text now and then, and a
// document of the log's full size (three million characters) would hold the
// GUI thread for some 15 ms each time. The rest of the log waits beside it
// and comes back, a page at a time, when the user scrolls to the top.
const int kDocumentLines = 10000;
const int kDocumentCharacters = 300000;
const int kPageLines = 2000;
// One cut of the document in a drawing slice takes at most this many lines
// (coming back to the end after reading far back leaves a long document).
const int kMaxCutLines = 4000;
// A chunk larger than this is shown by its first bytes: one line of a
// megabyte would take the layout seconds. The rest is reported as not shown.
const int kMaxShownBytes = 16 * 1024;
// A queued line that is no chunk: its text rides in the chunk's source.
const int kNoteDirection = 2;

// "5678901" -> "5 678 901".
QString groupDigits(qint64 value)
{
    QString digits = QString::number(value);
    for (int i = digits.size() - 3; i > 0; i -= 3)
        digits.insert(i, QLatin1Char(' '));
    return digits;
}

// Hex mode: upper-case pairs separated by single spaces, written straight
// into the string (toHex, toUpper and the conversion would take three).
QString hexOf(const QByteArray &data, bool leadingSpace)
{
    static const char kDigits[] = "0123456789ABCDEF";
    if (data.isEmpty())
        return leadingSpace ? QStringLiteral(" ") : QString();
    QString text(data.size() * 3 - (leadingSpace ? 0 : 1), Qt::Uninitialized);
    QChar *out = text.data();
    for (int i = 0; i < data.size(); ++i) {
        if (i > 0 || leadingSpace)
            *out++ = QLatin1Char(' ');
        const uchar byte = uchar(data.at(i));
        *out++ = QLatin1Char(kDigits[byte >> 4]);
        *out++ = QLatin1Char(kDigits[byte & 15]);
    }
    return text;
}

// Text mode: every byte of the chunk in the local encoding. Control bytes
// (a NUL too) show as their control pictures (U+2400 and on, U+2421 for DEL),
// so nothing is cut or hidden; picking maps them back to their bytes.
// Characters that would start a new block are kept off the line, so a chunk
// stays one block: line breaks become line separators within the block.
QString textOf(const QByteArray &data)
{
    QString text = QString::fromLocal8Bit(data.constData(), data.size());
    text.replace(QLatin1String("\r\n"), QString(QChar::LineSeparator));
    for (QChar &ch : text) {
        const ushort unit = ch.unicode();
        if (unit == '\n' || unit == '\r')
            ch = QChar::LineSeparator;
        else if (unit < 0x20 && unit != '\t')
            ch = QChar(ushort(0x2400 + unit));
        else if (unit == 0x7F)
            ch = QChar(ushort(0x2421));
        else if (unit == QChar::ParagraphSeparator || unit == 0xFDD0 || unit == 0xFDD1)
            ch = QChar::ReplacementCharacter;
    }
    // A line that ends in a line break would show an empty line after it.
    if (text.endsWith(QChar::LineSeparator))
        text.chop(1);
    return text;
}

// "[HH:mm:ss.zzz]" or "[yyyy-MM-dd HH:mm:ss.zzz]", written out directly:
// the locale-aware formatter is the slowest part of a line.
// With µs (0 to 999 more than the ms, or -1 for none) "[HH:mm:ss.zzzuuu]";
// with a delta (µs, -1 for none) " +s.uuuuuu" before the closing bracket.
QString timeLabel(const QDateTime &time, bool withDate, int micros = -1, qint64 deltaUs = -1)
{
    const QDate date = time.date();
    const QTime clock = time.time();
    char text[96];
    int length = 0;
    if (withDate)
        length = std::snprintf(text, sizeof text, "[%04d-%02d-%02d %02d:%02d:%02d.%03d", date.year(),
                               date.month(), date.day(), clock.hour(), clock.minute(), clock.second(),
                               clock.msec());
    else
        length = std::snprintf(text, sizeof text, "[%02d:%02d:%02d.%03d", clock.hour(), clock.minute(),
                               clock.second(), clock.msec());
    length = qBound(0, length, int(sizeof text) - 1);
    if (micros >= 0)
        length += std::snprintf(text + length, sizeof text - std::size_t(length), "%03d", micros % 1000);
    length = qBound(0, length, int(sizeof text) - 1);
    if (deltaUs >= 0)
        length += std::snprintf(text + length, sizeof text - std::size_t(length), " +%lld.%06lld",
                                static_cast<long long>(deltaUs / 1000000),
                                static_cast<long long>(deltaUs % 1000000));
    length = qBound(0, length, int(sizeof text) - 2);
    text[length++] = ']';
    return QString::fromLatin1(text, length);
}

} // namespace

EchoTextEditPrivate::EchoTextEditPrivate()
{
    wallOffsetUs = QDateTime::currentMSecsSinceEpoch() * 1000 - channelMonotonicUs();
    labelFormat.setForeground(QColor(Qt::lightGray));
    rxFormat.setForeground(QColor(63, 72, 204));
    txFormat.setForeground(QColor(237, 28, 36));
    breakFormat.setForeground(QColor(237, 28, 36));
    breakSymbol = echoBreakSymbols().first();
    interpretSelection.format.setBackground(QColor(239, 228, 176));
    interpretSelection.format.setProperty(QTextFormat::FullWidthSelection, true);
    clearSelection.format.setBackground(QColor(Qt::white));
    clearSelection.format.setProperty(QTextFormat::FullWidthSelection, true);
}

EchoSettings EchoTextEditPrivate::settingsSnapshot() const
{
    EchoSettings settings;
    settings.echoRx = echoRx;
    settings.echoTx = echoTx;
    settings.displayLabel = displayLabel;
    settings.displayDate = displayDate;
    settings.displayMicroseconds = displayMicroseconds;
    settings.displayDelta = displayDelta;
    settings.dataInNewLine = dataInNewLine;
    settings.interpretRx = interpretRx;
    settings.interpretTx = interpretTx;
    settings.interpretTrigger = interpretTrigger;
    settings.breakSymbol = breakSymbol;
    settings.breakRepeat = breakRepeat;
    settings.breakInterval = breakInterval;
    settings.breakColor = breakFormat.foreground().color().rgb();
    return settings;
}

void EchoTextEditPrivate::applySettings(const EchoSettings &settings)
{
    echoRx = settings.echoRx;
    echoTx = settings.echoTx;
    displayLabel = settings.displayLabel;
    displayDate = settings.displayDate;
    displayMicroseconds = settings.displayMicroseconds;
    displayDelta = settings.displayDelta;
    dataInNewLine = settings.dataInNewLine;
    interpretRx = settings.interpretRx;
    interpretTx = settings.interpretTx;
    interpretTrigger = settings.interpretTrigger;
    breakSymbol = validBreakSymbol(settings.breakSymbol);
    breakRepeat = clampBreakRepeat(settings.breakRepeat);
    breakInterval = clampBreakInterval(settings.breakInterval);
    breakFormat.setForeground(QColor::fromRgb(settings.breakColor));
}

EchoTextEdit::EchoTextEdit(QWidget *parent)
    : EchoTextEdit(QString(), parent)
{
}

EchoTextEdit::EchoTextEdit(const QString &settingsFile, QWidget *parent)
    : QPlainTextEdit(parent)
    , d(std::make_unique<EchoTextEditPrivate>())
{
    setReadOnly(true);
    setUndoRedoEnabled(false);
    setLineWrapMode(QPlainTextEdit::WidgetWidth);
    setCursorWidth(2);

    if (!settingsFile.isEmpty()) {
        d->settingsFile = settingsFile;
        EchoSettings settings = d->settingsSnapshot();
        if (readEchoSettings(d->settingsFile, settings))
            d->applySettings(settings);
    }
    composeBreakLine();
    updateMouseTracking();

    d->flushTimer = new QTimer(this);
    d->flushTimer->setSingleShot(true);
    d->flushTimer->setInterval(kBatchIntervalMs);
    connect(d->flushTimer, &QTimer::timeout, this, [this] { drawBatch(kBatchBudgetMs); });
    // At the top of the document, older lines of the log come back. Not in
    // the scroll bar's own signal: the view is still moving then.
    connect(verticalScrollBar(), &QScrollBar::valueChanged, this, [this](int value) {
        if (value > verticalScrollBar()->minimum() || d->pageInScheduled
            || d->documentLines >= int(d->log.size()))
            return;
        d->pageInScheduled = true;
        QMetaObject::invokeMethod(
            this, [this] { pageIn(); }, Qt::QueuedConnection);
    });
}

EchoTextEdit::~EchoTextEdit()
{
    if (!d->settingsFile.isEmpty() && !saveSettings())
        std::fprintf(stderr, "Dorvane: cannot write the dialogue settings file %s; the old file is kept\n",
                     qPrintable(QDir::toNativeSeparators(d->settingsFile)));
}

QString EchoTextEdit::settingsFile() const
{
    return d->settingsFile;
}

bool EchoTextEdit::saveSettings() const
{
    return writeEchoSettings(d->settingsFile, d->settingsSnapshot());
}

void EchoTextEdit::echo(const QDateTime &time, const QByteArray &data, int direction)
{
    if (!(direction == Transmitted ? d->echoTx : d->echoRx))
        return;
    enqueue(time.isValid() ? time : QDateTime::currentDateTime(), data, direction);
}

void EchoTextEdit::enqueue(const QDateTime &time, const QByteArray &data, int direction)
{
    d->queue.push_back({time, data, direction, 0, QString()});
    d->queuedBytes += data.size();
    // Between two batches the queue may hold a few batches' worth; a longer
    // one means the view cannot keep up and the oldest are left out.
    if (d->queue.size() > 4 * kMaxBacklogChunks || d->queuedBytes > 4 * kMaxBacklogBytes)
        dropOldest(kMaxBacklogChunks, kMaxBacklogBytes);
    if (!d->flushTimer->isActive())
        d->flushTimer->start(kBatchIntervalMs);
}

void EchoTextEdit::dropOldest(std::size_t keepChunks, qint64 keepBytes)
{
    while (!d->queue.empty() && (d->queue.size() > keepChunks || d->queuedBytes > keepBytes)) {
        const qint64 size = d->queue.front().data.size();
        d->queuedBytes -= size;
        ++d->droppedChunks;
        d->droppedBytes += size;
        ++d->totalDroppedChunks;
        d->totalDroppedBytes += size;
        d->queue.pop_front();
    }
}

int EchoTextEdit::queuedChunks() const
{
    return int(d->queue.size());
}

void EchoTextEdit::flushEcho()
{
    drawBatch(-1);
}

void EchoTextEdit::drawBatch(qint64 budgetMs)
{
    d->flushTimer->stop();
    if (d->paused)
        return;
    QScrollBar *bar = verticalScrollBar();
    const bool followEnd = followsEnd();
    // Cutting old lines is a slice of its own: with the compaction it may
    // set off, it can take as long as a slice of drawing.
    if (budgetMs >= 0 && overLimits(followEnd)) {
        trimToLimits(followEnd, false);
        d->flushTimer->start(kContinueMs);
        return;
    }
    if (d->queue.empty() && d->droppedChunks == 0 && d->droppedBytes == 0)
        return;

    QElapsedTimer clock;
    clock.start();

    QTextCursor cursor(document());
    cursor.movePosition(QTextCursor::End);
    cursor.beginEditBlock();
    while (!d->queue.empty()) {
        if (d->droppedChunks > 0 || d->droppedBytes > 0)
            renderDropNotice(cursor);
        EchoTextEditPrivate::Chunk chunk = std::move(d->queue.front());
        d->queue.pop_front();
        d->queuedBytes -= chunk.data.size();
        if (chunk.direction == kNoteDirection)
            d->appendLine(cursor, chunk.source, EchoTextEditPrivate::LabelLine);
        else
            renderChunk(cursor, chunk.time, chunk.data, chunk.direction, chunk.monotonicUs, chunk.source);
        if (budgetMs >= 0 && clock.elapsed() >= budgetMs)
            break;
    }
    if (d->droppedChunks > 0 || d->droppedBytes > 0)
        renderDropNotice(cursor);
    cursor.endEditBlock();
    if (budgetMs < 0)
        trimToLimits(followEnd, true);
    keepPickInItsLine();

    if (!d->queue.empty())
        dropOldest(kMaxBacklogChunks, kMaxBacklogBytes);
    if (!d->queue.empty() || overLimits(followEnd))
        d->flushTimer->start(kContinueMs);
    if (followEnd)
        bar->setValue(bar->maximum());
}

bool EchoTextEdit::overLimits(bool followingEnd) const
{
    return int(d->log.size()) > d->maxBlocks || d->logCharacters > d->maxCharacters
           || d->documentLines > int(d->log.size()) || d->documentLines > documentLineLimit(followingEnd)
           || document()->characterCount() > documentCharacterLimit(followingEnd);
}

bool EchoTextEdit::followsEnd() const
{
    return verticalScrollBar()->value() >= verticalScrollBar()->maximum();
}

// While the user reads further back, the document may grow to the log's
// own bounds, so that nothing moves under the reader.
int EchoTextEdit::documentLineLimit(bool followingEnd) const
{
    return followingEnd ? qMin(d->maxBlocks, kDocumentLines) : d->maxBlocks;
}

int EchoTextEdit::documentCharacterLimit(bool followingEnd) const
{
    return followingEnd ? qMin(d->maxCharacters, kDocumentCharacters) : d->maxCharacters;
}

const QTextCharFormat &EchoTextEditPrivate::formatOf(LineKind kind) const
{
    switch (kind) {
    case LabelLine:
        return labelFormat;
    case TxLine:
        return txFormat;
    case BreakLine:
        return breakFormat;
    case RxLine:
        break;
    }
    return rxFormat;
}

void EchoTextEditPrivate::writeLine(QTextCursor &cursor, const Line &line) const
{
    // The pieces are inserted from the line's own characters, not copies.
    const int label = qBound(0, line.labelLength, line.text.size());
    if (label > 0)
        cursor.insertText(QString::fromRawData(line.text.constData(), label), labelFormat);
    if (label < line.text.size())
        cursor.insertText(QString::fromRawData(line.text.constData() + label, line.text.size() - label),
                          formatOf(line.kind));
    if (!line.pickable)
        return;
    QTextBlock block = cursor.block();
    if (auto *blockData = dynamic_cast<BlockData *>(block.userData())) {
        blockData->offset = line.offset;
        blockData->size = line.size;
        blockData->textMode = line.textMode;
    } else {
        block.setUserData(new BlockData(line.offset, line.size, line.textMode));
    }
}

void EchoTextEditPrivate::appendLine(QTextCursor &cursor, Line line)
{
    // Formats given, not looked up: the cursor would ask the document for
    // the current block's and character's format on every line.
    if (documentLines > 0)
        cursor.insertBlock(blockFormat, formatOf(line.kind));
    writeLine(cursor, line);
    ++documentLines;
    logCharacters += line.text.size() + 1;
    log.push_back(std::move(line));
}

void EchoTextEditPrivate::appendLine(QTextCursor &cursor, const QString &text, LineKind kind)
{
    Line line;
    line.text = text;
    line.kind = kind;
    line.labelLength = kind == LabelLine ? text.size() : 0;
    appendLine(cursor, std::move(line));
}

void EchoTextEdit::renderDropNotice(QTextCursor &cursor)
{
    d->appendLine(cursor,
                  QStringLiteral("\u2026 %1 chunks, %2 bytes not shown")
                      .arg(groupDigits(d->droppedChunks), groupDigits(d->droppedBytes)),
                  EchoTextEditPrivate::BreakLine);
    d->droppedChunks = 0;
    d->droppedBytes = 0;
}

void EchoTextEdit::renderChunk(QTextCursor &cursor, const QDateTime &time, const QByteArray &data,
                               int direction, qint64 monotonicUs, const QString &source)
{
    const bool transmitted = direction == Transmitted;
    // Without the steady stamp the wall clock's ms serve.
    // The delta compares like with like: the steady stamps when both chunks
    // have one, else the wall clock's ms.
    const qint64 wallUs = time.toMSecsSinceEpoch() * 1000;
    qint64 deltaUs = 0;
    if (monotonicUs > 0 && d->previousChunkUs > 0)
        deltaUs = monotonicUs - d->previousChunkUs;
    else if (d->previousWallUs > 0)
        deltaUs = wallUs - d->previousWallUs;
    deltaUs = qMax<qint64>(0, deltaUs);
    d->previousChunkUs = monotonicUs;
    d->previousWallUs = wallUs;
    QString label;
    if (d->displayLabel) {
        // The channel stamps chunks with the local offset already applied
        // (OffsetFromUTC), which reads as local wall time as it is. Where the
        // local offset is zero Qt makes such a stamp UTC, and converting it
        // would look the zone up (a stat of the zone file) for every chunk:
        // the offset is looked up once a second instead.
        const Qt::TimeSpec spec = time.timeSpec();
        QDateTime shownTime = time;
        if (spec != Qt::LocalTime && spec != Qt::OffsetFromUTC) {
            const qint64 ms = time.toMSecsSinceEpoch();
            if (ms < d->localOffsetFromMs || ms >= d->localOffsetFromMs + 1000) {
                d->localOffsetFromMs = ms;
                d->localOffsetSeconds = QDateTime::fromMSecsSinceEpoch(ms).offsetFromUtc();
            }
            shownTime = QDateTime::fromMSecsSinceEpoch(ms, Qt::OffsetFromUTC, d->localOffsetSeconds);
        }
        int micros = -1;
        if (d->displayMicroseconds) {
            micros = 0;
            if (monotonicUs > 0) {
                // The steady stamp on the wall clock, so the µs agree with the ms.
                const qint64 wallUs = monotonicUs + d->wallOffsetUs;
                shownTime = QDateTime::fromMSecsSinceEpoch(wallUs / 1000);
                micros = int(wallUs % 1000);
            }
        }
        label = timeLabel(shownTime, d->displayDate, micros, d->displayDelta ? deltaUs : -1);
        if (!source.isEmpty())
            label += QLatin1Char(' ') + source;
        if (d->reportDetails)
            label += (transmitted ? QStringLiteral(" SEND %1 >>>") : QStringLiteral(" RECV %1 <<<"))
                         .arg(data.size());
    }

    QByteArray shown = data;
    if (shown.size() > kMaxShownBytes) {
        d->droppedBytes += shown.size() - kMaxShownBytes;
        d->totalDroppedBytes += shown.size() - kMaxShownBytes;
        shown.truncate(kMaxShownBytes);
    }
    const bool textMode = d->echoMode == 1;
    const bool afterLabel = d->displayLabel && !d->dataInNewLine;

    EchoTextEditPrivate::Line line;
    line.kind = transmitted ? EchoTextEditPrivate::TxLine : EchoTextEditPrivate::RxLine;
    line.pickable = transmitted ? d->interpretTx : d->interpretRx;
    line.size = shown.size();
    line.textMode = textMode;
    if (afterLabel) {
        // The label and the data share one line, one space between them.
        line.text = label + (textMode ? QLatin1Char(' ') + textOf(shown) : hexOf(shown, true));
        line.labelLength = label.size();
        line.offset = label.size() + 1;
    } else {
        if (d->displayLabel)
            d->appendLine(cursor, label, EchoTextEditPrivate::LabelLine);
        line.text = textMode ? textOf(shown) : hexOf(shown, false);
        line.offset = d->dataInNewLine ? 0 : -1;
    }
    d->appendLine(cursor, std::move(line));

    if (d->autoBreak && d->breakInterval >= 1) {
        ++d->packetCounter;
        if (d->packetCounter % d->breakInterval == 0) {
            d->appendLine(cursor, d->breakLine, EchoTextEditPrivate::BreakLine);
            d->packetCounter = 0;
        }
    }
}

void EchoTextEdit::trimToLimits(bool followingEnd, bool all)
{
    // The log: the oldest lines go when either bound is passed, a little
    // more than needed, so that cutting does not happen on every slice.
    const int logExcessLines = int(d->log.size()) - d->maxBlocks;
    const qint64 logExcessChars = d->logCharacters - d->maxCharacters;
    if (logExcessLines > 0 || logExcessChars > 0) {
        const int dropLines = logExcessLines > 0 ? logExcessLines + d->maxBlocks / 200 : 0;
        const qint64 keepChars
            = logExcessChars > 0 ? d->maxCharacters - d->maxCharacters / 200 : d->logCharacters;
        int dropped = 0;
        while (d->log.size() > 1 && (dropped < dropLines || d->logCharacters > keepChars)) {
            d->logCharacters -= d->log.front().text.size() + 1;
            d->log.pop_front();
            ++dropped;
        }
    }

    // The document: at most its bounds, and never more lines than the log.
    // Cut in one piece from its start; the document keeps its last line.
    QTextDocument *doc = document();
    const int lineLimit = documentLineLimit(followingEnd);
    const int charLimit = documentCharacterLimit(followingEnd);
    const int excessLines = qMax(d->documentLines - int(d->log.size()), d->documentLines - lineLimit);
    const int excessChars = doc->characterCount() - charLimit;
    if (excessLines <= 0 && excessChars <= 0)
        return;
    const int wantedBlocks
        = qMax(d->documentLines - int(d->log.size()),
               d->documentLines > lineLimit ? d->documentLines - lineLimit + lineLimit / 200 : 0);
    const int wantedChars = excessChars > 0 ? excessChars + charLimit / 200 : 0;
    const int maxCut = all ? INT_MAX : kMaxCutLines;
    QTextBlock block = doc->firstBlock();
    while (block.next().isValid() && block.blockNumber() < maxCut
           && (block.position() < wantedChars || block.blockNumber() < wantedBlocks))
        block = block.next();
    const int cut = block.blockNumber();
    if (cut == 0)
        return;
    QTextCursor cursor(doc);
    cursor.setPosition(0);
    cursor.setPosition(block.position(), QTextCursor::KeepAnchor);
    cursor.removeSelectedText();
    d->documentLines -= cut;
    d->pickedBlock = -1;
}

void EchoTextEdit::pageIn()
{
    d->pageInScheduled = false;
    QScrollBar *bar = verticalScrollBar();
    const int older = int(d->log.size()) - d->documentLines;
    if (older <= 0 || d->documentLines <= 0 || bar->value() > bar->minimum())
        return;
    const int count = qMin(older, kPageLines);
    QTextDocument *doc = document();
    QTextCursor cursor(doc);
    cursor.beginEditBlock();
    // Newest of the page first, each in a new block in front of the rest:
    // a block made at the very start leaves the first block as it was.
    for (int i = older - 1; i >= older - count; --i) {
        const EchoTextEditPrivate::Line &line = d->log[std::size_t(i)];
        cursor.setPosition(0);
        cursor.insertBlock(d->blockFormat, d->formatOf(line.kind));
        cursor.setPosition(0);
        d->writeLine(cursor, line);
    }
    cursor.endEditBlock();
    d->documentLines += count;
    d->pickedBlock = -1;
    // The lines that were in view stay in view.
    bar->setValue(bar->minimum() + count);
}

const QString &EchoTextEdit::logLineText(int index) const
{
    return d->log[std::size_t(index)].text;
}

QTextCursor EchoTextEdit::revealLogRange(int index, int offset, int length)
{
    const int older = int(d->log.size()) - d->documentLines;
    if (index < 0 || index >= int(d->log.size()))
        return QTextCursor();
    if (index < older) {
        QTextCursor cursor(document());
        cursor.beginEditBlock();
        for (int i = older - 1; i >= index; --i) {
            const EchoTextEditPrivate::Line &line = d->log[std::size_t(i)];
            cursor.setPosition(0);
            cursor.insertBlock(d->blockFormat, d->formatOf(line.kind));
            cursor.setPosition(0);
            d->writeLine(cursor, line);
        }
        cursor.endEditBlock();
        d->documentLines += older - index;
        d->pickedBlock = -1;
    }
    const QTextBlock block = document()->findBlockByNumber(index - (int(d->log.size()) - d->documentLines));
    QTextCursor cursor(block);
    cursor.setPosition(block.position() + qBound(0, offset, block.length() - 1));
    cursor.setPosition(block.position() + qBound(0, offset + length, block.length() - 1),
                       QTextCursor::KeepAnchor);
    return cursor;
}

void EchoTextEdit::setLimits(int maxBlocks, int maxCharacters)
{
    d->maxBlocks = qMax(1, maxBlocks);
    d->maxCharacters = qMax(1, maxCharacters);
}

int EchoTextEdit::logLineCount() const
{
    return int(d->log.size());
}

qint64 EchoTextEdit::logCharacterCount() const
{
    return d->logCharacters;
}

void EchoTextEdit::clear()
{
    QPlainTextEdit::clear();
    d->log.clear();
    d->logCharacters = 0;
    d->documentLines = 0;
    d->pickedBlock = -1;
    d->pickShown = false;
    d->findSelections.clear();
}

qint64 EchoTextEdit::droppedChunks() const
{
    return d->totalDroppedChunks;
}

qint64 EchoTextEdit::droppedBytes() const
{
    return d->totalDroppedBytes;
}

void EchoTextEdit::insertBreak()
{
    flushEcho();
    QTextCursor cursor(document());
    cursor.movePosition(QTextCursor::End);
    d->appendLine(cursor, d->breakLine, EchoTextEditPrivate::BreakLine);
}

void EchoTextEdit::composeBreakLine()
{
    QString pattern = d->breakSymbol;
    if (pattern.compare(QLatin1String("DEBUG"), Qt::CaseInsensitive) == 0)
        pattern = QStringLiteral("----------------------------------- D.E.B.U.G ");
    else if (pattern.compare(QLatin1String("DORVANE"), Qt::CaseInsensitive) == 0)
        pattern = QStringLiteral("---------------------------------- D.O.R.V.A.N.E ");
    int count = d->breakRepeat;
    if (count >= 80 && !pattern.isEmpty())
        count = (80 + pattern.size() - 1) / pattern.size();
    d->breakLine = pattern.repeated(qMax(0, count)).left(80);
}

QString EchoTextEdit::breakLine() const
{
    return d->breakLine;
}

void EchoTextEdit::setFindSelections(const QList<QTextEdit::ExtraSelection> &selections)
{
    d->findSelections = selections;
    showSelections();
}

void EchoTextEdit::showSelections()
{
    QList<QTextEdit::ExtraSelection> all;
    if (d->pickShown)
        all << d->interpretSelection;
    all << d->findSelections;
    setExtraSelections(all);
}

void EchoTextEdit::keepPickInItsLine()
{
    // The highlight's cursor ends where the picked line ended; when that was
    // the end of the log, lines appended there move its end along with them.
    if (!d->pickShown)
        return;
    QTextCursor selection = d->interpretSelection.cursor;
    const int anchor = selection.anchor();
    const QTextBlock block = document()->findBlock(anchor);
    if (!block.isValid())
        return;
    const int end = block.position() + block.length() - 1;
    if (selection.position() == end)
        return;
    selection.setPosition(anchor);
    selection.setPosition(end, QTextCursor::KeepAnchor);
    d->interpretSelection.cursor = selection;
    d->clearSelection.cursor = selection;
    d->pickShown = true;
    showSelections();
}

void EchoTextEdit::interpretAt(const QPoint &pos)
{
    const QTextCursor at = cursorForPosition(pos);
    const QTextBlock block = at.block();
    if (at.isNull() || !block.isValid())
        return;
    const auto *blockData = dynamic_cast<const EchoTextEditPrivate::BlockData *>(block.userData());
    const QString text = block.text();
    if (!blockData || text.isEmpty())
        return;
    int position = at.positionInBlock();
    if (position < blockData->offset)
        return;
    // In hex a position inside a pair starts the pick at the pair, so the
    // tail is always whole bytes.
    const int dataStart = qMax(0, blockData->offset);
    if (!blockData->textMode && position > dataStart && (position - dataStart) % 3 == 1)
        --position;

    const QString tail = text.mid(position);
    if (tail.isEmpty()) {
        // Past the end of the line: the highlight goes.
        d->pickShown = false;
        showSelections();
        d->pickedBlock = -1;
        d->pickedPosition = -1;
        return;
    }
    if (d->interpretTrigger == 1 && block.blockNumber() == d->pickedBlock && position == d->pickedPosition)
        return;
    d->pickedBlock = block.blockNumber();
    d->pickedPosition = position;

    QTextCursor selection(block);
    selection.setPosition(block.position() + position);
    selection.setPosition(block.position() + text.size(), QTextCursor::KeepAnchor);
    d->interpretSelection.cursor = selection;
    d->clearSelection.cursor = selection;
    d->pickShown = true;
    showSelections();

    if (blockData->textMode) {
        // Text is handed on as its bytes, so the interpret window reads what
        // was received rather than the hex digits a word happens to hold.
        QString bytes = tail;
        bytes.replace(QChar::LineSeparator, QLatin1Char('\n'));
        for (QChar &ch : bytes) {
            const ushort unit = ch.unicode();
            if (unit >= 0x2400 && unit < 0x2420)
                ch = QChar(ushort(unit - 0x2400));
            else if (unit == 0x2421)
                ch = QChar(ushort(0x7F));
        }
        emit interpretDataChanged(QString::fromLatin1(bytes.toLocal8Bit().toHex(' ').toUpper()));
    } else {
        emit interpretDataChanged(tail.trimmed());
    }
}

int EchoTextEdit::echoMode() const
{
    return d->echoMode;
}
void EchoTextEdit::setEchoMode(int mode)
{
    d->echoMode = mode == 1 ? 1 : 0;
}
bool EchoTextEdit::echoRx() const
{
    return d->echoRx;
}
void EchoTextEdit::setEchoRx(bool on)
{
    d->echoRx = on;
}
bool EchoTextEdit::echoTx() const
{
    return d->echoTx;
}
void EchoTextEdit::setEchoTx(bool on)
{
    d->echoTx = on;
}
bool EchoTextEdit::displayLabel() const
{
    return d->displayLabel;
}
void EchoTextEdit::setDisplayLabel(bool on)
{
    d->displayLabel = on;
}
bool EchoTextEdit::displayDate() const
{
    return d->displayDate;
}
void EchoTextEdit::setDisplayDate(bool on)
{
    d->displayDate = on;
}
bool EchoTextEdit::displayMicroseconds() const
{
    return d->displayMicroseconds;
}
void EchoTextEdit::setDisplayMicroseconds(bool on)
{
    d->displayMicroseconds = on;
}
bool EchoTextEdit::displayDelta() const
{
    return d->displayDelta;
}
void EchoTextEdit::setDisplayDelta(bool on)
{
    d->displayDelta = on;
}
bool EchoTextEdit::isPaused() const
{
    return d->paused;
}
void EchoTextEdit::setPaused(bool on)
{
    if (d->paused == on)
        return;
    d->paused = on;
    if (!on && (!d->queue.empty() || d->droppedChunks > 0))
        d->flushTimer->start(0);
}
void EchoTextEdit::stampLatest(int direction, const QDateTime &time, int size, qint64 monotonicUs,
                               const QString &source)
{
    if (d->queue.empty())
        return;
    EchoTextEditPrivate::Chunk &chunk = d->queue.back();
    if (chunk.direction == direction && chunk.monotonicUs == 0 && chunk.data.size() == size
        && chunk.time == time) {
        chunk.monotonicUs = monotonicUs;
        chunk.source = source;
    }
}

void EchoTextEdit::echoNote(const QString &text)
{
    enqueue(QDateTime::currentDateTime(), QByteArray(), kNoteDirection);
    d->queue.back().source = text;
}
bool EchoTextEdit::reportDetails() const
{
    return d->reportDetails;
}
void EchoTextEdit::setReportDetails(bool on)
{
    d->reportDetails = on;
}
bool EchoTextEdit::dataInNewLine() const
{
    return d->dataInNewLine;
}
void EchoTextEdit::setDataInNewLine(bool on)
{
    d->dataInNewLine = on;
}

bool EchoTextEdit::interpretEnabled(int direction) const
{
    return direction == Transmitted ? d->interpretTx : d->interpretRx;
}

void EchoTextEdit::setInterpretEnabled(int direction, bool on)
{
    (direction == Transmitted ? d->interpretTx : d->interpretRx) = on;
    updateMouseTracking();
}

void EchoTextEdit::updateMouseTracking()
{
    const bool tracking = d->interpretRx || d->interpretTx;
    setMouseTracking(tracking);
    viewport()->setMouseTracking(tracking);
}

int EchoTextEdit::interpretTrigger() const
{
    return d->interpretTrigger;
}
void EchoTextEdit::setInterpretTrigger(int trigger)
{
    d->interpretTrigger = trigger == 1 ? 1 : 0;
}

QString EchoTextEdit::breakSymbol() const
{
    return d->breakSymbol;
}

void EchoTextEdit::setBreakSymbol(const QString &symbol)
{
    d->breakSymbol = validBreakSymbol(symbol);
    composeBreakLine();
}

int EchoTextEdit::breakRepeat() const
{
    return d->breakRepeat;
}

void EchoTextEdit::setBreakRepeat(int repeat)
{
    d->breakRepeat = clampBreakRepeat(repeat);
    composeBreakLine();
}

bool EchoTextEdit::autoBreak() const
{
    return d->autoBreak;
}
void EchoTextEdit::setAutoBreak(bool on)
{
    d->autoBreak = on;
}
int EchoTextEdit::breakInterval() const
{
    return d->breakInterval;
}
void EchoTextEdit::setBreakInterval(int interval)
{
    d->breakInterval = clampBreakInterval(interval);
}
int EchoTextEdit::packetCounter() const
{
    return d->packetCounter;
}
void EchoTextEdit::resetPacketCounter()
{
    d->packetCounter = 0;
}

QColor EchoTextEdit::breakColor() const
{
    return d->breakFormat.foreground().color();
}
void EchoTextEdit::setBreakColor(const QColor &color)
{
    d->breakFormat.setForeground(color);
}
QColor EchoTextEdit::interpretForeground() const
{
    return d->interpretSelection.format.foreground().color();
}
void EchoTextEdit::setInterpretForeground(const QColor &color)
{
    d->interpretSelection.format.setForeground(color);
}
QColor EchoTextEdit::interpretBackground() const
{
    return d->interpretSelection.format.background().color();
}
void EchoTextEdit::setInterpretBackground(const QColor &color)
{
    d->interpretSelection.format.setBackground(color);
}
QColor EchoTextEdit::labelColor() const
{
    return d->labelFormat.foreground().color();
}
QColor EchoTextEdit::rxColor() const
{
    return d->rxFormat.foreground().color();
}
QColor EchoTextEdit::txColor() const
{
    return d->txFormat.foreground().color();
}

void EchoTextEdit::addNoniusLine(const QRect &rect)
{
    if (!rect.isValid())
        return;
    d->noniusPositions.append(rect.center().x());
    viewport()->update();
}

void EchoTextEdit::moveNoniusLine(int index, const QRect &rect)
{
    if (index < 0 || index >= d->noniusPositions.size())
        return;
    d->noniusPositions[index] = rect.center().x();
    viewport()->update();
}

void EchoTextEdit::removeNoniusLine(int index)
{
    if (index < 0 || index >= d->noniusPositions.size())
        return;
    d->noniusPositions.removeAt(index);
    viewport()->update();
}

void EchoTextEdit::clearNoniusLines()
{
    d->noniusPositions.clear();
    viewport()->update();
}

QList<int> EchoTextEdit::noniusPositions() const
{
    return d->noniusPositions;
}

void EchoTextEdit::mousePressEvent(QMouseEvent *event)
{
    QPlainTextEdit::mousePressEvent(event);
    if ((d->interpretRx || d->interpretTx) && d->interpretTrigger == 0)
        interpretAt(event->pos());
}

void EchoTextEdit::mouseMoveEvent(QMouseEvent *event)
{
    QPlainTextEdit::mouseMoveEvent(event);
    if ((d->interpretRx || d->interpretTx) && d->interpretTrigger == 1)
        interpretAt(event->pos());
}

void EchoTextEdit::paintEvent(QPaintEvent *event)
{
    QPlainTextEdit::paintEvent(event);
    if (d->noniusPositions.isEmpty())
        return;
    QPainter painter(viewport());
    const int scroll = horizontalScrollBar()->value();
    const int height = viewport()->height();
    for (int x : qAsConst(d->noniusPositions))
        painter.fillRect(QRect(x - 1 - scroll, 0, 3, height), d->noniusLineColor);
}

void EchoTextEdit::changeEvent(QEvent *event)
{
    QPlainTextEdit::changeEvent(event);
    if (event->type() == QEvent::FontChange)
        emit fontChanged();
}
