// The instruct-set window on the running application: editing rows, sending
// them to a real pseudo-terminal one by one and as a timed batch, and its
// ".dvits" files, hostile ones included.
#include "apptestsupport.h"

#include "model/instructset.h"
#include "shell/mainwindow.h"
#include "shell/savefileaskdialog.h"
#include "windows/common/editorheaderview.h"
#include "windows/common/scrollworkspace.h"
#include "windows/instructs/instructitemeditor.h"
#include "windows/instructs/instructsetwindow.h"

#include <QAction>
#include <QDockWidget>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QSpinBox>
#include <QToolButton>

#include <sys/stat.h>

namespace {

InstructSetWindow *instructWindow()
{
    return dvApp->mainWindow()->instructSetWindow();
}

QPushButton *button(InstructItemEditor *row, const char *name)
{
    return row->findChild<QPushButton *>(QLatin1String(name));
}

QStringList rowContents(InstructSetWindow *window)
{
    QStringList contents;
    for (int i = 0; i < window->rowCount(); ++i)
        contents << window->row(i)->instructEdit()->toPlainText();
    return contents;
}

// Answers the next save question with one of its buttons.
void answerSaveQuestion(const char *buttonName)
{
    auto *timer = new QTimer(QCoreApplication::instance());
    timer->setInterval(20);
    const QString name = QLatin1String(buttonName);
    QObject::connect(timer, &QTimer::timeout, [timer, name] {
        for (QWidget *widget : QApplication::topLevelWidgets()) {
            auto *dialog = qobject_cast<SaveFileAskDialog *>(widget);
            if (dialog && dialog->isVisible()) {
                timer->stop();
                timer->deleteLater();
                dialog->findChild<QPushButton *>(name)->click();
                return;
            }
        }
    });
    timer->start();
}

const QByteArray kThreeInstructs = "fileFormat: dorvane instruct-set file\nfileVersion: \"1.0\"\ninstructs:\n"
                                   "  - {title: first, content: \"01\", textMode: Hex, interval: 100}\n"
                                   "  - {title: second, content: \"02\", textMode: Hex, interval: 200}\n"
                                   "  - {title: no content, textMode: Text, interval: 300}\n"
                                   "  - {title: third, content: \"03\", textMode: Hex, interval: 500}\n";

} // namespace

class TestInstructSetWindow : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;

    // A fresh, unmodified window holding the three instructs of the file.
    void openThreeInstructs()
    {
        const QString path = m_dir.filePath(QStringLiteral("three.dvits"));
        QVERIFY(writeTestFile(path, kThreeInstructs));
        QVERIFY(instructWindow()->open(path));
    }

private slots:
    void cleanup()
    {
        instructWindow()->stopBatch();
        dvApp->channelProxy()->close();
        if (instructWindow()->isModified())
            answerSaveQuestion("btnDoNotSave");
        instructWindow()->newSet();
    }

    void addedRowsFollowTheEditModes_data()
    {
        QTest::addColumn<QString>("action");
        QTest::addColumn<QStringList>("controls");
        QTest::addColumn<int>("headerSection"); // -1: none
        QTest::newRow("comments") << "Show/Hide Comments" << QStringList{"TitleEdit"} << 3;
        QTest::newRow("delay") << "Show/Hide Delay" << QStringList{"IntervalSpinBox"} << 5;
        QTest::newRow("edit") << "Edit" << QStringList{"EditButton"} << -1;
        QTest::newRow("move") << "Move" << QStringList{"MoveUpButton", "MoveDownButton"} << -1;
        QTest::newRow("deletion") << "Deletion" << QStringList{"DeleteButton"} << -1;
    }
    void addedRowsFollowTheEditModes()
    {
        QFETCH(QString, action);
        QFETCH(QStringList, controls);
        QFETCH(int, headerSection);
        InstructSetWindow *window = instructWindow();
        QAction *mode = nullptr;
        for (QAction *candidate : window->findChildren<QAction *>())
            if (candidate->text() == action)
                mode = candidate;
        QVERIFY(mode && mode->isCheckable());

        window->add(QString(), 0);
        QCOMPARE(window->rowCount(), 0);
        window->add(QStringLiteral("01"), 0);
        QVERIFY(window->isModified());
        for (const bool on : {true, false, true}) {
            if (mode->isChecked() != on)
                mode->trigger();
            window->add(QStringLiteral("02"), 1);
            for (int i = 0; i < window->rowCount(); ++i) {
                for (const QString &name : controls) {
                    QWidget *control = window->row(i)->findChild<QWidget *>(name);
                    QCOMPARE(control->isVisibleTo(window->row(i)), on);
                }
            }
            if (headerSection >= 0)
                QCOMPARE(window->header()->sectionLabel(headerSection)->isVisibleTo(window->header()), on);
        }
        QCOMPARE(window->row(1)->textModeLabel()->text(), QStringLiteral("Text"));
        QCOMPARE(window->row(3)->findChild<QLabel *>(QStringLiteral("NumberLabel"))->text(),
                 QStringLiteral("4"));
    }

    void moveAndDeleteRows()
    {
        InstructSetWindow *window = instructWindow();
        for (const char *text : {"01", "02", "03"})
            window->add(QLatin1String(text), 0);
        window->moveAction()->trigger();
        window->deletionAction()->trigger();
        QTest::mouseClick(button(window->row(0), "MoveUpButton"), Qt::LeftButton);
        QTest::mouseClick(button(window->row(2), "MoveDownButton"), Qt::LeftButton);
        QCOMPARE(rowContents(window), (QStringList{"01", "02", "03"}));
        QTest::mouseClick(button(window->row(0), "MoveDownButton"), Qt::LeftButton);
        QTest::mouseClick(button(window->row(2), "MoveUpButton"), Qt::LeftButton);
        QCOMPARE(rowContents(window), (QStringList{"02", "03", "01"}));
        QCOMPARE(window->instructSet()->at(2)->content, QStringLiteral("01"));
        QCOMPARE(window->row(2)->findChild<QLabel *>(QStringLiteral("NumberLabel"))->text(),
                 QStringLiteral("3"));

        QTest::mouseClick(button(window->row(1), "DeleteButton"), Qt::LeftButton);
        QCOMPARE(rowContents(window), (QStringList{"02", "01"}));
        QCOMPARE(window->instructSet()->count(), 2);
        QTest::mouseClick(button(window->row(0), "DeleteButton"), Qt::LeftButton);
        QTest::mouseClick(button(window->row(0), "DeleteButton"), Qt::LeftButton);
        QCOMPARE(window->rowCount(), 0);
        QVERIFY(!window->header()->isVisible());
        QVERIFY(window->workspace()->isPictureVisible());
        window->moveAction()->trigger();
        window->deletionAction()->trigger();
    }

    // Rows send their own frames; an edited instruct is converted again on
    // its next send, an unchanged one never.
    void rowsSendToTheFarEnd()
    {
        PseudoTerminal pty;
        if (!pty.isOpen())
            DORVANE_PEER_MISSING("no pseudo-terminal available (openpty failed)");
        InstructSetWindow *window = instructWindow();
        window->add(QStringLiteral("aa bb // comment\nc"), 0);
        window->add(QStringLiteral("a\"b"), 1);
        {
            MessageBoxCatcher boxes;
            QTest::mouseClick(button(window->row(0), "SendButton"), Qt::LeftButton);
            QCOMPARE(boxes.texts(), QStringList{"There is no active channel, no protocol can be sent!"});
            QCOMPARE(window->row(0)->buildCount(), 0);
        }
        QVERIFY(openApplicationPty(pty));
        QTest::mouseClick(button(window->row(0), "SendButton"), Qt::LeftButton);
        QTest::mouseClick(button(window->row(1), "SendButton"), Qt::LeftButton);
        QTest::mouseClick(button(window->row(0), "SendButton"), Qt::LeftButton);
        QCOMPARE(readMaster(pty.master(), 9), QByteArray("\xaa\xbb\x0c"
                                                         "a\"b"
                                                         "\xaa\xbb\x0c",
                                                         9));
        QCOMPARE(window->row(0)->buildCount(), 1);

        QPlainTextEdit *edit = window->row(0)->instructEdit();
        edit->setFocus();
        edit->moveCursor(QTextCursor::End);
        QTest::keyClicks(edit, QStringLiteral(" dd"));
        QCOMPARE(window->instructSet()->at(0)->content, QStringLiteral("aa bb // comment\nc dd"));
        QTest::mouseClick(button(window->row(0), "SendButton"), Qt::LeftButton);
        QTest::mouseClick(button(window->row(0), "SendButton"), Qt::LeftButton);
        QCOMPARE(readMaster(pty.master(), 8), QByteArray("\xaa\xbb\x0c\xdd\xaa\xbb\x0c\xdd", 8));
        QCOMPARE(window->row(0)->buildCount(), 2);
        dvApp->channelProxy()->close();
    }

    // The batch sends item after item, waiting each item's own delay, and
    // starts over after the last; the rows show those delays.
    void batchSendsInOrderAndLoops()
    {
        PseudoTerminal pty;
        if (!pty.isOpen())
            DORVANE_PEER_MISSING("no pseudo-terminal available (openpty failed)");
        openThreeInstructs();
        InstructSetWindow *window = instructWindow();
        QCOMPARE(rowContents(window), (QStringList{"01", "02", "03"}));
        QCOMPARE(window->row(0)->intervalSpinBox()->value(), 100);
        QCOMPARE(window->row(1)->intervalSpinBox()->value(), 200);
        QCOMPARE(window->row(2)->intervalSpinBox()->value(), 500);
        QCOMPARE(window->row(1)->titleEdit()->text(), QStringLiteral("second"));

        QVERIFY(openApplicationPty(pty));
        // The waits are timed where the channel writes, the order where the
        // bytes arrive.
        QSignalSpy written(dvApp->channelProxy(), &ChannelProxy::bytesWritten);
        QTest::mouseClick(window->batchButton(), Qt::LeftButton);
        QVERIFY(window->isBatchRunning());
        QCOMPARE(window->batchButton()->text(), QStringLiteral("Stop Batch Send"));
        const QByteArray bytes = readMaster(pty.master(), 4, 5000);
        QTest::mouseClick(window->batchButton(), Qt::LeftButton);
        QVERIFY(!window->isBatchRunning());
        QCOMPARE(window->batchIndex(), -1);
        QCOMPARE(window->batchButton()->text(), QStringLiteral("Start Batch Send"));

        QCOMPARE(bytes, QByteArray("\x01\x02\x03\x01"));
        QTRY_VERIFY(written.count() >= 4);
        const int waits[] = {100, 200, 500};
        for (int i = 1; i < 4; ++i) {
            const qint64 gap = written[i - 1].first().toDateTime().msecsTo(written[i].first().toDateTime());
            // Loose: a loaded machine delays timers, it never hurries them.
            QVERIFY2(gap >= waits[i - 1] - 50 && gap <= waits[i - 1] + 400,
                     qPrintable(QStringLiteral("gap %1 ms after item %2").arg(gap).arg(i)));
        }
        QTest::qWait(700);
        pollfd p{pty.master(), POLLIN, 0};
        QCOMPARE(::poll(&p, 1, 0), 0);
        dvApp->channelProxy()->close();
    }

    void batchEndsWithTheChannel()
    {
        PseudoTerminal pty;
        if (!pty.isOpen())
            DORVANE_PEER_MISSING("no pseudo-terminal available (openpty failed)");
        openThreeInstructs();
        InstructSetWindow *window = instructWindow();
        MessageBoxCatcher boxes;
        QTest::mouseClick(window->batchButton(), Qt::LeftButton);
        QVERIFY(!window->isBatchRunning());
        QCOMPARE(boxes.texts(), QStringList{"There is no active channel, no protocol can be sent!"});

        QVERIFY(openApplicationPty(pty));
        QTest::mouseClick(window->batchButton(), Qt::LeftButton);
        QVERIFY(window->isBatchRunning());
        QCOMPARE(readMaster(pty.master(), 1), QByteArray("\x01"));
        dvApp->channelProxy()->close();
        QTRY_VERIFY(!window->isBatchRunning());
        QCOMPARE(window->batchButton()->text(), QStringLiteral("Start Batch Send"));
        QTest::qWait(800);
        QCOMPARE(boxes.texts(), QStringList{"There is no active channel, no protocol can be sent!"});
    }

    void saveAndOpenAgain()
    {
        InstructSetWindow *window = instructWindow();
        window->add(QStringLiteral("01 02"), 0);
        window->add(QStringLiteral("Hello \"you\"\nline two"), 1);
        window->row(0)->titleEdit()->setFocus();
        QTest::keyClicks(window->row(0)->titleEdit(), QStringLiteral("  read coils "));
        window->row(1)->intervalSpinBox()->setValue(250);
        const QString path = m_dir.filePath(QStringLiteral("saved"));
        answerNextFileDialog(path);
        window->saveAction()->trigger();
        QCOMPARE(window->path(), path + QStringLiteral(".dvits"));
        QVERIFY(!window->isModified());

        window->newSet();
        QCOMPARE(window->rowCount(), 0);
        QVERIFY(window->path().isEmpty());
        answerNextFileDialog(path + QStringLiteral(".dvits"));
        window->openAction()->trigger();
        QCOMPARE(rowContents(window), (QStringList{"01 02", "Hello \"you\"\nline two"}));
        QCOMPARE(window->instructSet()->at(0)->title, QStringLiteral("read coils"));
        QCOMPARE(window->row(1)->textModeLabel()->text(), QStringLiteral("Text"));
        QCOMPARE(window->row(1)->intervalSpinBox()->value(), 250);
        QCOMPARE(window->instructSet()->at(0)->interval, 1000);
        QVERIFY(!window->isModified());
    }

    // A failed save names the file and the reason, and the set stays
    // changed: closing still asks.
    void failedSaveWarnsAndKeepsTheSetModified()
    {
        InstructSetWindow *window = instructWindow();
        window->add(QStringLiteral("01"), 0);
        const QString blocker = m_dir.filePath(QStringLiteral("plain-file"));
        QVERIFY(writeTestFile(blocker, "not a directory"));
        const QString path = blocker + QStringLiteral("/set.dvits");
        MessageBoxCatcher boxes;
        QVERIFY(!window->save(path));
        QCOMPARE(boxes.count(), 1);
        QCOMPARE(boxes.titles().first(), QStringLiteral("Dorvane"));
        QVERIFY2(boxes.texts().first().contains(path) && boxes.texts().first().contains(QLatin1Char('\n')),
                 qPrintable(boxes.texts().first()));
        QVERIFY(window->isModified());
        QVERIFY(window->path().isEmpty());
    }

    void closingAsksToSaveTheSet()
    {
        InstructSetWindow *window = instructWindow();
        window->add(QStringLiteral("01"), 0);
        answerSaveQuestion("btnCancel");
        QVERIFY(!dvApp->mainWindow()->close());
        QVERIFY(dvApp->mainWindow()->isVisible());
        QVERIFY(window->isModified());
    }

    // Open refuses what it cannot read and keeps the set that was open; what
    // it can read it loads whole and quickly.
    void hostileFiles_data()
    {
        QTest::addColumn<QString>("source"); // a file, or "<directory>", "<fifo>", "<100000>"
        QTest::addColumn<int>("instructs");  // 0: refused
        const QDir dir(QStringLiteral(DORVANE_HOSTILE_DIR "/instructset"));
        const QMap<QString, int> expected{
            {"bad-intervals.dvits", 3}, {"deep-nesting.dvits", 0},      {"empty.dvits", 0},
            {"garbage.dvits", 0},       {"list-is-map.dvits", 0},       {"no-content.dvits", 0},
            {"truncated.dvits", 0},     {"wrong-entry-kinds.dvits", 1}, {"wrong-format.dvits", 0},
        };
        const QStringList files = dir.entryList(QDir::Files, QDir::Name);
        QCOMPARE(files, expected.keys());
        for (const QString &file : files)
            QTest::newRow(qPrintable(file)) << dir.filePath(file) << expected.value(file);
        QTest::newRow("a directory") << QStringLiteral("<directory>") << 0;
        QTest::newRow("a FIFO") << QStringLiteral("<fifo>") << 0;
        QTest::newRow("a hundred thousand entries") << QStringLiteral("<100000>") << 0;
        QTest::newRow("a thousand entries") << QStringLiteral("<1000>") << 1000;
    }
    void hostileFiles()
    {
        QFETCH(QString, source);
        QFETCH(int, instructs);
        openThreeInstructs();
        InstructSetWindow *window = instructWindow();
        window->add(QStringLiteral("04"), 0);

        QTemporaryDir temp;
        QString path = temp.filePath(QStringLiteral("hostile.dvits"));
        if (source == QLatin1String("<directory>")) {
            QVERIFY(QDir().mkpath(path));
        } else if (source == QLatin1String("<fifo>")) {
            QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
        } else if (source.startsWith(QLatin1Char('<'))) {
            QByteArray text = "fileFormat: dorvane instruct-set file\nfileVersion: \"1.0\"\ninstructs:\n";
            for (int i = source.mid(1).chopped(1).toInt(); i > 0; --i)
                text += "  - {title: t, content: \"01 02\", textMode: Hex, interval: 10}\n";
            QVERIFY(writeTestFile(path, text));
        } else {
            path = source;
        }
        const QByteArray before = QFileInfo(path).isFile() ? readTestFile(path) : QByteArray();
        QElapsedTimer clock;
        clock.start();
        const bool opened = window->open(path);
        QVERIFY2(clock.elapsed() < 60000, "opening a hostile file must not hang");
        QCOMPARE(opened, instructs > 0);
        if (opened) {
            QCOMPARE(window->rowCount(), instructs);
            QCOMPARE(window->path(), path);
            for (int i = 0; i < window->rowCount(); ++i) {
                const int interval = window->instructSet()->at(i)->interval;
                QVERIFY(interval >= 1 && interval <= 60000);
                QCOMPARE(window->row(i)->intervalSpinBox()->value(), interval);
            }
        } else {
            QCOMPARE(rowContents(window), (QStringList{"01", "02", "03", "04"}));
            QVERIFY(window->isModified());
            QVERIFY(window->path() != path);
        }
        if (QFileInfo(path).isFile())
            QCOMPARE(readTestFile(path), before);
    }

    // A long set opens with only the rows in view made; the others are made
    // when scrolled to or asked for, numbered and in the current edit modes,
    // and moving a made row past one still to come keeps both in order.
    void longSetMakesRowsAsTheyComeIntoView()
    {
        InstructSetWindow *window = instructWindow();
        window->window()->resize(1200, 700);
        window->window()->show();
        QVERIFY(QTest::qWaitForWindowExposed(window->window()));
        // Its dock starts hidden, in a tab behind others.
        auto *dock = window->window()->findChild<QDockWidget *>(QStringLiteral("InstructSetDock"));
        QVERIFY(dock);
        dock->show();
        dock->raise();
        QTRY_VERIFY(window->isVisible());
        window->deletionAction()->setChecked(true);
        QByteArray text = "fileFormat: dorvane instruct-set file\nfileVersion: \"1.0\"\ninstructs:\n";
        for (int i = 0; i < 1000; ++i)
            text += "  - {title: t" + QByteArray::number(i) + ", content: \"" + QByteArray::number(i)
                    + "\", textMode: Hex, interval: 10}\n";
        const QString path = m_dir.filePath(QStringLiteral("thousand.dvits"));
        QVERIFY(writeTestFile(path, text));
        QVERIFY(window->open(path));
        QCOMPARE(window->rowCount(), 1000);
        QVERIFY(window->isRowCreated(0));
        QVERIFY(!window->isRowCreated(999));

        // To the end, again while the layout still makes room for the rows.
        QScrollBar *bar = window->workspace()->verticalScrollBar();
        auto scrolledToEnd = [&] {
            bar->setValue(bar->maximum());
            return window->isRowCreated(999);
        };
        QTRY_VERIFY(scrolledToEnd());
        QVERIFY2(window->createdRows().size() < 200,
                 qPrintable(QString::number(window->createdRows().size())));
        InstructItemEditor *last = window->row(999);
        QCOMPARE(last->instructEdit()->toPlainText(), QStringLiteral("999"));
        QCOMPARE(last->findChild<QLabel *>(QStringLiteral("NumberLabel"))->text(), QStringLiteral("1000"));
        QVERIFY(button(last, "DeleteButton")->isVisibleTo(last));

        QVERIFY(!window->isRowCreated(500));
        InstructItemEditor *middle = window->row(500);
        QCOMPARE(middle->titleEdit()->text(), QStringLiteral("t500"));
        QCOMPARE(middle->findChild<QLabel *>(QStringLiteral("NumberLabel"))->text(), QStringLiteral(" 501"));
        window->moveAction()->setChecked(true);
        QTest::mouseClick(button(middle, "MoveDownButton"), Qt::LeftButton);
        QCOMPARE(window->row(501), middle);
        QCOMPARE(window->row(500)->instructEdit()->toPlainText(), QStringLiteral("501"));
        QCOMPARE(window->instructSet()->at(501)->content, QStringLiteral("500"));
        QVERIFY(button(window->row(500), "MoveUpButton")->isVisibleTo(window->row(500)));
        window->moveAction()->setChecked(false);
        window->deletionAction()->setChecked(false);
        dock->hide();
    }
};

DORVANE_APP_TEST_MAIN(TestInstructSetWindow)
#include "tst_instructsetwindow.moc"
