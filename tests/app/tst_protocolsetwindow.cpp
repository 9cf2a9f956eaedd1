// The protocol-set window driven through its real widgets: stepping through
// the items over a pseudo-terminal, row sends, periodic sending and who owns
// it, hostile set files, and saving that fails.
#include "apptestsupport.h"

#include "model/transmittext.h"
#include "model/txprotocolset.h"
#include "services/channeltracker.h"
#include "services/streamsender.h"
#include "shell/mainwindow.h"
#include "windows/common/scrollworkspace.h"
#include "windows/protocoleditor/txprotocoleditor.h"
#include "windows/protocolsets/txprotocolsetitemeditor.h"
#include "windows/protocolsets/txprotocolsetwindow.h"

#include <dorvane/Channel.h>
#include <dorvane/Core.h>

#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QDockWidget>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QToolButton>

#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>

namespace {

TxProtocolSetWindow *window()
{
    return Application::instance()->mainWindow()->protocolSetWindow();
}

ChannelProxy *proxy()
{
    return Application::instance()->channelProxy();
}

ChannelTracker *tracker()
{
    return Application::instance()->channelTracker();
}

bool openPty(const PseudoTerminal &pty)
{
    SerialChannelParams params;
    params.portName = pty.slavePath();
    params.baudRate = 115200;
    params.timing = PreciseTiming;
    return proxy()->open(params);
}

// A protocol file whose one byte-array field sends the hex bytes.
QString writeProtocol(const QString &path, const QString &hex)
{
    auto protocol = makeTransmitProtocol(hex, 0);
    if (!protocol->Save(QFile::encodeName(path).toStdString(), Application::instance()->context()))
        return QString();
    return path;
}

// A protocol file that loads but cannot be built into a frame.
QString writeEmptyProtocol(const QString &path)
{
    TxProtocol protocol;
    protocol.Save(QFile::encodeName(path).toStdString(), Application::instance()->context());
    return path;
}

bool writeText(const QString &path, const QByteArray &text)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(text) == text.size();
}

QByteArray setDocument(const QStringList &paths, const QByteArray &format = "dorvane protocol-set file")
{
    QByteArray text = "fileFormat: \"" + format + "\"\nfileVersion: \"1.0\"\nfileList:\n";
    for (const QString &path : paths)
        text += "  - path: \"" + path.toUtf8()
                + "\"\n    valueIndex: 0\n    enable: true\n    interval: 1000\n";
    return text;
}

QPushButton *rowButton(int row, const char *name)
{
    return window()->rows().at(row)->findChild<QPushButton *>(QLatin1String(name));
}

QToolButton *windowSendButton()
{
    return window()->findChild<QToolButton *>(QStringLiteral("SendButton"));
}

QToolButton *periodButton()
{
    return window()->findChild<QToolButton *>(QStringLiteral("EnablePeriodSendButton"));
}

QAction *windowAction(const QString &text)
{
    const QList<QAction *> actions = window()->findChildren<QAction *>();
    for (QAction *action : actions) {
        if (action->text() == text)
            return action;
    }
    return nullptr;
}

// Starts a new set; changes of the open one are dropped ("Do Not Save").
void newSetDroppingChanges()
{
    if (window()->isModified()) {
        QTimer::singleShot(0, [] {
            QTRY_VERIFY(QApplication::activeModalWidget());
            auto *button
                = QApplication::activeModalWidget()->findChild<QPushButton *>(QStringLiteral("btnDoNotSave"));
            QVERIFY(button);
            button->click();
        });
    }
    window()->onNewSolution();
    QVERIFY(!window()->isModified());
}

class IdleCallback : public IPeriodSendCallback
{
public:
    void periodSend() override {}
};

// Nothing more arrives on the master side for a short while.
QByteArray drain(int fd)
{
    return readMaster(fd, 1 << 20, 150);
}

} // namespace

class TestProtocolSetWindow : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    QString m_a, m_b, m_c, m_empty;

    QString path(const QString &name) const { return m_dir.filePath(name); }

    // A fresh set of the given files, nothing modified, sender cleared.
    void openSet(const QStringList &files)
    {
        const QString file = path(QStringLiteral("current.dvpts"));
        QVERIFY(writeText(file, setDocument(files)));
        MessageBoxCatcher boxes;
        QVERIFY(window()->open(file));
        QCOMPARE(window()->rows().size(), files.size());
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        m_a = writeProtocol(path(QStringLiteral("a.dvptc")), QStringLiteral("a1 a2"));
        m_b = writeProtocol(path(QStringLiteral("b.dvptc")), QStringLiteral("b1 b2 b3"));
        m_c = writeProtocol(path(QStringLiteral("c.dvptc")), QStringLiteral("c1"));
        m_empty = writeEmptyProtocol(path(QStringLiteral("empty.dvptc")));
        QVERIFY(!m_a.isEmpty() && !m_b.isEmpty() && !m_c.isEmpty());
    }

    // Each step is a click: "send" (the window), "row N" (row N's Send) or
    // "toggle N" (row N's enable button); the bytes after it are checked on
    // the far side of the line.
    void sendingSteps_data()
    {
        QTest::addColumn<QStringList>("files");
        QTest::addColumn<QStringList>("steps");
        QTest::addColumn<QStringList>("frames");
        QTest::newRow("steps one frame per click and wraps")
            << QStringList{"a", "b", "c"} << QStringList{"send", "send", "send", "send"}
            << QStringList{"a1a2", "b1b2b3", "c1", "a1a2"};
        QTest::newRow("row send, then the window repeats that row")
            << QStringList{"a", "b", "c"} << QStringList{"send", "row 2", "send", "send"}
            << QStringList{"a1a2", "b1b2b3", "b1b2b3", "b1b2b3"};
        QTest::newRow("an item that cannot be built keeps the others in step")
            << QStringList{"a", "empty", "c"} << QStringList{"row 3", "row 2", "send", "send", "send"}
            << QStringList{"c1", "", "c1", "c1", "c1"};
        QTest::newRow("the window's send skips it")
            << QStringList{"empty", "a", "c"} << QStringList{"send", "send", "send"}
            << QStringList{"a1a2", "c1", "a1a2"};
        QTest::newRow("disabled items are skipped, their row still sends")
            << QStringList{"a", "b", "c"} << QStringList{"toggle 2", "send", "send", "send", "row 2"}
            << QStringList{"", "a1a2", "c1", "a1a2", "b1b2b3"};
    }
    void sendingSteps()
    {
        QFETCH(QStringList, files);
        QFETCH(QStringList, steps);
        QFETCH(QStringList, frames);
        PseudoTerminal pty;
        if (!pty.isOpen())
            DORVANE_PEER_MISSING("no pseudo-terminal available (openpty failed)");
        QVERIFY(openPty(pty));
        QStringList paths;
        for (const QString &name : files)
            paths << path(name + QStringLiteral(".dvptc"));
        openSet(paths);
        windowAction(QStringLiteral("Enable"))->setChecked(true);

        MessageBoxCatcher boxes;
        for (int i = 0; i < steps.size(); ++i) {
            const QStringList step = steps.at(i).split(QLatin1Char(' '));
            if (step.at(0) == QLatin1String("send"))
                QTest::mouseClick(windowSendButton(), Qt::LeftButton);
            else if (step.at(0) == QLatin1String("row"))
                QTest::mouseClick(rowButton(step.at(1).toInt() - 1, "SendButton"), Qt::LeftButton);
            else
                QTest::mouseClick(rowButton(step.at(1).toInt() - 1, "EnableButton"), Qt::LeftButton);
            const QByteArray expected = QByteArray::fromHex(frames.at(i).toLatin1());
            const QByteArray got
                = expected.isEmpty() ? drain(pty.master()) : readMaster(pty.master(), expected.size());
            QVERIFY2(got == expected,
                     qPrintable(QStringLiteral("step %1 (%2): got %3, expected %4")
                                    .arg(i + 1)
                                    .arg(steps.at(i), QString::fromLatin1(got.toHex()), frames.at(i))));
        }
        QCOMPARE(drain(pty.master()), QByteArray());
        // Only the row whose item cannot be built is marked, and only its
        // own Send complains.
        for (TxProtocolSetItemEditor *row : window()->rows())
            QCOMPARE(row->buildFailed(), row->item()->path == m_empty);
        QCOMPARE(boxes.count(),
                 steps.contains(QStringLiteral("row 2")) && files.at(1) == QLatin1String("empty") ? 1 : 0);
        windowAction(QStringLiteral("Enable"))->setChecked(false);
        proxy()->close();
    }

    void noChannelSendsNothing()
    {
        openSet({m_a});
        MessageBoxCatcher boxes;
        QTest::mouseClick(windowSendButton(), Qt::LeftButton);
        QTest::mouseClick(rowButton(0, "SendButton"), Qt::LeftButton);
        QTRY_COMPARE(boxes.count(), 2);
        QCOMPARE(boxes.texts().at(0), QStringLiteral("There is no active channel, no protocol can be sent!"));
        QCOMPARE(boxes.icons().at(1), QMessageBox::Critical);
    }

    void periodicSendingOwnership()
    {
        PseudoTerminal pty;
        if (!pty.isOpen())
            DORVANE_PEER_MISSING("no pseudo-terminal available (openpty failed)");
        QVERIFY(openPty(pty));
        openSet({m_a, m_c});
        windowAction(QStringLiteral("Period Send Options"))->setChecked(true);
        window()->findChild<QSpinBox *>(QStringLiteral("IntervalSpinBox"))->setValue(60000);
        TxProtocolSetItemEditor *second = window()->rows().at(1);
        second->intervalSpin()->setValue(20);
        MessageBoxCatcher boxes;

        // A row's periodic sending runs at the row's own interval, sends the
        // row's frame only, and shows that it runs.
        QTest::mouseClick(second->periodSendButton(), Qt::LeftButton);
        QTRY_VERIFY(tracker()->running());
        QCOMPARE(tracker()->trackedSender(), second);
        QCOMPARE(second->periodSendButton()->text(), QStringLiteral("Stop"));
        QCOMPARE(second->periodSendButton()->property("loopSend").toBool(), true);
        const QByteArray frames = readMaster(pty.master(), 5);
        QVERIFY(frames.size() >= 5);
        QCOMPARE(frames, QByteArray(frames.size(), char(0xc1)));

        // Nobody else stops it: the window and the other row are told who
        // runs it, and a single send would disturb it.
        periodButton()->setChecked(true);
        QTest::mouseClick(windowSendButton(), Qt::LeftButton);
        QTest::mouseClick(rowButton(0, "PeriodSendButton"), Qt::LeftButton);
        QTest::mouseClick(rowButton(0, "SendButton"), Qt::LeftButton);
        QTRY_COMPARE(boxes.count(), 3);
        for (const QString &text : boxes.texts())
            QCOMPARE(text, QStringLiteral("Periodic sending has been turned on: File Editor"));
        QVERIFY(tracker()->running());

        QTest::mouseClick(second->periodSendButton(), Qt::LeftButton);
        QTRY_VERIFY(!tracker()->running());
        QCOMPARE(second->periodSendButton()->text(), QStringLiteral("Period Send"));
        QCOMPARE(second->periodSendButton()->property("loopSend").toBool(), false);
        drain(pty.master());

        // The window's own periodic sending: its button turns into Stop and
        // the mode cannot be switched off while it runs.
        window()->findChild<QSpinBox *>(QStringLiteral("IntervalSpinBox"))->setValue(20);
        QTest::mouseClick(windowSendButton(), Qt::LeftButton);
        QTRY_VERIFY(tracker()->running());
        QCOMPARE(tracker()->trackedSender(), window());
        QCOMPARE(windowSendButton()->text(), QStringLiteral("Stop Send"));
        QVERIFY(!periodButton()->isEnabled());
        QCOMPARE(readMaster(pty.master(), 6).left(6), QByteArray::fromHex("a1a2c1a1a2c1"));
        QTest::mouseClick(second->periodSendButton(), Qt::LeftButton);
        QTRY_COMPARE(boxes.count(), 4);
        QCOMPARE(boxes.texts().last(),
                 QStringLiteral("Periodic sending has been turned on: Protocol Set Editor"));
        QTest::mouseClick(windowSendButton(), Qt::LeftButton);
        QTRY_VERIFY(!tracker()->running());
        QCOMPARE(windowSendButton()->text(), QStringLiteral("Send"));
        QVERIFY(periodButton()->isEnabled());

        // Another window's periodic sending is left alone.
        QObject other;
        IdleCallback idle;
        QVERIFY(tracker()->track(&other, QStringLiteral("Transmit Window")));
        proxy()->startPeriodSend(&idle, 50);
        QTRY_VERIFY(tracker()->running());
        QTest::mouseClick(windowSendButton(), Qt::LeftButton);
        QTest::mouseClick(second->periodSendButton(), Qt::LeftButton);
        QTRY_COMPARE(boxes.count(), 6);
        QCOMPARE(boxes.texts().last(),
                 QStringLiteral("Periodic sending has been turned on: Transmit Window"));
        QCOMPARE(tracker()->trackedSender(), &other);
        QCOMPARE(second->periodSendButton()->text(), QStringLiteral("Period Send"));
        proxy()->stopPeriodSend();
        QTRY_VERIFY(!tracker()->running());

        // A row that goes away while its sending runs stops it: nobody could
        // stop it afterwards.
        QTest::mouseClick(second->periodSendButton(), Qt::LeftButton);
        QTRY_VERIFY(tracker()->running());
        windowAction(QStringLiteral("Deletion"))->setChecked(true);
        QTest::mouseClick(rowButton(1, "DeleteButton"), Qt::LeftButton);
        QTRY_VERIFY(!tracker()->running());
        QCOMPARE(window()->rows().size(), 1);

        QCOMPARE(boxes.count(), 6);
        periodButton()->setChecked(false);
        windowAction(QStringLiteral("Deletion"))->setChecked(false);
        windowAction(QStringLiteral("Period Send Options"))->setChecked(false);
        newSetDroppingChanges();
        proxy()->close();
    }

    // Files a user might open by mistake or on purpose: each is refused
    // quickly, or loads cleanly, and the set open before stays.
    void hostileSetFiles_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<bool>("loads");
        const QDir hostile(QStringLiteral(DORVANE_HOSTILE_SET_DIR));
        const QStringList names = hostile.entryList({QStringLiteral("*.dvpts")}, QDir::Files, QDir::Name);
        for (const QString &name : names)
            QTest::newRow(qPrintable(name))
                << hostile.filePath(name) << name.startsWith(QLatin1String("loads-"));
        QTest::newRow("a directory") << QStringLiteral("<dir>") << false;
        QTest::newRow("a FIFO") << QStringLiteral("<fifo>") << false;
        QTest::newRow("missing") << QStringLiteral("<missing>") << false;
        QTest::newRow("100 000 entries") << QStringLiteral("<huge>") << false;
        QTest::newRow("format differs by one character") << QStringLiteral("<format>") << false;
    }
    void hostileSetFiles()
    {
        QFETCH(QString, file);
        QFETCH(bool, loads);
        if (file == QLatin1String("<dir>")) {
            file = path(QStringLiteral("folder.dvpts"));
            QDir().mkpath(file);
        } else if (file == QLatin1String("<fifo>")) {
            file = path(QStringLiteral("pipe.dvpts"));
            QFile::remove(file);
            QCOMPARE(::mkfifo(QFile::encodeName(file).constData(), 0600), 0);
        } else if (file == QLatin1String("<missing>")) {
            file = path(QStringLiteral("nowhere/missing.dvpts"));
        } else if (file == QLatin1String("<huge>")) {
            file = path(QStringLiteral("huge.dvpts"));
            QByteArray text = "fileFormat: dorvane protocol-set file\nfileVersion: \"1.0\"\nfileList:\n";
            const QByteArray entry = "  - {path: " + m_a.toUtf8() + "}\n";
            for (int i = 0; i < 100000; ++i)
                text += entry;
            QVERIFY(writeText(file, text));
        } else if (file == QLatin1String("<format>")) {
            file = path(QStringLiteral("format.dvpts"));
            QVERIFY(writeText(file, setDocument({m_a}, "dorvane protocol-set filE")));
        }
        openSet({m_a, m_b});
        const QString before = window()->documentPath();

        MessageBoxCatcher boxes;
        QElapsedTimer clock;
        clock.start();
        const bool opened = window()->open(file);
        QVERIFY2(clock.elapsed() < 3000, qPrintable(QStringLiteral("took %1 ms").arg(clock.elapsed())));
        QCOMPARE(opened, loads);
        if (!loads) {
            QCOMPARE(window()->documentPath(), before);
            QCOMPARE(window()->rows().size(), 2);
            QCOMPARE(window()->protocolSet()->itemAt(1)->path, m_b);
        }
        QCOMPARE(window()->rows().size(), window()->protocolSet()->itemCount());
    }

    // Closing the application with an unsaved set asks first; Cancel keeps
    // everything open.
    void closeAsksToSaveTheSet()
    {
        openSet({m_a});
        windowAction(QStringLiteral("Enable"))->setChecked(true);
        QTest::mouseClick(rowButton(0, "EnableButton"), Qt::LeftButton);
        QVERIFY(window()->isModified());
        QString title;
        QTimer::singleShot(0, [&title] {
            QTRY_VERIFY(QApplication::activeModalWidget());
            title = QApplication::activeModalWidget()->windowTitle();
            QApplication::activeModalWidget()->findChild<QPushButton *>(QStringLiteral("btnCancel"))->click();
        });
        MainWindow *mainWindow = Application::instance()->mainWindow();
        QVERIFY(!mainWindow->close());
        QCOMPARE(title, QStringLiteral("Save Solution"));
        QVERIFY(mainWindow->isVisible());
        QVERIFY(window()->isModified());
        windowAction(QStringLiteral("Enable"))->setChecked(false);
        newSetDroppingChanges();
    }

    // A row's edit button opens its file in the protocol editor and shows
    // the editor; the editor's unsaved changes are asked about once.
    void editButtonOpensTheFileInTheEditor()
    {
        openSet({m_a, m_b});
        MainWindow *mainWindow = Application::instance()->mainWindow();
        TxProtocolEditor *editor = mainWindow->protocolEditor();
        QVERIFY(editor->open(m_a));
        editor->addFieldAtEnd();
        QVERIFY(editor->isModified());
        mainWindow->protocolEditorDock()->hide();

        int questions = 0;
        QTimer answer;
        answer.setInterval(20);
        connect(&answer, &QTimer::timeout, [&questions] {
            QWidget *modal = QApplication::activeModalWidget();
            if (QPushButton *button
                = modal ? modal->findChild<QPushButton *>(QStringLiteral("btnDoNotSave")) : nullptr) {
                ++questions;
                button->click();
            }
        });
        answer.start();
        windowAction(QStringLiteral("Edit"))->setChecked(true);
        QTest::mouseClick(rowButton(1, "EditButton"), Qt::LeftButton);
        answer.stop();
        windowAction(QStringLiteral("Edit"))->setChecked(false);

        QCOMPARE(questions, 1);
        QCOMPARE(editor->documentPath(), m_b);
        QVERIFY(!editor->isModified());
        QVERIFY(mainWindow->protocolEditorDock()->isVisible());
    }

    // Files of a set that went away are named in one warning and skipped; a
    // set left with none is refused and the old set stays.
    void missingProtocolFiles()
    {
        const QString gone = path(QStringLiteral("gone.dvptc"));
        const QString notProtocol = path(QStringLiteral("notes.dvptc"));
        QVERIFY(writeText(notProtocol, "just some notes\n"));
        const QString partly = path(QStringLiteral("partly.dvpts"));
        QVERIFY(writeText(partly, setDocument({gone, m_b, notProtocol})));
        const QString none = path(QStringLiteral("none.dvpts"));
        QVERIFY(writeText(none, setDocument({gone, notProtocol})));

        openSet({m_a});
        {
            MessageBoxCatcher boxes;
            QVERIFY(window()->open(partly));
            QTRY_COMPARE(boxes.count(), 1);
            QVERIFY(boxes.texts().at(0).contains(QDir::toNativeSeparators(gone)));
            QVERIFY(boxes.texts().at(0).contains(QDir::toNativeSeparators(notProtocol)));
            QCOMPARE(window()->rows().size(), 1);
            QCOMPARE(window()->rows().at(0)->numberLabel()->text(), QStringLiteral("1"));
            QCOMPARE(window()->titleLabel()->text(), QStringLiteral("partly"));
        }
        {
            MessageBoxCatcher boxes;
            QVERIFY(!window()->open(none));
            QTRY_COMPARE(boxes.count(), 1);
            QCOMPARE(window()->documentPath(), partly);
            QCOMPARE(window()->rows().size(), 1);
        }
    }

    // Add and Insert take the files in order at the position, skip what is
    // not a protocol with one warning, and number the rows to a common width.
    void addAndInsertFiles()
    {
        newSetDroppingChanges();
        QVERIFY(window()->workspace()->isPictureVisible());
        MessageBoxCatcher boxes;
        // Named like a protocol: the file dialog's own filter may drop a name
        // that does not match it, once it has read the directory before.
        const QString notProtocol = path(QStringLiteral("readme.dvptc"));
        QVERIFY(writeText(notProtocol, "fileFormat: something else\n"));
        QStringList names;
        for (int i = 0; i < 8; ++i) {
            const QString copy = path(QStringLiteral("copy%1.dvptc").arg(i));
            QFile::remove(copy);
            QVERIFY(QFile::copy(m_a, copy));
            names << QStringLiteral("\"%1\"").arg(copy);
        }
        names.insert(4, QStringLiteral("\"%1\"").arg(notProtocol));
        answerNextFileDialog(names.join(QLatin1Char(' ')));
        window()->onAddFiles();
        QCOMPARE(window()->rows().size(), 8);
        QTRY_COMPARE(boxes.count(), 1);
        QVERIFY(boxes.texts().at(0).contains(QDir::toNativeSeparators(notProtocol)));
        QVERIFY(window()->isModified());
        QVERIFY(!window()->workspace()->isPictureVisible());

        window()->findChild<QSpinBox *>(QStringLiteral("PositionSpinBox"))->setValue(2);
        answerNextFileDialog(QStringLiteral("\"%1\" \"%2\"").arg(m_b, m_c));
        window()->onInsertFiles();
        QCOMPARE(window()->rows().size(), 10);
        QStringList order;
        QStringList numbers;
        for (TxProtocolSetItemEditor *row : window()->rows()) {
            order << row->fileNameLabel()->text();
            numbers << row->numberLabel()->text();
        }
        QCOMPARE(order.mid(0, 4), QStringList({"copy0", "b", "c", "copy1"}));
        QCOMPARE(numbers.first(), QStringLiteral(" 1"));
        QCOMPARE(numbers.last(), QStringLiteral("10"));
        for (int i = 0; i < window()->rows().size(); ++i)
            QCOMPARE(window()->protocolSet()->itemAt(i), window()->rows().at(i)->item());

        // Moving the first row up and the last down changes nothing; a move
        // swaps the items and their numbers.
        windowAction(QStringLiteral("Move"))->setChecked(true);
        QTest::mouseClick(rowButton(0, "MoveUpButton"), Qt::LeftButton);
        QTest::mouseClick(rowButton(9, "MoveDownButton"), Qt::LeftButton);
        QCOMPARE(window()->rows().at(0)->fileNameLabel()->text(), QStringLiteral("copy0"));
        QTest::mouseClick(rowButton(1, "MoveUpButton"), Qt::LeftButton);
        QCOMPARE(window()->rows().at(0)->fileNameLabel()->text(), QStringLiteral("b"));
        QCOMPARE(window()->rows().at(0)->numberLabel()->text(), QStringLiteral(" 1"));
        QCOMPARE(window()->protocolSet()->itemAt(0)->path, m_b);
        windowAction(QStringLiteral("Move"))->setChecked(false);
        newSetDroppingChanges();
        QVERIFY(window()->rows().isEmpty());
    }

    // What a row shows is saved and comes back; a save that cannot be
    // written warns, keeps the document modified with its name, and leaves
    // the old file as it was.
    void saveReopenAndFailedSave_data()
    {
        QTest::addColumn<bool>("diskFull");
        QTest::newRow("folder replaced by a file") << false;
        QTest::newRow("disk full") << true;
    }
    void saveReopenAndFailedSave()
    {
        QFETCH(bool, diskFull);
        const QString folder = path(QStringLiteral("sets"));
        QFile::remove(folder);
        QVERIFY(QDir().mkpath(folder));
        const QString saved = folder + QStringLiteral("/pair.dvpts");
        openSet({m_a, m_c});
        windowAction(QStringLiteral("Enable"))->setChecked(true);
        QTest::mouseClick(rowButton(1, "EnableButton"), Qt::LeftButton);
        window()->rows().at(1)->intervalSpin()->setValue(250);
        QVERIFY(window()->isModified());
        answerNextFileDialog(saved);
        window()->onSaveSolutionAs();
        QVERIFY(!window()->isModified());
        QCOMPARE(window()->documentPath(), saved);

        newSetDroppingChanges();
        QVERIFY(window()->open(saved));
        TxProtocolSetItemEditor *row = window()->rows().at(1);
        QCOMPARE(row->item()->path, m_c);
        QCOMPARE(row->item()->enable, false);
        QCOMPARE(row->intervalSpin()->value(), 250);
        QCOMPARE(row->valueCombo()->currentIndex(), 0);
        QCOMPARE(window()->rows().at(0)->intervalSpin()->value(), 1000);

        QTest::mouseClick(rowButton(0, "EnableButton"), Qt::LeftButton);
        QVERIFY(window()->isModified());
        QFile file(saved);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray before = file.readAll();
        file.close();
        MessageBoxCatcher boxes;
        if (diskFull) {
            // A file size limit makes the write fail part-way, root or not.
            struct sigaction ignore = {};
            ignore.sa_handler = SIG_IGN;
            struct sigaction previousAction = {};
            QCOMPARE(::sigaction(SIGXFSZ, &ignore, &previousAction), 0);
            rlimit previous = {};
            QCOMPARE(::getrlimit(RLIMIT_FSIZE, &previous), 0);
            rlimit tiny = previous;
            tiny.rlim_cur = 32;
            QCOMPARE(::setrlimit(RLIMIT_FSIZE, &tiny), 0);
            window()->onSaveSolution();
            ::setrlimit(RLIMIT_FSIZE, &previous);
            ::sigaction(SIGXFSZ, &previousAction, nullptr);
            QVERIFY(file.open(QIODevice::ReadOnly));
            QCOMPARE(file.readAll(), before);
            QCOMPARE(QDir(folder).entryList(QDir::Files | QDir::Hidden), QStringList{"pair.dvpts"});
        } else {
            // No one, root included, can write below a plain file.
            QVERIFY(QDir(folder).removeRecursively());
            QVERIFY(writeText(folder, "in the way\n"));
            window()->onSaveSolution();
        }
        QTRY_COMPARE(boxes.count(), 1);
        QCOMPARE(boxes.titles().at(0), QStringLiteral("Dorvane"));
        QVERIFY(boxes.texts().at(0).contains(QDir::toNativeSeparators(saved)));
        QVERIFY(boxes.texts().at(0).count(QLatin1Char('\n')) >= 1);
        QVERIFY(window()->isModified());
        QCOMPARE(window()->documentPath(), saved);
        windowAction(QStringLiteral("Enable"))->setChecked(false);
        newSetDroppingChanges();
    }
};

DORVANE_APP_TEST_MAIN(TestProtocolSetWindow)
#include "tst_protocolsetwindow.moc"
