// The dialogue echo view and the byte watchers on the real widgets of a
// started application: lines, breaks, picking, the settings file, the log's
// limits, and the counters fed by a pseudo-terminal opened as a serial port.
#include "apptestsupport.h"

#include "model/echosettings.h"
#include "services/receivewatcher.h"
#include "services/transmitwatcher.h"
#include "shell/applicationoptions.h"
#include "shell/mainwindow.h"
#include "windows/dialogue/dialoguecapture.h"
#include "windows/dialogue/dialoguewindow.h"
#include "windows/dialogue/echofindbar.h"
#include "windows/dialogue/echorulerwidget.h"
#include "windows/dialogue/echotextedit.h"
#include "windows/dialogue/echotexteditprivate.h"

#include <dorvane/Channel.h>
#include <dorvane/WdxWidgets.h>

#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QScrollBar>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QToolBar>
#include <QToolButton>

#include <memory>

namespace {

MainWindow *mainWindow()
{
    return Application::instance()->mainWindow();
}

DialogueWindow *dialogue()
{
    return mainWindow()->dialogueWindow();
}

EchoTextEdit *edit()
{
    return dialogue()->echoEdit();
}

// Brings the shared view to known options and an empty log.
void resetEdit()
{
    EchoTextEdit *e = edit();
    e->flushEcho();
    e->clear();
    e->setEchoMode(0);
    e->setEchoRx(true);
    e->setEchoTx(true);
    e->setDisplayLabel(true);
    e->setDisplayDate(false);
    e->setReportDetails(false);
    e->setDataInNewLine(false);
    e->setAutoBreak(false);
    e->setBreakInterval(5);
    e->setBreakSymbol(QStringLiteral("-"));
    e->setBreakRepeat(80);
    e->resetPacketCounter();
    e->setInterpretEnabled(0, false);
    e->setInterpretEnabled(1, false);
    e->setInterpretTrigger(0);
    e->setLimits(100000, 3000000);
}

// The log's lines, one per block.
QStringList lines()
{
    edit()->flushEcho();
    QStringList texts;
    for (QTextBlock block = edit()->document()->firstBlock(); block.isValid(); block = block.next())
        texts << block.text();
    return texts;
}

const EchoTextEditPrivate::BlockData *blockData(const QTextBlock &block)
{
    return dynamic_cast<const EchoTextEditPrivate::BlockData *>(block.userData());
}

// A point a quarter into a character of a block (so the nearest cursor
// position is before it), in viewport coordinates.
QPoint pointAt(const QTextBlock &block, int positionInBlock)
{
    QTextCursor cursor(block);
    cursor.setPosition(block.position() + positionInBlock);
    const QRect left = edit()->cursorRect(cursor);
    cursor.setPosition(block.position() + positionInBlock + 1);
    const QRect right = edit()->cursorRect(cursor);
    return QPoint(left.x() + (right.x() - left.x()) / 4, left.center().y());
}

void writeSettingsFile(const QByteArray &text)
{
    QFile file(Application::instance()->options()->dialogueSettingsFile);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(text);
}

bool openTerminal(ChannelProxy *proxy, const PseudoTerminal &terminal)
{
    SerialChannelParams params;
    params.portName = terminal.slavePath();
    params.baudRate = 115200;
    return proxy->open(params);
}

} // namespace

class TestDialogueWindow : public QObject
{
    Q_OBJECT

private slots:
    void init() { resetEdit(); }

    void echoLines_data();
    void echoLines();
    void labelShowsChannelTime();
    void breakLines_data();
    void breakLines();
    void automaticBreaks();
    void picking();
    void settingsFile();
    void hostileSettingsFiles_data();
    void hostileSettingsFiles();
    void lineCapKeepsBlockData();
    void longLogComesBackPageByPage();
    void overloadLeavesOutAndSays();
    void toolBar();
    void ruler();
    void countersAndEchoFromTerminal();
    void pickHandsOnControlBytesAndStaysOnItsLine();
    void microsecondAndDeltaLabelsFromTerminal();
    void pausedViewCatchesUpOnResume();
    void findBarCountsAndSteps();
    void captureHoldsEveryByteOfAFlood();
    void capturePcapngReadsBackInTshark();
    void failedCaptureWriteStopsWithOneNotice();
};

void TestDialogueWindow::echoLines_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<bool>("label");
    QTest::addColumn<bool>("details");
    QTest::addColumn<bool>("newLine");
    QTest::addColumn<QByteArray>("data");
    QTest::addColumn<QStringList>("expected"); // after the time stamp "[..]"
    QTest::addColumn<int>("offset");           // data offset of the data line, past the label

    const QByteArray three("\x01\xAB\xFF", 3);
    QTest::newRow("hex, details") << 0 << true << true << false << three
                                  << QStringList{QStringLiteral(" RECV 3 <<< 01 AB FF")} << 12;
    QTest::newRow("hex, new line") << 0 << true << false << true << three
                                   << QStringList{QString(), QStringLiteral("01 AB FF")} << -100;
    QTest::newRow("hex, no label") << 0 << false << false << false << three
                                   << QStringList{QStringLiteral("01 AB FF")} << -1;
    // Nothing is cut at a NUL: control bytes show as their pictures.
    QTest::newRow("text shows every byte")
        << 1 << true << false << false << QByteArray("A\0BC\nD\x1B\x7F", 8)
        << QStringList{QStringLiteral(" A\u2400BC\u2028D\u241B\u2421")} << 1;
    // A line break inside a chunk keeps the chunk on one block.
    QTest::newRow("text with line breaks") << 1 << false << false << false << QByteArray("a\r\nb\nc\r\n")
                                           << QStringList{QStringLiteral("a\u2028b\u2028c")} << -1;
}

void TestDialogueWindow::echoLines()
{
    QFETCH(int, mode);
    QFETCH(bool, label);
    QFETCH(bool, details);
    QFETCH(bool, newLine);
    QFETCH(QByteArray, data);
    QFETCH(QStringList, expected);
    QFETCH(int, offset);

    EchoTextEdit *e = edit();
    e->setEchoMode(mode);
    e->setDisplayLabel(label);
    e->setReportDetails(details);
    e->setDataInNewLine(newLine);
    e->setInterpretEnabled(0, true);
    dialogue()->echoReceived(data);

    const QStringList shown = lines();
    QCOMPARE(shown.size(), expected.size());
    const QRegularExpression stamp(QStringLiteral("^\\[\\d\\d:\\d\\d:\\d\\d\\.\\d\\d\\d\\]"));
    QString first = shown.first();
    if (label) {
        QVERIFY2(stamp.match(first).hasMatch(), qPrintable(first));
        first = first.mid(14);
    }
    QCOMPARE(first, expected.first());
    if (expected.size() > 1)
        QCOMPARE(shown.at(1), expected.at(1));

    const QTextBlock dataBlock = e->document()->lastBlock();
    const auto *blockInfo = blockData(dataBlock);
    QVERIFY(blockInfo);
    const int wantedOffset = offset == -100 ? 0 : offset == -1 ? -1 : 14 + offset;
    QCOMPARE(blockInfo->offset, wantedOffset);

    // The label in the label colour, the data in the receive colour.
    QTextCursor cursor(dataBlock);
    cursor.setPosition(dataBlock.position() + dataBlock.length() - 1);
    QCOMPARE(cursor.charFormat().foreground().color(), QColor(63, 72, 204));
    if (label) {
        QTextCursor labelCursor(e->document()->firstBlock());
        labelCursor.setPosition(1);
        QCOMPARE(labelCursor.charFormat().foreground().color(), QColor(Qt::lightGray));
    }
}

void TestDialogueWindow::labelShowsChannelTime()
{
    // The label carries the time the channel stamped, not the time of
    // drawing; a transmitted chunk carries its own format and direction.
    edit()->setReportDetails(true);
    edit()->setDisplayDate(true);
    const QDateTime stamped(QDate(2024, 2, 29), QTime(23, 59, 58, 7));
    dialogue()->echoReceived(QByteArray("\x10", 1), stamped);
    dialogue()->echoTransmitted(stamped.addMSecs(1), QByteArray("xy"));
    const QStringList shown = lines();
    QCOMPARE(shown, (QStringList{QStringLiteral("[2024-02-29 23:59:58.007] RECV 1 <<< 10"),
                                 QStringLiteral("[2024-02-29 23:59:58.008] SEND 2 >>> 78 79")}));
    QTextCursor cursor(edit()->document()->lastBlock());
    cursor.movePosition(QTextCursor::EndOfBlock);
    QCOMPARE(cursor.charFormat().foreground().color(), QColor(237, 28, 36));
}

void TestDialogueWindow::breakLines_data()
{
    QTest::addColumn<QString>("symbol");
    QTest::addColumn<int>("repeat");
    QTest::addColumn<QString>("expected");

    QTest::newRow("= x10") << "=" << 10 << QString(10, QLatin1Char('='));
    QTest::newRow("= x80") << "=" << 80 << QString(80, QLatin1Char('='));
    QTest::newRow("pattern cut to 80")
        << "-----.-----" << 80 << QStringLiteral("-----.-----").repeated(8).left(80);
    QTest::newRow("DEBUG")
        << "DEBUG" << 80
        << QStringLiteral("----------------------------------- D.E.B.U.G ").repeated(2).left(80);
    QTest::newRow("DEBUG once") << "DEBUG" << 1
                                << QStringLiteral("----------------------------------- D.E.B.U.G ");
    QTest::newRow("unknown symbol") << "#" << 3 << QStringLiteral("---");
    QTest::newRow("repeat above 80") << "*" << 500 << QString(80, QLatin1Char('*'));
    QTest::newRow("negative repeat") << "~" << -4 << QStringLiteral("~");
}

void TestDialogueWindow::breakLines()
{
    QFETCH(QString, symbol);
    QFETCH(int, repeat);
    QFETCH(QString, expected);
    edit()->setBreakSymbol(symbol);
    edit()->setBreakRepeat(repeat);
    QCOMPARE(edit()->breakLine(), expected);
    edit()->insertBreak();
    QCOMPARE(lines(), QStringList{expected});
}

void TestDialogueWindow::automaticBreaks()
{
    EchoTextEdit *e = edit();
    e->setDisplayLabel(false);
    e->setBreakRepeat(3);
    e->setAutoBreak(true);
    e->setBreakInterval(2);
    for (char c : QByteArray("abcde"))
        dialogue()->echoReceived(QByteArray(1, c));
    QCOMPARE(lines(), (QStringList{"61", "62", "---", "63", "64", "---", "65"}));
    QCOMPARE(e->packetCounter(), 1);

    // Received echo off: nothing shown and nothing counted.
    e->clear();
    dialogue()->echoReceived(QByteArray(1, 'x')); // counter now 2: a break
    e->setEchoRx(false);
    dialogue()->echoReceived(QByteArray(1, 'y'));
    dialogue()->echoReceived(QByteArray(1, 'z'));
    QCOMPARE(lines(), (QStringList{"78", "---"}));
    QCOMPARE(e->packetCounter(), 0);
    e->setEchoRx(true);

    // Interval 0 switches automatic breaks off.
    e->clear();
    e->setBreakInterval(0);
    for (int i = 0; i < 4; ++i)
        dialogue()->echoReceived(QByteArray(1, 'a'));
    QCOMPARE(lines().size(), 4);
    QCOMPARE(e->packetCounter(), 0);
}

void TestDialogueWindow::picking()
{
    EchoTextEdit *e = edit();
    QSignalSpy picked(dialogue(), &DialogueWindow::interpretDataChanged);
    mainWindow()->resize(1200, 700);
    QTRY_VERIFY(e->viewport()->width() > 300);

    // Only directions with picking on get block data.
    dialogue()->echoReceived(QByteArray("\x01\xAB\xFF", 3));
    edit()->flushEcho();
    QVERIFY(!blockData(e->document()->lastBlock()));
    e->clear();

    e->setInterpretEnabled(0, true);
    dialogue()->echoReceived(QByteArray("\x01\xAB\xFF", 3));
    edit()->flushEcho();
    const QTextBlock block = e->document()->lastBlock();
    const int dataStart = blockData(block)->offset;
    QCOMPARE(dataStart, 15);

    // On the label: nothing.
    QTest::mouseClick(e->viewport(), Qt::LeftButton, {}, pointAt(block, 3));
    QCOMPARE(picked.count(), 0);
    // On the second pair, either digit: the rest of the line.
    QTest::mouseClick(e->viewport(), Qt::LeftButton, {}, pointAt(block, dataStart + 3));
    QCOMPARE(picked.count(), 1);
    QCOMPARE(picked.takeFirst().at(0).toString(), QStringLiteral("AB FF"));
    QCOMPARE(e->extraSelections().size(), 1);
    QTest::mouseClick(e->viewport(), Qt::LeftButton, {}, pointAt(block, dataStart + 4));
    QCOMPARE(picked.takeFirst().at(0).toString(), QStringLiteral("AB FF"));
    // Past the end of the line: the highlight goes, nothing is handed on.
    const QRect end = e->cursorRect(QTextCursor(e->document()->lastBlock()));
    QTest::mouseClick(e->viewport(), Qt::LeftButton, {},
                      QPoint(e->viewport()->width() - 5, end.center().y()));
    QCOMPARE(picked.count(), 0);
    QVERIFY(e->extraSelections().isEmpty());

    // A text line is handed on as its bytes, whatever its letters look like.
    e->clear();
    e->setEchoMode(1);
    e->setDisplayLabel(false);
    dialogue()->echoReceived(QByteArray("CAFE\xC3\xA9"));
    edit()->flushEcho();
    QTest::mouseClick(e->viewport(), Qt::LeftButton, {}, pointAt(e->document()->lastBlock(), 2));
    QCOMPARE(picked.takeFirst().at(0).toString(), QStringLiteral("46 45 C3 A9"));

    // Hover mode picks on moves, and only when the pick changes.
    e->setInterpretTrigger(1);
    auto hover = [e](const QPoint &pos) {
        QMouseEvent move(QEvent::MouseMove, pos, Qt::NoButton, Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(e->viewport(), &move);
    };
    hover(pointAt(e->document()->lastBlock(), 1));
    QCOMPARE(picked.count(), 1);
    hover(pointAt(e->document()->lastBlock(), 1) + QPoint(1, 0));
    QCOMPARE(picked.count(), 1);
    hover(pointAt(e->document()->lastBlock(), 3));
    QCOMPARE(picked.count(), 2);
}

void TestDialogueWindow::settingsFile()
{
    // Read at construction: values clamped, colour opaque.
    writeSettingsFile(
        "fileFormat: dorvane dialogue settings file\nfileVersion: \"9\"\n"
        "echoOptions: {displayLabel: false, displayDate: true}\n"
        "interpreter: {interpretTrigger: 1}\n"
        "echoBreaks: {symbole: \"~\", repeatCount: 500, intervalFrame: -3, color: 4293729316}\n");
    {
        EchoTextEdit fresh(Application::instance()->options()->dialogueSettingsFile);
        QCOMPARE(fresh.displayLabel(), false);
        QCOMPARE(fresh.displayDate(), true);
        QCOMPARE(fresh.interpretTrigger(), 1);
        QCOMPARE(fresh.breakSymbol(), QStringLiteral("~"));
        QCOMPARE(fresh.breakRepeat(), 80);
        QCOMPARE(fresh.breakInterval(), 1);
        QCOMPARE(fresh.breakColor(), QColor(237, 28, 36));
        QCOMPARE(fresh.breakLine(), QString(80, QLatin1Char('~')));
        fresh.setBreakSymbol(QStringLiteral("*"));
        fresh.setBreakRepeat(7);
        fresh.setBreakColor(QColor(0, 162, 232));
        fresh.setDataInNewLine(true);
    }
    // Written at destruction, complete, and read back alike.
    const YAML::Node written
        = YAML::LoadFile(Application::instance()->options()->dialogueSettingsFile.toStdString());
    QCOMPARE(written["fileFormat"].as<std::string>(), std::string("dorvane dialogue settings file"));
    QCOMPARE(written["fileVersion"].as<std::string>(), std::string("1.0"));
    QCOMPARE(written["echoBreaks"]["color"].as<unsigned>(), 0xFF00A2E8u);
    QCOMPARE(written["echoOptions"]["displayDataInNewLine"].as<std::string>(), std::string("true"));
    {
        EchoTextEdit again(Application::instance()->options()->dialogueSettingsFile);
        QCOMPARE(again.breakSymbol(), QStringLiteral("*"));
        QCOMPARE(again.breakRepeat(), 7);
        QCOMPARE(again.dataInNewLine(), true);
        QCOMPARE(again.breakColor(), QColor(0, 162, 232));
    }

    // Every break symbol survives the file, YAML's special characters too.
    const QString path = Application::instance()->options()->dialogueSettingsFile;
    for (const QString &symbol : echoBreakSymbols()) {
        EchoSettings out;
        out.breakSymbol = symbol;
        QVERIFY(writeEchoSettings(path, out));
        EchoSettings in;
        in.breakSymbol = QStringLiteral("+");
        QVERIFY(readEchoSettings(path, in));
        QCOMPARE(in.breakSymbol, symbol);
    }
}

void TestDialogueWindow::hostileSettingsFiles_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<bool>("accepted");
    QTest::addColumn<QString>("symbol");
    QTest::addColumn<int>("repeat");

    const QByteArray head("fileFormat: dorvane dialogue settings file\nfileVersion: 1.0\n");
    QTest::newRow("no header") << QByteArray("echoBreaks: {repeatCount: 3}\n") << false << "=" << 9;
    QTest::newRow("another document") << QByteArray("fileFormat: dorvane settings\nfileVersion: 1.0\n"
                                                    "echoBreaks: {repeatCount: 3}\n")
                                      << false << "=" << 9;
    QTest::newRow("not yaml") << QByteArray("{[: \x01\xff") << false << "=" << 9;
    QTest::newRow("a list") << QByteArray("- 1\n- 2\n") << false << "=" << 9;
    QTest::newRow("null symbol") << head + "echoBreaks: {symbole: ~, repeatCount: 0}\n" << true << "-" << 0;
    QTest::newRow("wrong kinds") << head + "echoBreaks: [1, 2]\nechoOptions: 5\n" << true << "=" << 9;
    QTest::newRow("huge numbers") << head + "echoBreaks: {repeatCount: 99999999999999999999, color: -1}\n"
                                  << true << "=" << 9;
    QTest::newRow("nested map value") << head + "echoBreaks: {symbole: {a: b}, repeatCount: [3]}\n"
                                      << true << "=" << 9;
    QTest::newRow("deep nesting") << head + QByteArray(5000, '[') << false << "=" << 9;
}

void TestDialogueWindow::hostileSettingsFiles()
{
    QFETCH(QByteArray, text);
    QFETCH(bool, accepted);
    QFETCH(QString, symbol);
    QFETCH(int, repeat);
    EchoSettings settings;
    settings.breakSymbol = QStringLiteral("=");
    settings.breakRepeat = 9;
    QCOMPARE(applyEchoSettingsText(text.toStdString(), settings), accepted);
    QCOMPARE(settings.breakSymbol, symbol);
    QCOMPARE(settings.breakRepeat, repeat);
    QCOMPARE(settings.breakColor, qRgb(237, 28, 36));
}

void TestDialogueWindow::lineCapKeepsBlockData()
{
    EchoTextEdit *e = edit();
    e->setLimits(50, 3000000);
    e->setDisplayLabel(false);
    e->setInterpretEnabled(0, true);
    for (int i = 0; i < 200; ++i)
        dialogue()->echoReceived(QByteArray(i % 7 + 1, char(i)));
    const QStringList shown = lines();
    // Old lines go a few at a time once the cap is passed.
    QVERIFY2(shown.size() <= 50 && shown.size() >= 45, qPrintable(QString::number(shown.size())));
    QCOMPARE(shown.last(), QStringLiteral("C7 C7 C7 C7"));
    for (QTextBlock block = e->document()->firstBlock(); block.isValid(); block = block.next())
        QCOMPARE(blockData(block)->size, (block.text().size() + 1) / 3);

    // The character bound drops whole old lines too.
    e->clear();
    e->setLimits(100000, 3000);
    for (int i = 0; i < 100; ++i)
        dialogue()->echoReceived(QByteArray(32, char(i)));
    lines();
    QVERIFY(e->document()->characterCount() <= 3000);
    QVERIFY(e->document()->firstBlock().text().startsWith(QStringLiteral("")));
    QCOMPARE(e->document()->lastBlock().text(), QByteArray(32, char(99)).toHex(' ').toUpper());
    QCOMPARE(e->document()->firstBlock().text().size(), 95);
}

void TestDialogueWindow::longLogComesBackPageByPage()
{
    // Following the end, the document holds only the newest lines of the
    // log; at its top the older ones come back in order, still pickable,
    // and back at the end the document is cut down again.
    EchoTextEdit *e = edit();
    mainWindow()->resize(1200, 700);
    QTRY_VERIFY(e->viewport()->width() > 300);
    e->setEchoMode(1);
    e->setDisplayLabel(false);
    e->setInterpretEnabled(0, true);
    const int chunks = 25000;
    auto text = [](int i) { return QString::number(i).rightJustified(5, QLatin1Char('0')); };
    for (int i = 0; i < chunks; ++i) {
        dialogue()->echoReceived(text(i).toLatin1());
        if (i % 1000 == 999)
            e->flushEcho();
    }
    QStringList shown = lines();
    QCOMPARE(e->logLineCount(), chunks);
    QCOMPARE(e->logCharacterCount(), qint64(chunks) * 6);
    QVERIFY2(shown.size() < chunks / 2, qPrintable(QString::number(shown.size())));
    QCOMPARE(shown.last(), text(chunks - 1));

    QScrollBar *bar = e->verticalScrollBar();
    auto atTop = [&] {
        bar->setValue(bar->minimum());
        return e->document()->firstBlock().text() == text(0);
    };
    QTRY_VERIFY_WITH_TIMEOUT(atTop(), 30000);
    shown = lines();
    QCOMPARE(shown.size(), chunks);
    int misplaced = 0;
    for (int i = 0; i < chunks; ++i)
        misplaced += shown.at(i) != text(i);
    QCOMPARE(misplaced, 0);
    QVERIFY(blockData(e->document()->firstBlock()));
    QCOMPARE(blockData(e->document()->firstBlock())->size, 5);

    bar->setValue(bar->maximum());
    dialogue()->echoReceived(QByteArray("end"));
    QTRY_VERIFY(e->document()->blockCount() < chunks / 2);
    QTRY_COMPARE(e->document()->lastBlock().text(), QStringLiteral("end"));
    QCOMPARE(e->logLineCount(), chunks + 1);
}

void TestDialogueWindow::overloadLeavesOutAndSays()
{
    EchoTextEdit *e = edit();
    e->setDisplayLabel(false);
    ReceiveWatcher *watcher = Application::instance()->receiveWatcher();
    mainWindow()->resetCounters();
    const qint64 before = e->droppedChunks();
    // A flood between two batches: far more than one batch can draw.
    const int chunks = 20000;
    for (int i = 0; i < chunks; ++i)
        watcher->bytesArrived(QDateTime::currentDateTime(), QByteArray(8, 'x'));
    QCOMPARE(watcher->total(), quint64(chunks) * 8);
    QTRY_COMPARE(e->queuedChunks(), 0);
    const qint64 dropped = e->droppedChunks() - before;
    QVERIFY(dropped > 0);
    const QStringList shown = lines();
    const QString notice = QStringLiteral("\u2026 %1 chunks, %2 bytes not shown");
    auto grouped = [](qint64 v) {
        QString s = QString::number(v);
        for (int i = s.size() - 3; i > 0; i -= 3)
            s.insert(i, QLatin1Char(' '));
        return s;
    };
    // Every left-out chunk is told in a break-coloured line; the rest are shown.
    const QRegularExpression told(QStringLiteral("^\u2026 ([0-9 ]+) chunks, ([0-9 ]+) bytes not shown$"));
    qint64 toldChunks = 0, toldBytes = 0, dataLines = 0;
    for (QTextBlock block = e->document()->firstBlock(); block.isValid(); block = block.next()) {
        const QRegularExpressionMatch match = told.match(block.text());
        if (!match.hasMatch()) {
            QCOMPARE(block.text(), QStringLiteral("78 78 78 78 78 78 78 78"));
            ++dataLines;
            continue;
        }
        toldChunks += match.captured(1).remove(QLatin1Char(' ')).toLongLong();
        toldBytes += match.captured(2).remove(QLatin1Char(' ')).toLongLong();
        QTextCursor cursor(block);
        cursor.movePosition(QTextCursor::EndOfBlock);
        QCOMPARE(cursor.charFormat().foreground().color(), e->breakColor());
    }
    QCOMPARE(toldChunks, dropped);
    QCOMPARE(toldBytes, dropped * 8);
    QCOMPARE(dataLines + dropped, qint64(chunks));
    QVERIFY(shown.first().startsWith(QChar(0x2026)));
    QTRY_COMPARE(mainWindow()->findChild<QLabel *>(QStringLiteral("RxCounter"))->text(),
                 QString::number(chunks * 8));

    // A giant chunk shows its head and says how much was left out.
    e->clear();
    dialogue()->echoReceived(QByteArray(100000, '\x5a'));
    const QStringList big = lines();
    QCOMPARE(big.size(), 2);
    QCOMPARE(big.first().size(), 16 * 1024 * 3 - 1);
    QCOMPARE(big.last(), notice.arg(QStringLiteral("0"), grouped(100000 - 16 * 1024)));
}

void TestDialogueWindow::toolBar()
{
    QToolBar *bar = dialogue()->findChild<QToolBar *>(QStringLiteral("DialogueToolBar"));
    QVERIFY(bar);
    auto action = [bar](const QString &text) -> QAction * {
        for (QAction *a : bar->findChildren<QAction *>())
            if (a->text() == text)
                return a;
        return nullptr;
    };
    QAction *mode = action(QStringLiteral("Switch Echo Mode"));
    QVERIFY(mode);
    QCOMPARE(mode->toolTip(), QStringLiteral("Echo Mode: Hex"));
    mode->trigger();
    QCOMPARE(edit()->echoMode(), 1);
    QCOMPARE(mode->toolTip(), QStringLiteral("Echo Mode: Text"));
    mode->trigger();
    QCOMPARE(edit()->echoMode(), 0);

    action(QStringLiteral("Echo Tx Data"))->trigger();
    QVERIFY(!edit()->echoTx());
    dialogue()->echoTransmitted(QDateTime::currentDateTime(), "abc");
    QCOMPARE(edit()->queuedChunks(), 0);
    action(QStringLiteral("Echo Tx Data"))->trigger();
    QVERIFY(edit()->echoTx());

    dialogue()->echoReceived("a");
    action(QStringLiteral("Display Timestamp"))->trigger();
    QVERIFY(!edit()->displayLabel());
    action(QStringLiteral("Show data on a new line"))->trigger();
    QVERIFY(edit()->dataInNewLine());
    action(QStringLiteral("Insert Break"))->trigger();
    // The queued chunk was drawn before the break, with the label it arrived under.
    const QStringList shown = lines();
    QCOMPARE(shown.size(), 2);
    QVERIFY(shown.first().endsWith(QStringLiteral("] 61")));
    QCOMPARE(shown.last(), edit()->breakLine());
    action(QStringLiteral("Clear Dialogue"))->trigger();
    QVERIFY(edit()->document()->isEmpty());
    action(QStringLiteral("Display Timestamp"))->trigger();

    action(QStringLiteral("Auto Line Wrap"))->trigger();
    QCOMPARE(edit()->lineWrapMode(), QPlainTextEdit::NoWrap);
    action(QStringLiteral("Auto Line Wrap"))->trigger();
    QCOMPARE(edit()->lineWrapMode(), QPlainTextEdit::WidgetWidth);
}

void TestDialogueWindow::ruler()
{
    mainWindow()->resize(1200, 700);
    EchoRulerWidget *ruler = dialogue()->ruler();
    QVERIFY(!ruler->isVisible());
    QAction *show = nullptr, *clear = nullptr;
    for (QAction *a : dialogue()->toolBar()->actions()) {
        if (a->text() == QStringLiteral("Ruler"))
            show = a;
        if (a->text() == QStringLiteral("Ruler Clear"))
            clear = a;
    }
    show->trigger();
    QVERIFY(ruler->isVisible());
    QTRY_VERIFY(ruler->width() > 300);

    QTest::mouseDClick(ruler, Qt::LeftButton, {}, QPoint(100, 10));
    QTest::mouseDClick(ruler, Qt::LeftButton, {}, QPoint(200, 10));
    QCOMPARE(ruler->noniuses().size(), 2);
    QCOMPARE(edit()->noniusPositions(), (QList<int>{ruler->noniuses().at(0).rect.center().x(),
                                                    ruler->noniuses().at(1).rect.center().x()}));
    // Dragging a marker moves its line; right-click removes it.
    auto send = [ruler](QEvent::Type type, int x, Qt::MouseButton button, Qt::MouseButtons buttons) {
        QMouseEvent event(type, QPoint(x, 10), button, buttons, Qt::NoModifier);
        QApplication::sendEvent(ruler, &event);
    };
    send(QEvent::MouseButtonPress, 100, Qt::LeftButton, Qt::LeftButton);
    send(QEvent::MouseMove, 130, Qt::NoButton, Qt::LeftButton);
    send(QEvent::MouseButtonRelease, 130, Qt::LeftButton, Qt::NoButton);
    QCOMPARE(edit()->noniusPositions().first(), ruler->noniuses().first().rect.center().x());
    QVERIFY(qAbs(edit()->noniusPositions().first() - 130) <= 1);
    QTest::mouseClick(ruler, Qt::RightButton, {}, QPoint(130, 10));
    QCOMPARE(edit()->noniusPositions().size(), 1);
    clear->trigger();
    QVERIFY(ruler->noniuses().isEmpty());
    QVERIFY(edit()->noniusPositions().isEmpty());
    show->trigger();
}

void TestDialogueWindow::countersAndEchoFromTerminal()
{
    PseudoTerminal terminal;
    if (!terminal.isOpen())
        DORVANE_PEER_MISSING("no pseudo-terminal available (openpty failed)");
    ChannelProxy *proxy = Application::instance()->channelProxy();
    QVERIFY(openTerminal(proxy, terminal));
    edit()->setDisplayLabel(false);
    auto *rx = mainWindow()->findChild<QLabel *>(QStringLiteral("RxCounter"));
    auto *tx = mainWindow()->findChild<QLabel *>(QStringLiteral("TxCounter"));
    QTest::mouseClick(mainWindow()->findChild<QPushButton *>(QStringLiteral("btnResetCounter")),
                      Qt::LeftButton);
    QCOMPARE(rx->text(), QStringLiteral("0"));

    QCOMPARE(::write(terminal.master(), "\x01\x02\x03\x04\x05", 5), ssize_t(5));
    QTRY_COMPARE(rx->text(), QStringLiteral("5"));
    QTRY_COMPARE(lines().join(QLatin1Char(' ')), QStringLiteral("01 02 03 04 05"));

    proxy->write("hi!", 3);
    QTRY_COMPARE(tx->text(), QStringLiteral("3"));
    QCOMPARE(readMaster(terminal.master(), 3), QByteArray("hi!"));
    QTRY_COMPARE(lines().last(), QStringLiteral("68 69 21"));

    QTest::mouseClick(mainWindow()->findChild<QPushButton *>(QStringLiteral("btnResetCounter")),
                      Qt::LeftButton);
    QCOMPARE(rx->text(), QStringLiteral("0"));
    QCOMPARE(tx->text(), QStringLiteral("0"));
    QCOMPARE(Application::instance()->receiveWatcher()->total(), quint64(0));
    QCOMPARE(::write(terminal.master(), "abcde", 5), ssize_t(5));
    QTRY_COMPARE(rx->text(), QStringLiteral("5"));
    proxy->close();
}

namespace {

// A TCP peer on 127.0.0.1 that sends `total` bytes of a counting pattern as
// fast as the socket takes them, once the channel has connected.
struct FloodPeer
{
    QTcpServer server;
    QTcpSocket *client = nullptr;
    QByteArray sent;

    explicit FloodPeer(int total)
    {
        sent.resize(total);
        for (int i = 0; i < total; ++i)
            sent[i] = char((i * 7 + i / 251) & 0xFF);
        server.listen(QHostAddress::LocalHost);
        QObject::connect(&server, &QTcpServer::newConnection, [this]() {
            client = server.nextPendingConnection();
            client->write(sent);
        });
    }
};

bool openClient(ChannelProxy *proxy, quint16 port)
{
    NetChannelParams params(TcpClient);
    params.remoteAddress = QStringLiteral("127.0.0.1");
    params.remotePort = port;
    // A TCP client connects after open returns.
    proxy->open(params);
    return QTest::qWaitFor([proxy]() { return proxy->isOpen(); }, 5000);
}

} // namespace

void TestDialogueWindow::pickHandsOnControlBytesAndStaysOnItsLine()
{
    EchoTextEdit *e = edit();
    QSignalSpy picked(dialogue(), &DialogueWindow::interpretDataChanged);
    mainWindow()->resize(1200, 700);
    QTRY_VERIFY(e->viewport()->width() > 300);
    e->setInterpretEnabled(0, true);
    e->setDisplayLabel(false);

    // A text line with control bytes is handed on as the bytes it came as,
    // and one press (without release) picks once.
    e->setEchoMode(1);
    dialogue()->echoReceived(QByteArray("A\0B\x1B\x7F", 5));
    edit()->flushEcho();
    QTest::mousePress(e->viewport(), Qt::LeftButton, {}, pointAt(e->document()->lastBlock(), 1));
    QCOMPARE(picked.count(), 1);
    QCOMPARE(picked.takeFirst().at(0).toString(), QStringLiteral("00 42 1B 7F"));
    QTest::mouseRelease(e->viewport(), Qt::LeftButton, {}, pointAt(e->document()->lastBlock(), 1));
    QCOMPARE(picked.count(), 0);

    // The highlight covers the picked line's tail, not the lines after it.
    e->clear();
    e->setEchoMode(0);
    dialogue()->echoReceived(QByteArray("\x01\x02\x03", 3));
    edit()->flushEcho();
    const QTextBlock block = e->document()->lastBlock();
    QTest::mouseClick(e->viewport(), Qt::LeftButton, {}, pointAt(block, 3));
    QCOMPARE(picked.count(), 1);
    const int end = block.position() + block.length() - 1;
    for (int i = 0; i < 5; ++i)
        dialogue()->echoReceived(QByteArray("\x04\x05", 2));
    edit()->flushEcho();
    QCOMPARE(e->document()->blockCount(), 6);
    QCOMPARE(e->extraSelections().size(), 1);
    const QTextCursor highlight = e->extraSelections().first().cursor;
    QCOMPARE(highlight.selectionStart(), block.position() + 3);
    QCOMPARE(highlight.selectionEnd(), end);
}

void TestDialogueWindow::microsecondAndDeltaLabelsFromTerminal()
{
    PseudoTerminal terminal;
    if (!terminal.isOpen())
        DORVANE_PEER_MISSING("no pseudo-terminal available (openpty failed)");
    ChannelProxy *proxy = Application::instance()->channelProxy();
    QVERIFY(openTerminal(proxy, terminal));
    EchoTextEdit *e = edit();
    e->setDisplayMicroseconds(true);
    e->setDisplayDelta(true);
    // The log's lines, not the document's blocks: an empty document has
    // one block already.
    const auto logLines = [e] {
        e->flushEcho();
        return e->logLineCount();
    };
    QCOMPARE(::write(terminal.master(), "ab", 2), ssize_t(2));
    QTRY_COMPARE(logLines(), 1);
    QTest::qWait(30);
    QCOMPARE(::write(terminal.master(), "cd", 2), ssize_t(2));
    QTRY_COMPARE(logLines(), 2);
    proxy->close();

    const QRegularExpression label(
        QStringLiteral("^\\[\\d\\d:\\d\\d:\\d\\d\\.\\d{3}(\\d{3}) \\+(\\d+)\\.(\\d{6})\\] "));
    const QRegularExpressionMatch first = label.match(lines().at(0));
    const QRegularExpressionMatch second = label.match(lines().at(1));
    QVERIFY2(first.hasMatch(), qPrintable(lines().at(0)));
    QVERIFY2(second.hasMatch(), qPrintable(lines().at(1)));
    QVERIFY(lines().at(1).endsWith(QStringLiteral("63 64")));
    // The channel's steady stamps give real µs, not the ms padded with zeros.
    QVERIFY(first.captured(1) != QStringLiteral("000") || second.captured(1) != QStringLiteral("000"));
    const qint64 delta = second.captured(2).toLongLong() * 1000000 + second.captured(3).toLongLong();
    QVERIFY2(delta >= 25000 && delta < 5000000, qPrintable(lines().at(1)));

    // Older readers skip the new keys; ours reads them back.
    e->saveSettings();
    EchoSettings stored;
    QVERIFY(readEchoSettings(Application::instance()->options()->dialogueSettingsFile, stored));
    QVERIFY(stored.displayMicroseconds && stored.displayDelta);
    e->setDisplayMicroseconds(false);
    e->setDisplayDelta(false);
    e->saveSettings();
}

void TestDialogueWindow::pausedViewCatchesUpOnResume()
{
    EchoTextEdit *e = edit();
    e->setDisplayLabel(false);
    dialogue()->echoReceived("\x01");
    QCOMPARE(lines(), QStringList{QStringLiteral("01")});
    dialogue()->pauseAction()->trigger();
    QVERIFY(e->isPaused());
    dialogue()->echoReceived("\x02");
    dialogue()->echoReceived("\x03");
    QTest::qWait(100);
    QCOMPARE(lines(), QStringList{QStringLiteral("01")});
    dialogue()->pauseAction()->trigger();
    QCOMPARE(lines(), (QStringList{QStringLiteral("01"), QStringLiteral("02"), QStringLiteral("03")}));

    // More than the view keeps while paused: resume says what it skipped.
    const qint64 before = e->droppedChunks();
    dialogue()->pauseAction()->trigger();
    for (int i = 0; i < 100000; ++i)
        dialogue()->echoReceived("\x04");
    dialogue()->pauseAction()->trigger();
    const QStringList shown = lines();
    QVERIFY(e->droppedChunks() > before);
    QCOMPARE(shown.last(), QStringLiteral("04"));
}

void TestDialogueWindow::findBarCountsAndSteps()
{
    EchoTextEdit *e = edit();
    e->setDisplayLabel(false);
    mainWindow()->resize(1200, 700);
    // The find shortcut reaches only an active window.
    mainWindow()->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(mainWindow()));
    dialogue()->echoReceived(QByteArray("\x0A\xA0\x0A", 3));
    dialogue()->echoReceived(QByteArray("\x00\xA0", 2));
    dialogue()->echoReceived(QByteArray("\x10\xA0\xA0", 3));
    e->setFocus();
    QTest::keyClick(e, Qt::Key_F, Qt::ControlModifier);
    EchoFindBar *bar = dialogue()->findBar();
    QVERIFY(bar->isVisible());
    auto *text = bar->findChild<QLineEdit *>(QStringLiteral("FindText"));
    auto *count = bar->findChild<QLabel *>(QStringLiteral("FindCount"));
    QVERIFY(text->hasFocus());
    bar->findChild<QCheckBox *>(QStringLiteral("FindHex"))->setChecked(true);
    // "0A0" is a half pair; "A0" never matches the tail of "0A 0..." pairs.
    QTest::keyClicks(text, QStringLiteral("0A0"));
    QCOMPARE(count->text(), QStringLiteral("0 of 0"));
    text->setText(QStringLiteral("a0"));
    QCOMPARE(count->text(), QStringLiteral("1 of 4"));
    QCOMPARE(e->extraSelections().size(), 5);
    QCOMPARE(e->textCursor().selectedText(), QStringLiteral("A0"));
    QTest::mouseClick(bar->findChild<QToolButton *>(QStringLiteral("FindNext")), Qt::LeftButton);
    QCOMPARE(count->text(), QStringLiteral("2 of 4"));
    QCOMPARE(e->textCursor().block().blockNumber(), 1);
    QTest::mouseClick(bar->findChild<QToolButton *>(QStringLiteral("FindPrevious")), Qt::LeftButton);
    QTest::mouseClick(bar->findChild<QToolButton *>(QStringLiteral("FindPrevious")), Qt::LeftButton);
    QCOMPARE(count->text(), QStringLiteral("4 of 4"));
    bar->findChild<QCheckBox *>(QStringLiteral("FindHighlightAll"))->setChecked(false);
    QCOMPARE(e->extraSelections().size(), 1);

    // Text: match case or not.
    bar->findChild<QCheckBox *>(QStringLiteral("FindHex"))->setChecked(false);
    e->setEchoMode(1);
    dialogue()->echoReceived("Alarm alarm ALARM");
    e->flushEcho();
    text->setText(QStringLiteral("alarm"));
    QCOMPARE(count->text().section(QLatin1Char(' '), 2), QStringLiteral("3"));
    bar->findChild<QCheckBox *>(QStringLiteral("FindMatchCase"))->setChecked(true);
    QCOMPARE(count->text(), QStringLiteral("1 of 1"));

    // A match older than the lines the document holds is paged in.
    e->clear();
    e->setEchoMode(0);
    dialogue()->echoReceived("\xEE");
    for (int i = 0; i < 30000; ++i) {
        dialogue()->echoReceived(QByteArray(1, '\0'));
        if (i % 1000 == 999)
            e->flushEcho();
    }
    QVERIFY(e->document()->blockCount() < e->logLineCount());
    bar->findChild<QCheckBox *>(QStringLiteral("FindHex"))->setChecked(true);
    text->setText(QStringLiteral("ee"));
    QCOMPARE(count->text(), QStringLiteral("1 of 1"));
    QCOMPARE(e->textCursor().selectedText(), QStringLiteral("EE"));
    QCOMPARE(e->textCursor().blockNumber(), 0);
    QTest::keyClick(text, Qt::Key_Escape);
    QVERIFY(!bar->isVisible());
    QVERIFY(e->extraSelections().isEmpty());
}

void TestDialogueWindow::captureHoldsEveryByteOfAFlood()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("flood.bin"));
    QVERIFY(dialogue()->startCapture(path, false, 0));
    QVERIFY(dialogue()->captureAction()->isChecked());
    auto *status = dialogue()->findChild<QLabel *>(QStringLiteral("CaptureStatus"));
    QVERIFY(status->text().contains(path));

    // 16 MB is far past what the view draws: it skips, the file must not.
    FloodPeer peer(16 * 1024 * 1024);
    ChannelProxy *proxy = Application::instance()->channelProxy();
    Application::instance()->receiveWatcher()->resetTotal();
    QVERIFY(openClient(proxy, peer.server.serverPort()));
    QTRY_COMPARE_WITH_TIMEOUT(Application::instance()->receiveWatcher()->total() >= quint64(peer.sent.size()),
                              true, 60000);
    proxy->close();
    dialogue()->stopCapture();
    QVERIFY(!dialogue()->captureAction()->isChecked());

    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray got = file.readAll();
    QCOMPARE(got.size(), peer.sent.size());
    QVERIFY(got == peer.sent);

    // Append adds to what is there; a new capture starts the file again.
    QVERIFY(dialogue()->startCapture(path, true, 0));
    dialogue()->capture()->record(ChannelChunk{1, QDateTime::currentDateTime(), "tail", {}},
                                  CaptureDirection::Received);
    dialogue()->stopCapture();
    QCOMPARE(QFileInfo(path).size(), qint64(peer.sent.size() + 4));
    QVERIFY(dialogue()->startCapture(path, false, 0));
    dialogue()->stopCapture();
    QCOMPARE(QFileInfo(path).size(), qint64(0));
}

void TestDialogueWindow::capturePcapngReadsBackInTshark()
{
    const QString tshark = QStandardPaths::findExecutable(QStringLiteral("tshark"));
    if (tshark.isEmpty())
        QSKIP("tshark is missing (Debian package tshark)");
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("exchange.pcapng"));
    QVERIFY(dialogue()->startCapture(path, false, 0));

    FloodPeer peer(256 * 1024);
    ChannelProxy *proxy = Application::instance()->channelProxy();
    Application::instance()->receiveWatcher()->resetTotal();
    QVERIFY(openClient(proxy, peer.server.serverPort()));
    QTRY_COMPARE_WITH_TIMEOUT(Application::instance()->receiveWatcher()->total(), quint64(peer.sent.size()),
                              20000);
    proxy->write("ping!", 5);
    QTRY_VERIFY(peer.client && peer.client->bytesAvailable() >= 5);
    proxy->close();
    dialogue()->stopCapture();

    QProcess run;
    run.start(tshark, {QStringLiteral("-r"), path, QStringLiteral("-T"), QStringLiteral("fields"),
                       QStringLiteral("-e"), QStringLiteral("frame.len"), QStringLiteral("-e"),
                       QStringLiteral("frame.packet_flags_direction"), QStringLiteral("-e"),
                       QStringLiteral("frame.time_epoch")});
    QVERIFY(run.waitForFinished(60000));
    QCOMPARE(run.exitCode(), 0);
    qint64 received = 0;
    int receivedPackets = 0;
    QStringList written;
    double previous = 0;
    const double now = QDateTime::currentMSecsSinceEpoch() / 1000.0;
    for (const QByteArray &line : run.readAllStandardOutput().split('\n')) {
        const QList<QByteArray> fields = line.split('\t');
        if (fields.size() < 3)
            continue;
        const double time = fields.at(2).toDouble();
        QVERIFY(time >= previous && time <= now + 1 && time > now - 120);
        previous = time;
        // 1 inbound, 2 outbound.
        if (fields.at(1).trimmed().toInt(nullptr, 0) == 2)
            written << QString::fromLatin1(fields.at(0));
        else {
            received += fields.at(0).toLongLong();
            ++receivedPackets;
        }
    }
    QCOMPARE(received, qint64(peer.sent.size()));
    QVERIFY(receivedPackets > 0);
    QCOMPARE(written, QStringList{QStringLiteral("5")});
}

void TestDialogueWindow::failedCaptureWriteStopsWithOneNotice()
{
    if (!QFileInfo::exists(QStringLiteral("/dev/full")))
        QSKIP("/dev/full is missing: no device that fails every write");
    QSignalSpy failed(dialogue(), &DialogueWindow::captureFailed);
    QVERIFY(dialogue()->startCapture(QStringLiteral("/dev/full"), true, 0));
    for (int i = 0; i < 200; ++i)
        dialogue()->capture()->record(
            ChannelChunk{i + 1, QDateTime::currentDateTime(), QByteArray(4096, 'x'), {}},
            CaptureDirection::Received);
    QTRY_COMPARE(failed.count(), 1);
    QVERIFY(!dialogue()->capture()->isRunning());
    QVERIFY(!dialogue()->captureAction()->isChecked());
    auto *notice = dialogue()->findChild<QMessageBox *>(QStringLiteral("CaptureFailedNotice"));
    QVERIFY(notice);
    notice->close();
    QTest::qWait(200);
    QCOMPARE(failed.count(), 1);
}

DORVANE_APP_TEST_MAIN(TestDialogueWindow)
#include "tst_dialoguewindow.moc"
