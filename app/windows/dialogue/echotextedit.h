#pragma once

#include <QByteArray>
#include <QColor>
#include <QDateTime>
#include <QList>
#include <QPlainTextEdit>
#include <QString>

#include <dorvane/app_export.h>

#include <memory>

class EchoTextEditPrivate;
class QTextCursor;

// The running log of the channel's traffic: every chunk becomes a labelled
// line in hex or text. Chunks are queued and drawn in short slices, one
// edit block each, with the event loop running between them, so a fast peer
// never freezes the workbench; the log keeps a bounded number of lines and characters, the
// oldest going first, and says so in one line when it had to leave chunks
// out. Options live in the dialogue settings file, read here at
// construction and written back at destruction.
class DORVANE_APP_EXPORT EchoTextEdit : public QPlainTextEdit
{
    Q_OBJECT
    Q_PROPERTY(QColor breakColor READ breakColor WRITE setBreakColor)
    Q_PROPERTY(QColor interpretForeground READ interpretForeground WRITE setInterpretForeground)
    Q_PROPERTY(QColor interpretBackground READ interpretBackground WRITE setInterpretBackground)

public:
    enum Direction { Received = 0, Transmitted = 1 };

    // Reads the dialogue settings file of the application's options; a
    // widget made without a running application keeps the defaults.
    // Without a settings file the view starts from the defaults and keeps
    // nothing.
    explicit EchoTextEdit(QWidget *parent = nullptr);
    // Starts from the options the settings file holds and writes them back
    // when the view goes.
    explicit EchoTextEdit(const QString &settingsFile, QWidget *parent = nullptr);
    ~EchoTextEdit() override;

    // Queues a chunk; it appears with the next batch. Nothing at all happens
    // while the direction's echo is off.
    void echo(const QDateTime &time, const QByteArray &data, int direction);
    // Draws every queued chunk now, however long it takes (the queue is
    // bounded); the timer's batches stop after their time budget.
    void flushEcho();
    int queuedChunks() const;

    void insertBreak();
    void composeBreakLine();
    QString breakLine() const;
    // Picks the tail of the data line under the position (viewport
    // coordinates) and hands it on as hex.
    void interpretAt(const QPoint &pos);

    int echoMode() const;
    void setEchoMode(int mode);
    bool echoRx() const;
    void setEchoRx(bool on);
    bool echoTx() const;
    void setEchoTx(bool on);
    bool displayLabel() const;
    void setDisplayLabel(bool on);
    bool displayDate() const;
    void setDisplayDate(bool on);
    bool displayMicroseconds() const;
    void setDisplayMicroseconds(bool on);
    bool displayDelta() const;
    void setDisplayDelta(bool on);
    // A paused view queues what comes (the oldest left out past the backlog
    // bound, as under overload) and draws it on resume.
    bool isPaused() const;
    void setPaused(bool on);
    // Gives the chunk just echoed with this time and size its steady stamp
    // in µs; the channel reports the stamp right after the chunk.
    // The find bar's highlights, shown beside the pick's.
    // Line `index` of the whole log (0 the oldest), in or out of the document.
    const QString &logLineText(int index) const;
    // Brings log line `index` into the document (paging older lines in) and
    // returns a cursor over `length` characters from `offset` in it.
    QTextCursor revealLogRange(int index, int offset, int length);
    void setFindSelections(const QList<QTextEdit::ExtraSelection> &selections);
    // With a source ("address:port" of a TCP-server client) the label names it.
    void stampLatest(int direction, const QDateTime &time, int size, qint64 monotonicUs,
                     const QString &source = QString());
    // Queues a line of its own (a client that came or went), in the label's
    // colour, in order with the chunks around it.
    void echoNote(const QString &text);
    bool reportDetails() const;
    void setReportDetails(bool on);
    bool dataInNewLine() const;
    void setDataInNewLine(bool on);

    bool interpretEnabled(int direction) const;
    void setInterpretEnabled(int direction, bool on);
    int interpretTrigger() const;
    void setInterpretTrigger(int trigger);

    QString breakSymbol() const;
    // Anything but a break symbol selects the first one.
    void setBreakSymbol(const QString &symbol);
    int breakRepeat() const;
    void setBreakRepeat(int repeat);
    bool autoBreak() const;
    void setAutoBreak(bool on);
    int breakInterval() const;
    void setBreakInterval(int interval);
    int packetCounter() const;
    void resetPacketCounter();

    QColor breakColor() const;
    void setBreakColor(const QColor &color);
    QColor interpretForeground() const;
    void setInterpretForeground(const QColor &color);
    QColor interpretBackground() const;
    void setInterpretBackground(const QColor &color);
    QColor labelColor() const;
    QColor rxColor() const;
    QColor txColor() const;

    void addNoniusLine(const QRect &rect);
    void moveNoniusLine(int index, const QRect &rect);
    void removeNoniusLine(int index);
    void clearNoniusLines();
    QList<int> noniusPositions() const;

    // Limits of the log; lowered by tests and benchmarks.
    void setLimits(int maxBlocks, int maxCharacters);
    // The lines and characters the log keeps. While the view follows the
    // end, the document holds only the newest of them; scrolling to its top
    // puts older ones back in front, a page at a time.
    int logLineCount() const;
    qint64 logCharacterCount() const;
    // Empties the log (the markers and counters stay).
    void clear();
    // Chunks and bytes left out of the display since construction.
    qint64 droppedChunks() const;
    qint64 droppedBytes() const;

    // Where the settings are read from and written to.
    QString settingsFile() const;
    bool saveSettings() const;

signals:
    void fontChanged();
    void interpretDataChanged(const QString &hexstr);

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    void keepPickInItsLine();
    void showSelections();
    void enqueue(const QDateTime &time, const QByteArray &data, int direction);
    void dropOldest(std::size_t keepChunks, qint64 keepBytes);
    // Draws queued chunks as one edit block, for at most budgetMs (no limit
    // when negative).
    void drawBatch(qint64 budgetMs);
    void renderChunk(QTextCursor &cursor, const QDateTime &time, const QByteArray &data, int direction,
                     qint64 monotonicUs, const QString &source);
    void renderDropNotice(QTextCursor &cursor);
    // Cuts the log and the document to their bounds, which are narrower
    // while the view follows the end; a cut of the document stops after a
    // few thousand lines unless all is set.
    void trimToLimits(bool followingEnd, bool all);
    bool overLimits(bool followingEnd) const;
    bool followsEnd() const;
    int documentLineLimit(bool followingEnd) const;
    int documentCharacterLimit(bool followingEnd) const;
    // Puts a page of older log lines back in front of the document.
    void pageIn();
    void updateMouseTracking();

    std::unique_ptr<EchoTextEditPrivate> d;
};
