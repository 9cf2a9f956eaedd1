// The transmit window on a real pseudo-terminal: typing, sending once and
// periodically, the hand-over rules of periodic sending, and the calculator
// and checksum bars with the arithmetic behind them.
#include "apptestsupport.h"

#include "model/checksum.h"
#include "model/historylist.h"
#include "model/transmittext.h"
#include "services/channeltracker.h"
#include "services/streamsender.h"
#include "shell/applicationoptions.h"
#include "shell/mainwindow.h"
#include "windows/history/historywindow.h"
#include "windows/instructs/instructitemeditor.h"
#include "windows/instructs/instructsetwindow.h"
#include "windows/transmit/transmittextedit.h"
#include "windows/transmit/transmitwindow.h"

#include <dorvane/Channel.h>
#include <dorvane/Core.h>

#include <QAction>
#include <QComboBox>
#include <QDockWidget>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProcess>
#include <QProgressBar>
#include <QPushButton>
#include <QSpinBox>
#include <QStandardPaths>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QToolBar>
#include <QToolButton>

namespace {

TransmitWindow *window()
{
    return dvApp->mainWindow()->transmitWindow();
}

QAction *action(const QString &text)
{
    for (QAction *a : window()->findChildren<QAction *>())
        if (a->text() == text)
            return a;
    qWarning("no action %s", qPrintable(text));
    return nullptr;
}

QToolButton *button(const QString &text)
{
    for (QToolButton *b : window()->findChildren<QToolButton *>())
        if (b->text() == text && !b->defaultAction())
            return b;
    qWarning("no button %s", qPrintable(text));
    return nullptr;
}

template<typename T>
T *child(const char *name)
{
    return window()->findChild<T *>(QLatin1String(name));
}

QToolBar *bar(const QString &title)
{
    for (QToolBar *b : window()->findChildren<QToolBar *>())
        if (b->windowTitle() == title)
            return b;
    return nullptr;
}

void typeText(const QString &text)
{
    TransmitTextEdit *editor = window()->editor();
    editor->clear();
    editor->setFocus();
    const QStringList lines = text.split(QLatin1Char('\n'));
    for (int i = 0; i < lines.size(); ++i) {
        if (i > 0)
            QTest::keyClick(editor, Qt::Key_Return);
        QTest::keyClicks(editor, lines.at(i));
    }
}

// Triggers the action that the bar shows under this text (two bars have an "Insert").
void trigger(const QString &barTitle, const QString &text)
{
    for (QAction *a : bar(barTitle)->actions())
        if (a->text() == text) {
            a->trigger();
            return;
        }
    QFAIL(qPrintable(QStringLiteral("no action ") + text));
}

// Stops a helper process the test started.
void stop(QProcess &process)
{
    if (process.state() == QProcess::NotRunning)
        return;
    process.terminate();
    if (!process.waitForFinished(3000)) {
        process.kill();
        process.waitForFinished(3000);
    }
}

} // namespace

class TestTransmitWindow : public QObject
{
    Q_OBJECT

    PseudoTerminal *m_pty = nullptr;

    void openChannel()
    {
        SerialChannelParams params;
        params.portName = m_pty->slavePath();
        params.baudRate = 115200;
        params.timing = PreciseTiming;
        QVERIFY(dvApp->channelProxy()->open(params));
    }

private slots:
    void init()
    {
        m_pty = new PseudoTerminal;
        if (!m_pty->isOpen())
            DORVANE_PEER_MISSING("no pseudo-terminal available (openpty failed)");
        window()->setTransmitText(QStringLiteral("x"), HexTextMode);
        window()->editor()->clear();
    }
    void cleanup()
    {
        dvApp->channelProxy()->close();
        delete m_pty;
        m_pty = nullptr;
        if (QToolButton *period = button(QStringLiteral("Enable Period Send")))
            period->setChecked(false);
        // The checksum bar's model is the window's first choice again.
        child<QComboBox>("CrcModel")->setCurrentText(QStringLiteral("CRC_16_XMODEM"));
    }

    void sendWithoutChannelWarns()
    {
        MessageBoxCatcher boxes;
        typeText(QStringLiteral("aa"));
        QTest::mouseClick(button(QStringLiteral("Send")), Qt::LeftButton);
        QVERIFY(boxes.waitForBox());
        QCOMPARE(boxes.texts(),
                 QStringList{QStringLiteral("There is no active channel, no protocol can be sent!")});
        QCOMPARE(boxes.icons().value(0), QMessageBox::Critical);
        // The text is still waiting to be built.
        QVERIFY(window()->editor()->document()->isModified());
    }

    void sendsTypedBytes_data()
    {
        QTest::addColumn<int>("mode");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QByteArray>("arrives");
        QTest::newRow("hex pairs padded") << 0 << "1 2 abc" << QByteArray("\x01\x02\xab\x0c", 4);
        QTest::newRow("hex comment, second line") << 0 << "aa bb // note\nc" << QByteArray("\xaa\xbb\x0c", 3);
        QTest::newRow("text quote and backslash") << 1 << "a\"b\\c" << QByteArray("a\"b\\c");
    }
    void sendsTypedBytes()
    {
        QFETCH(int, mode);
        QFETCH(QString, typed);
        QFETCH(QByteArray, arrives);
        openChannel();
        window()->setTransmitText(QStringLiteral("-"), mode);
        typeText(typed);
        QTest::mouseClick(button(QStringLiteral("Send")), Qt::LeftButton);
        QCOMPARE(readMaster(m_pty->master(), arrives.size()), arrives);
    }

    // The stream built last time is sent again until the text changes; the
    // input mode alone changes nothing; Ctrl+Return sends.
    void unchangedTextReusesTheFrame()
    {
        openChannel();
        typeText(QStringLiteral("aa bb"));
        QTest::keyClick(window()->editor(), Qt::Key_Return, Qt::ControlModifier);
        QCOMPARE(readMaster(m_pty->master(), 2), QByteArray("\xaa\xbb"));
        QVERIFY(!window()->editor()->document()->isModified());

        action(QStringLiteral("Switch Input Mode"))->trigger();
        QCOMPARE(window()->inputMode(), 1);
        QCOMPARE(action(QStringLiteral("Switch Input Mode"))->toolTip(), QStringLiteral("Input Mode: Text"));
        QTest::mouseClick(button(QStringLiteral("Send")), Qt::LeftButton);
        QCOMPARE(readMaster(m_pty->master(), 2), QByteArray("\xaa\xbb"));

        QTest::keyClick(window()->editor(), Qt::Key_Z);
        QTest::mouseClick(button(QStringLiteral("Send")), Qt::LeftButton);
        QCOMPARE(readMaster(m_pty->master(), 6), QByteArray("aa bbz"));
        action(QStringLiteral("Switch Input Mode"))->trigger();
        QCOMPARE(window()->inputMode(), 0);
    }

    // Each changed text that is sent is one history record; a text sent
    // again, or typed again the same, is not a second one.
    void sentTextsReachTheHistory()
    {
        HistoryList *history = dvApp->mainWindow()->historyWindow()->historyList();
        dvApp->mainWindow()->historyWindow()->clear();
        openChannel();
        const auto send = [this](const QString &typed, int bytes) {
            if (!typed.isNull())
                typeText(typed);
            QTest::mouseClick(button(QStringLiteral("Send")), Qt::LeftButton);
            QCOMPARE(readMaster(m_pty->master(), bytes).size(), bytes);
        };
        send(QStringLiteral("aa bb"), 2);
        send(QString(), 2);
        QCOMPARE(history->count(), 1);
        send(QStringLiteral("aa bb"), 2);
        QCOMPARE(history->count(), 1);
        send(QStringLiteral("cc"), 1);
        QCOMPARE(history->count(), 2);
        QCOMPARE(history->at(0)->content, QStringLiteral("cc"));
        QCOMPARE(history->at(1)->content, QStringLiteral("aa bb"));
    }

    // "Add To Instruct Set" appends a row with the text and its mode; the
    // row's edit button brings both back into this window.
    void instructSetRoundTrip()
    {
        InstructSetWindow *instructs = dvApp->mainWindow()->instructSetWindow();
        const int before = instructs->rowCount();
        QAction *add = action(QStringLiteral("Add To Instruct Set"));
        typeText(QStringLiteral("  \n "));
        add->trigger();
        QCOMPARE(instructs->rowCount(), before);
        window()->setTransmitText(QStringLiteral("hello there"), PlainTextMode);
        add->trigger();
        window()->setTransmitText(QStringLiteral("01 02"), HexTextMode);
        add->trigger();
        QCOMPARE(instructs->rowCount(), before + 2);
        QVERIFY(!dvApp->mainWindow()->instructSetDock()->visibleRegion().isEmpty());
        QCOMPARE(instructs->row(before)->instructEdit()->toPlainText(), QStringLiteral("hello there"));
        QCOMPARE(instructs->row(before)->textModeLabel()->text(), QStringLiteral("Text"));
        QCOMPARE(instructs->row(before + 1)->textModeLabel()->text(), QStringLiteral("Hex"));

        dvApp->mainWindow()->transmitDock()->hide();
        instructs->editAction()->setChecked(true);
        QTest::mouseClick(instructs->row(before)->findChild<QPushButton *>(QStringLiteral("EditButton")),
                          Qt::LeftButton);
        instructs->editAction()->setChecked(false);
        QCOMPARE(window()->editor()->toPlainText(), QStringLiteral("hello there"));
        QCOMPARE(window()->inputMode(), int(PlainTextMode));
        QVERIFY(dvApp->mainWindow()->transmitDock()->isVisible());

        QTemporaryDir dir;
        QVERIFY(instructs->save(dir.filePath(QStringLiteral("set.dvits"))));
        instructs->newSet();
        window()->setTransmitText(QStringLiteral("x"), HexTextMode);
    }

    // Blank text does nothing; hex text without a digit has no bytes to
    // send, and says so instead of sending nothing in silence.
    void textWithoutBytesSendsNothing()
    {
        openChannel();
        typeText(QStringLiteral("   \n  "));
        QTest::mouseClick(button(QStringLiteral("Send")), Qt::LeftButton);
        QVERIFY(readMaster(m_pty->master(), 1, 200).isEmpty());

        MessageBoxCatcher boxes;
        typeText(QStringLiteral("// no digits"));
        QTest::mouseClick(button(QStringLiteral("Send")), Qt::LeftButton);
        QVERIFY(boxes.waitForBox());
        QCOMPARE(boxes.texts().value(0),
                 QStringLiteral("A problem occurred during build. Check data validity."));
        QVERIFY(readMaster(m_pty->master(), 1, 200).isEmpty());
        QVERIFY(window()->editor()->document()->isModified());
    }

    // Characters that are not hex digits are marked and stop the send with
    // a status message; valid digits still pair up.
    void hexInputRefusesNonHexDigits()
    {
        openChannel();
        typeText(QStringLiteral("1 2 3 GG zz 0x41"));
        QCOMPARE(window()->editor()->invalidHexCharacters(), QStringLiteral("Gzx"));
        QCOMPARE(window()->editor()->extraSelections().size(), 3);
        QTest::mouseClick(button(QStringLiteral("Send")), Qt::LeftButton);
        QVERIFY(readMaster(m_pty->master(), 1, 200).isEmpty());
        QCOMPARE(window()->statusBar()->currentMessage(), QStringLiteral("Not sent: not hex digits: Gzx"));

        typeText(QStringLiteral("1 2 abc // GG is a comment"));
        QVERIFY(window()->editor()->extraSelections().isEmpty());
        QTest::mouseClick(button(QStringLiteral("Send")), Qt::LeftButton);
        QCOMPARE(readMaster(m_pty->master(), 4), QByteArray("\x01\x02\xab\x0c", 4));
        // Text mode has no digits to check.
        window()->setTransmitText(QStringLiteral("GG"), PlainTextMode);
        QVERIFY(window()->editor()->extraSelections().isEmpty());
    }

    // Text mode: the chosen line ending follows each send, the delays pace
    // the bytes on the channel's worker, and the choices are kept.
    void lineEndingAndPacing()
    {
        openChannel();
        trigger(QStringLiteral("Standard"), QStringLiteral("Show/Hide Pacing and File Tools"));
        QVERIFY(bar(QStringLiteral("Text Pacing"))->isVisibleTo(window()));
        auto *ending = child<QComboBox>("LineEnding");
        auto *charDelay = child<QSpinBox>("CharDelay");
        QVERIFY(ending && charDelay && child<QSpinBox>("LineDelay"));
        window()->setTransmitText(QStringLiteral("-"), PlainTextMode);
        typeText(QStringLiteral("AT"));
        const QByteArray endings[] = {"AT", "AT\r", "AT\n", "AT\r\n"};
        for (int i : {3, 1, 2, 0}) {
            ending->setCurrentIndex(i);
            QTest::mouseClick(button(QStringLiteral("Send")), Qt::LeftButton);
            QCOMPARE(readMaster(m_pty->master(), endings[i].size()), endings[i]);
            QVERIFY(readMaster(m_pty->master(), 1, 100).isEmpty());
        }

        ending->setCurrentIndex(3);
        charDelay->setValue(100);
        typeText(QStringLiteral("ABCD"));
        QElapsedTimer clock;
        clock.start();
        QTest::mouseClick(button(QStringLiteral("Send")), Qt::LeftButton);
        // The click came back while most bytes were still waiting their turn.
        QVERIFY(clock.elapsed() < 500);
        QByteArray arrived = readMaster(m_pty->master(), 6, 0, false);
        arrived += readMaster(m_pty->master(), 6 - arrived.size());
        QCOMPARE(arrived, QByteArray("ABCD\r\n"));
        QVERIFY(clock.elapsed() >= 5 * 100);

        const YAML::Node kept = dvApp->options()->section("Transmit");
        QCOMPARE(kept["LineEnding"].as<int>(), 3);
        QCOMPARE(kept["CharDelay"].as<int>(), 100);
        charDelay->setValue(0);
        ending->setCurrentIndex(0);
        trigger(QStringLiteral("Standard"), QStringLiteral("Show/Hide Pacing and File Tools"));
    }

    // A file goes out whole in chunks with its progress; Cancel and a channel
    // that ends stop it with a message.
    void sendFile()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("blob.bin"));
        QByteArray content;
        for (int i = 0; i < 200000; ++i)
            content += char(i * 7 + i / 256);
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        QCOMPARE(file.write(content), qint64(content.size()));
        file.close();

        openChannel();
        trigger(QStringLiteral("Standard"), QStringLiteral("Show/Hide Pacing and File Tools"));
        QVERIFY(bar(QStringLiteral("Send File"))->isVisibleTo(window()));
        auto *progress = child<QProgressBar>("FileProgress");
        auto *cancel = child<QToolButton>("CancelFileSend");
        child<QSpinBox>("ChunkSize")->setValue(8192);
        child<QSpinBox>("ChunkDelay")->setValue(0);
        window()->sendFile(path);
        QVERIFY(cancel->isEnabled());
        QCOMPARE(readMaster(m_pty->master(), content.size(), 10000), content);
        QTRY_COMPARE(window()->statusBar()->currentMessage(), QStringLiteral("File sent"));
        QCOMPARE(progress->value(), progress->maximum());
        QVERIFY(!cancel->isEnabled());

        // Slow chunks: cancelled by the button.
        child<QSpinBox>("ChunkSize")->setValue(1000);
        child<QSpinBox>("ChunkDelay")->setValue(50);
        window()->sendFile(path);
        QVERIFY(!readMaster(m_pty->master(), 1000).isEmpty());
        QTest::mouseClick(cancel, Qt::LeftButton);
        QTRY_COMPARE(window()->statusBar()->currentMessage(), QStringLiteral("The send was cancelled"));
        QVERIFY(!cancel->isEnabled());
        readMaster(m_pty->master(), content.size(), 300);

        // The channel ends in the middle.
        window()->sendFile(path);
        QVERIFY(!readMaster(m_pty->master(), 1000).isEmpty());
        dvApp->channelProxy()->close();
        QTRY_VERIFY(!cancel->isEnabled());
        QCOMPARE(window()->statusBar()->currentMessage(),
                 QStringLiteral("The channel closed before the send was complete"));
        child<QSpinBox>("ChunkDelay")->setValue(0);
        trigger(QStringLiteral("Standard"), QStringLiteral("Show/Hide Pacing and File Tools"));
    }

    void setTransmitTextModes()
    {
        window()->setTransmitText(QStringLiteral("hello"), 1);
        QCOMPARE(window()->inputMode(), 1);
        QCOMPARE(window()->editor()->toPlainText(), QStringLiteral("hello"));
        window()->setTransmitText(QStringLiteral("01 02"), 7);
        QCOMPARE(window()->inputMode(), 1);
        window()->setTransmitText(QString(), 0);
        QCOMPARE(window()->editor()->toPlainText(), QStringLiteral("01 02"));
        QCOMPARE(window()->editor()->dataText(), QStringLiteral("\"01 02\""));
        window()->setTransmitText(QStringLiteral("01 02"), 0);
        QVERIFY(window()->editor()->document()->isModified());
        QCOMPARE(window()->editor()->dataText(), QStringLiteral("0x[01 02]"));
    }

    // Started and stopped here, and refused while another window owns it.
    void periodicSending()
    {
        openChannel();
        ChannelProxy *proxy = dvApp->channelProxy();
        ChannelTracker *tracker = dvApp->channelTracker();
        typeText(QStringLiteral("5a"));
        QToolButton *period = button(QStringLiteral("Enable Period Send"));
        period->setChecked(true);
        window()->findChildren<QSpinBox *>().value(0)->setValue(5);

        QTest::mouseClick(button(QStringLiteral("Send")), Qt::LeftButton);
        QTRY_VERIFY(tracker->running());
        QCOMPARE(tracker->trackedDescription(), QStringLiteral("Transmit Window"));
        QVERIFY(button(QStringLiteral("Stop Send")));
        QVERIFY(!period->isEnabled());
        const QByteArray ticks = readMaster(m_pty->master(), 5);
        QVERIFY(ticks.size() >= 5);
        QCOMPARE(ticks.count('\x5a'), ticks.size());

        QTest::mouseClick(button(QStringLiteral("Stop Send")), Qt::LeftButton);
        QTRY_VERIFY(!tracker->running());
        QVERIFY(button(QStringLiteral("Send")));
        QVERIFY(period->isEnabled());

        // The protocol editor's periodic sending runs: the window says who
        // owns it and leaves it running.
        QObject editor;
        StreamSender *other = dvApp->protocolEditorSender();
        const auto protocol = makeTransmitProtocol(QStringLiteral("01"), HexTextMode);
        QVERIFY(other->addStream(protocol.get(), 0));
        QVERIFY(other->selectAll());
        QVERIFY(tracker->track(&editor, QStringLiteral("Protocol Editor")));
        other->startPeriodSend(5);
        QTRY_VERIFY(tracker->running());
        MessageBoxCatcher boxes;
        QTest::mouseClick(button(QStringLiteral("Send")), Qt::LeftButton);
        QVERIFY(boxes.waitForBox());
        QCOMPARE(boxes.texts().value(0),
                 QStringLiteral("Periodic sending has been turned on: Protocol Editor"));
        QVERIFY(proxy->isPeriodSendRun());
        QVERIFY(button(QStringLiteral("Send")));
        other->stopPeriodSend();
        QTRY_VERIFY(!tracker->running());
        other->clear();
    }

    // A channel that ends takes its periodic sending along: the window is
    // idle again, the next Send after reopening starts anew, and a text whose
    // sending is refused stays out of the history.
    void periodicSendingEndsWithTheChannel()
    {
        HistoryList *history = dvApp->mainWindow()->historyWindow()->historyList();
        dvApp->mainWindow()->historyWindow()->clear();
        ChannelProxy *proxy = dvApp->channelProxy();
        ChannelTracker *tracker = dvApp->channelTracker();
        openChannel();
        typeText(QStringLiteral("5a"));
        QToolButton *period = button(QStringLiteral("Enable Period Send"));
        period->setChecked(true);
        window()->findChildren<QSpinBox *>().value(0)->setValue(5);
        QTest::mouseClick(button(QStringLiteral("Send")), Qt::LeftButton);
        QTRY_VERIFY(tracker->running());
        QVERIFY(readMaster(m_pty->master(), 3).size() >= 3);

        proxy->close();
        QTRY_VERIFY(!tracker->running());
        QToolButton *send = button(QStringLiteral("Send"));
        QVERIFY(send);
        QCOMPARE(send->text(), QStringLiteral("Send"));
        QVERIFY(period->isEnabled());

        openChannel();
        typeText(QStringLiteral("6b"));
        QTest::mouseClick(send, Qt::LeftButton);
        QTRY_VERIFY(tracker->running());
        QCOMPARE(tracker->trackedSender(), window());
        QCOMPARE(send->text(), QStringLiteral("Stop Send"));
        const QByteArray ticks = readMaster(m_pty->master(), 4);
        QVERIFY(ticks.size() >= 4);
        QVERIFY(ticks.endsWith('\x6b'));
        QCOMPARE(history->at(0)->content, QStringLiteral("6b"));
        QTest::mouseClick(send, Qt::LeftButton);
        QTRY_VERIFY(!tracker->running());
        QCOMPARE(send->text(), QStringLiteral("Send"));

        // Another window's sending runs: the refused text is never recorded.
        QObject editor;
        StreamSender *other = dvApp->protocolEditorSender();
        const auto protocol = makeTransmitProtocol(QStringLiteral("01"), HexTextMode);
        QVERIFY(other->addStream(protocol.get(), 0));
        QVERIFY(other->selectAll());
        QVERIFY(tracker->track(&editor, QStringLiteral("Protocol Editor")));
        other->startPeriodSend(5);
        QTRY_VERIFY(tracker->running());
        const int records = history->count();
        typeText(QStringLiteral("7c"));
        MessageBoxCatcher boxes;
        QTest::mouseClick(send, Qt::LeftButton);
        QVERIFY(boxes.waitForBox());
        QCOMPARE(history->count(), records);
        QCOMPARE(history->at(0)->content, QStringLiteral("6b"));
        other->stopPeriodSend();
        QTRY_VERIFY(!tracker->running());
        other->clear();
    }

    void numberToHex_data()
    {
        QTest::addColumn<QString>("input");
        QTest::addColumn<int>("size");
        QTest::addColumn<bool>("little");
        QTest::addColumn<QString>("hex");
        QTest::newRow("258 DWORD little") << "258" << 4 << true << "02 01 00 00";
        QTest::newRow("258 DWORD big") << "258" << 4 << false << "00 00 01 02";
        QTest::newRow("258 BYTE") << "258" << 1 << true << "02";
        QTest::newRow("258 QWORD big") << "258" << 8 << false << "00 00 00 00 00 00 01 02";
        QTest::newRow("-1 WORD") << "-1" << 2 << true << "FF FF";
        QTest::newRow("unsigned above signed range")
            << "18446744073709551615" << 8 << true << "FF FF FF FF FF FF FF FF";
        QTest::newRow("1.5 single") << "1.5" << 4 << true << "00 00 C0 3F";
        QTest::newRow("1.5 double") << "1.5" << 8 << true << "00 00 00 00 00 00 F8 3F";
        QTest::newRow("1.5 single big") << "1.5" << 4 << false << "3F C0 00 00";
        QTest::newRow("exponent without point") << "1e5" << 4 << true << "Nan";
        QTest::newRow("beyond 64 bits") << "99999999999999999999" << 8 << true << "Nan";
    }
    void numberToHex()
    {
        QFETCH(QString, input);
        QFETCH(int, size);
        QFETCH(bool, little);
        QFETCH(QString, hex);
        QCOMPARE(::numberToHex(input, size, little), hex);
    }

    // The size follows what is typed, and Insert keeps the bytes apart from
    // a digit before the cursor.
    void calculatorBar()
    {
        trigger(QStringLiteral("Standard"), QStringLiteral("Show/Hide Calc Tools"));
        QVERIFY(bar(QStringLiteral("Calculator"))->isVisibleTo(window()));
        auto *input = child<QLineEdit>("DecimalInput");
        auto *out = child<QLineEdit>("HexOut");
        QToolButton *size = button(QStringLiteral("DWORD"));
        input->clear();
        QTest::keyClicks(input, QStringLiteral("1.5"));
        QCOMPARE(out->text(), QStringLiteral("00 00 C0 3F"));
        QTest::mouseClick(size, Qt::LeftButton);
        QCOMPARE(size->text(), QStringLiteral("QWORD"));
        QCOMPARE(out->text(), QStringLiteral("00 00 00 00 00 00 F8 3F"));
        input->clear();
        QTest::keyClicks(input, QStringLiteral("258"));
        QCOMPARE(size->text(), QStringLiteral("DWORD"));
        QCOMPARE(out->text(), QStringLiteral("02 01 00 00"));
        trigger(QStringLiteral("Calculator"), QStringLiteral("Little Endian"));
        QCOMPARE(out->text(), QStringLiteral("00 00 01 02"));
        QTest::mouseClick(size, Qt::LeftButton);
        QTest::mouseClick(size, Qt::LeftButton);
        QTest::mouseClick(size, Qt::LeftButton);
        QCOMPARE(size->text(), QStringLiteral("WORD"));
        QCOMPARE(out->text(), QStringLiteral("01 02"));

        typeText(QStringLiteral("aa 1"));
        trigger(QStringLiteral("Calculator"), QStringLiteral("Insert"));
        QCOMPARE(window()->editor()->toPlainText(), QStringLiteral("aa 1 01 02"));
        QCOMPARE(window()->editor()->dataText(), QStringLiteral("0x[aa 01 01 02]"));
        trigger(QStringLiteral("Calculator"), QStringLiteral("Big Endian"));

        // A number too large for the size is refused by name, not cut.
        input->clear();
        QTest::keyClicks(input, QStringLiteral("99999999999"));
        QCOMPARE(size->text(), QStringLiteral("WORD"));
        QTest::mouseClick(size, Qt::LeftButton);
        QVERIFY(out->text().isEmpty());
        QCOMPARE(window()->statusBar()->currentMessage(),
                 QStringLiteral("99999999999 does not fit in a DWORD"));
        QTest::mouseClick(size, Qt::LeftButton);
        QCOMPARE(out->text(), QStringLiteral("FF E7 76 48 17 00 00 00"));
        QVERIFY(!numberFits(QStringLiteral("256"), 1));
        QVERIFY(numberFits(QStringLiteral("255"), 1));
        QVERIFY(numberFits(QStringLiteral("-128"), 1));
        QVERIFY(!numberFits(QStringLiteral("-129"), 1));
        QVERIFY(numberFits(QStringLiteral("65535"), 2));
        QVERIFY(!numberFits(QStringLiteral("4294967296"), 4));
        trigger(QStringLiteral("Standard"), QStringLiteral("Show/Hide Calc Tools"));
    }

    // Every model's published check value over "123456789", in both byte
    // orders, and the model's width kept for small values.
    void checksums_data()
    {
        QTest::addColumn<int>("model");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("big");
        QTest::addColumn<QString>("little");
        const QByteArray check("123456789");
        QTest::newRow("CRC_8") << int(Crc8) << check << "F4"
                               << "F4";
        QTest::newRow("CRC_16_ARC") << int(Crc16Arc) << check << "BB 3D"
                                    << "3D BB";
        QTest::newRow("CRC_16_XMODEM") << int(Crc16Xmodem) << check << "31 C3"
                                       << "C3 31";
        QTest::newRow("CRC_16_MODBUS") << int(Crc16Modbus) << check << "4B 37"
                                       << "37 4B";
        QTest::newRow("CRC_32") << int(Crc32) << check << "CB F4 39 26"
                                << "26 39 F4 CB";
        QTest::newRow("CRC_32_POSIX") << int(Crc32Posix) << check << "76 5E 76 80"
                                      << "80 76 5E 76";
        QTest::newRow("Modbus request") << int(Crc16Modbus) << QByteArray::fromHex("010300000002") << "0B C4"
                                        << "C4 0B";
        // A frame followed by its own CRC checks to zero.
        QTest::newRow("zero keeps its width")
            << int(Crc16Modbus) << QByteArray::fromHex("010300000002c40b") << "00 00"
            << "00 00";
    }
    void checksums()
    {
        QFETCH(int, model);
        QFETCH(QByteArray, bytes);
        QFETCH(QString, big);
        QFETCH(QString, little);
        const quint32 crc = computeCrc(model, bytes);
        QCOMPARE(checksumText(crc, crcModelWidth(model), false), big);
        QCOMPARE(checksumText(crc, crcModelWidth(model), true), little);
        QCOMPARE(checksumText(0xAB, 16, false), QStringLiteral("00 AB"));
    }

    // Over the bytes before the cursor, in the bar's byte order, and
    // inserted where the cursor is; text mode leaves the checksum alone.
    void checksumBar()
    {
        trigger(QStringLiteral("Standard"), QStringLiteral("Show/Hide CRC Tools"));
        auto *model = child<QComboBox>("CrcModel");
        auto *sum = child<QLineEdit>("CheckSum");
        QCOMPARE(model->currentText(), QStringLiteral("CRC_16_XMODEM"));
        model->setCurrentText(QStringLiteral("CRC_16_MODBUS"));

        typeText(QStringLiteral("01 03 00 00 00 02"));
        trigger(QStringLiteral("CRC"), QStringLiteral("Calculate"));
        QCOMPARE(sum->text(), QStringLiteral("C4 0B"));
        trigger(QStringLiteral("CRC"), QStringLiteral("Insert"));
        QCOMPARE(window()->editor()->toPlainText(), QStringLiteral("01 03 00 00 00 02 C4 0B"));

        // Only what lies before the cursor counts.
        QTextCursor cursor = window()->editor()->textCursor();
        cursor.setPosition(17);
        window()->editor()->setTextCursor(cursor);
        trigger(QStringLiteral("CRC"), QStringLiteral("Calculate"));
        QCOMPARE(sum->text(), QStringLiteral("C4 0B"));

        model->setCurrentText(QStringLiteral("CRC_16_XMODEM"));
        window()->setTransmitText(QStringLiteral("31 32 33 34 35 36 37 38 39"), HexTextMode);
        window()->editor()->moveCursor(QTextCursor::End);
        trigger(QStringLiteral("CRC"), QStringLiteral("Little Endian"));
        QCOMPARE(sum->text(), QStringLiteral("31 C3"));

        window()->setTransmitText(QStringLiteral("123"), PlainTextMode);
        window()->editor()->moveCursor(QTextCursor::End);
        trigger(QStringLiteral("CRC"), QStringLiteral("Calculate"));
        QCOMPARE(sum->text(), QStringLiteral("31 C3"));
        trigger(QStringLiteral("CRC"), QStringLiteral("Big Endian"));
        trigger(QStringLiteral("Standard"), QStringLiteral("Show/Hide CRC Tools"));
        window()->setTransmitText(QStringLiteral("-"), HexTextMode);
    }

    // A Modbus RTU device behind a socat pseudo-terminal pair answers a
    // read-holding-registers request composed here, its CRC inserted from
    // the checksum bar.
    void modbusDeviceAnswers()
    {
        const QString noSocat = missingProgram(QStringLiteral("socat"));
        if (!noSocat.isEmpty())
            DORVANE_PEER_MISSING(qPrintable(noSocat));
        QString python;
        const QString noPymodbus = missingPymodbus(&python);
        if (!noPymodbus.isEmpty())
            DORVANE_PEER_MISSING(qPrintable(noPymodbus));
        QTemporaryDir dir;
        const QString device = dir.filePath(QStringLiteral("device"));
        const QString port = dir.filePath(QStringLiteral("port"));
        QProcess socat;
        socat.start(QStringLiteral("socat"), {QStringLiteral("pty,raw,echo=0,link=") + device,
                                              QStringLiteral("pty,raw,echo=0,link=") + port});
        QTRY_VERIFY(QFile::exists(device) && QFile::exists(port));
        QProcess server;
        server.setProcessChannelMode(QProcess::ForwardedChannels);
        server.start(python, {QStringLiteral(DORVANE_SOURCE_DIR "/tools/modbus-rtu-server.py"), device});
        QVERIFY(server.waitForStarted());

        SerialChannelParams params;
        params.portName = port;
        params.baudRate = 9600;
        QVERIFY(dvApp->channelProxy()->open(params));
        QByteArray reply;
        QObject context;
        connect(dvApp->channelProxy(), &ChannelProxy::bytesArrived, &context,
                [&reply](const QDateTime &, const QByteArray &bytes) { reply += bytes; });

        typeText(QStringLiteral("01 03 00 00 00 02"));
        trigger(QStringLiteral("Standard"), QStringLiteral("Show/Hide CRC Tools"));
        child<QComboBox>("CrcModel")->setCurrentText(QStringLiteral("CRC_16_MODBUS"));
        trigger(QStringLiteral("CRC"), QStringLiteral("Calculate"));
        trigger(QStringLiteral("CRC"), QStringLiteral("Insert"));
        trigger(QStringLiteral("Standard"), QStringLiteral("Show/Hide CRC Tools"));
        QCOMPARE(window()->editor()->toPlainText(), QStringLiteral("01 03 00 00 00 02 C4 0B"));

        // The server may still be starting: the same frame goes again until
        // an answer comes.
        const QByteArray expected = QByteArray::fromHex("010304123456788107");
        QElapsedTimer clock;
        clock.start();
        while (reply.size() < expected.size() && clock.elapsed() < 15000) {
            reply.clear();
            QTest::mouseClick(button(QStringLiteral("Send")), Qt::LeftButton);
            QTest::qWait(1000);
        }
        dvApp->channelProxy()->close();
        stop(server);
        stop(socat);
        QCOMPARE(reply.left(expected.size()).toHex(' '), expected.toHex(' '));
    }
};

DORVANE_APP_TEST_MAIN(TestTransmitWindow)
#include "tst_transmitwindow.moc"
