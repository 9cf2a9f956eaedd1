// The pieces every workbench window shares: the channel tracker with a real
// periodic send over a pseudo-terminal, the notices, the open-file question
// and the save question.
#include "apptestsupport.h"

#include "services/channeltracker.h"
#include "shell/applicationoptions.h"
#include "shell/notices.h"
#include "shell/savefileaskdialog.h"
#include "windows/common/editorheaderview.h"
#include "windows/common/nameedit.h"
#include "windows/common/scrollworkspace.h"

#include <dorvane/Channel.h>

#include <QDialogButtonBox>
#include <QDir>
#include <QFile>
#include <QFormLayout>
#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>

namespace {

class IdleCallback : public IPeriodSendCallback
{
public:
    void periodSend() override {}
};

ChannelProxy *proxy()
{
    return Application::instance()->channelProxy();
}

ChannelTracker *tracker()
{
    return Application::instance()->channelTracker();
}

bool openPseudoTerminal(const PseudoTerminal &pty)
{
    SerialChannelParams params;
    params.portName = pty.slavePath();
    params.baudRate = 115200;
    params.timing = PreciseTiming;
    return proxy()->open(params);
}

} // namespace

class TestSharedPieces : public QObject
{
    Q_OBJECT

private slots:
    void trackerRefusesWhilePeriodicSendingRuns()
    {
        PseudoTerminal pty;
        if (!pty.isOpen())
            DORVANE_PEER_MISSING("no pseudo-terminal available (openpty failed)");
        QVERIFY(openPseudoTerminal(pty));

        QObject editor;
        QObject transmit;
        QSignalSpy spy(tracker(), &ChannelTracker::periodSendStateChanged);

        QVERIFY(!tracker()->running());
        QVERIFY(tracker()->track(&editor, QStringLiteral("Protocol Editor")));
        IdleCallback callback;
        proxy()->startPeriodSend(&callback, 50);
        QTRY_VERIFY(tracker()->running());
        QCOMPARE(spy.count(), 1);
        QCOMPARE(spy.at(0).at(0).value<QObject *>(), &editor);
        QCOMPARE(spy.at(0).at(1).toBool(), true);

        // Another window asking while it runs is refused and changes nothing.
        QVERIFY(!tracker()->track(&transmit, QStringLiteral("Transmit Window")));
        QCOMPARE(tracker()->trackedSender(), &editor);
        QCOMPARE(tracker()->trackedDescription(), QStringLiteral("Protocol Editor"));

        // ...and is told which window holds the periodic sending.
        {
            MessageBoxCatcher boxes;
            noticePeriodSendBusy();
            QCOMPARE(boxes.count(), 1);
            QCOMPARE(boxes.texts().at(0),
                     QStringLiteral("Periodic sending has been turned on: Protocol Editor"));
            QCOMPARE(boxes.titles().at(0), QStringLiteral("Dorvane"));
            QCOMPARE(boxes.icons().at(0), QMessageBox::Warning);
        }

        // A second start while running reports nothing new.
        proxy()->startPeriodSend(&callback, 50);
        QTest::qWait(100);
        QCOMPARE(spy.count(), 1);

        proxy()->stopPeriodSend();
        QTRY_VERIFY(!tracker()->running());
        QCOMPARE(spy.count(), 2);
        QCOMPARE(spy.at(1).at(0).value<QObject *>(), &editor);
        QCOMPARE(spy.at(1).at(1).toBool(), false);
        // The sender stays known after the stop, until the next track.
        QCOMPARE(tracker()->trackedSender(), &editor);
        QVERIFY(tracker()->track(&transmit, QStringLiteral("Transmit Window")));
        QCOMPARE(tracker()->trackedSender(), &transmit);
        proxy()->close();
    }

    void trackedRowThatGoesAwayIsNotHandedOut()
    {
        auto *row = new QObject;
        QVERIFY(tracker()->track(row, QStringLiteral("File Editor")));
        delete row;
        QCOMPARE(tracker()->trackedSender(), static_cast<QObject *>(nullptr));
        QCOMPARE(tracker()->trackedDescription(), QStringLiteral("File Editor"));
    }

    void noticesShowTheirTexts()
    {
        MessageBoxCatcher boxes;
        QVERIFY(!proxy()->isOpen());
        noticeNoChannel();
        noticeGeneratorReset();
        noticeBuildFailed();
        warnOpenFailed(nullptr, QStringLiteral("/tmp/some dir/file.dvptc"));
        QCOMPARE(boxes.texts(),
                 (QStringList{QStringLiteral("There is no active channel, no protocol can be sent!"),
                              QStringLiteral("Generator reset done!"),
                              QStringLiteral("A problem occurred during build. Check data validity."),
                              QStringLiteral("Unable to open file: ")
                                  + QDir::toNativeSeparators(QStringLiteral("/tmp/some dir/file.dvptc"))}));
        QCOMPARE(boxes.icons(), (QList<QMessageBox::Icon>{QMessageBox::Critical, QMessageBox::Information,
                                                          QMessageBox::Critical, QMessageBox::Warning}));
        for (const QString &title : boxes.titles())
            QCOMPARE(title, QStringLiteral("Dorvane"));
    }

    void noChannelNoticeStaysQuietWhileAChannelIsOpen()
    {
        PseudoTerminal pty;
        if (!pty.isOpen())
            DORVANE_PEER_MISSING("no pseudo-terminal available (openpty failed)");
        QVERIFY(openPseudoTerminal(pty));
        MessageBoxCatcher boxes;
        noticeNoChannel();
        QTest::qWait(30);
        QCOMPARE(boxes.count(), 0);
        proxy()->close();
    }

    void channelWarningsDoNotStack()
    {
        QWidget owner;
        auto visibleBoxes = [&owner] {
            QList<QMessageBox *> boxes;
            for (QMessageBox *box : owner.findChildren<QMessageBox *>())
                if (box->isVisible())
                    boxes << box;
            return boxes;
        };
        warnChannelFailed(&owner, QStringLiteral("Connection refused"));
        warnChannelFailed(&owner, QStringLiteral("Host not found"));
        QCOMPARE(visibleBoxes().size(), 1);
        QCOMPARE(visibleBoxes().at(0)->text(), QStringLiteral("Host not found"));
        QCOMPARE(visibleBoxes().at(0)->windowTitle(), QStringLiteral("Dorvane"));

        // Answered, the box waits for its deletion; the next failure must
        // still be seen.
        visibleBoxes().at(0)->done(QMessageBox::Ok);
        QVERIFY(visibleBoxes().isEmpty());
        warnChannelFailed(&owner, QStringLiteral("The remote host closed the connection"));
        QCOMPARE(visibleBoxes().size(), 1);
        QCOMPARE(visibleBoxes().at(0)->text(), QStringLiteral("The remote host closed the connection"));
    }

    void openFileDialogRemembersTheDirectoryPerKind()
    {
        QTemporaryDir dir;
        QDir(dir.path()).mkpath(QStringLiteral("protocols"));
        QDir(dir.path()).mkpath(QStringLiteral("sets"));
        const QString protocol = dir.filePath(QStringLiteral("protocols/frame.dvptc"));
        const QString set = dir.filePath(QStringLiteral("sets/all.dvpts"));
        for (const QString &path : {protocol, set}) {
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly));
        }
        ApplicationOptions *options = Application::instance()->options();
        const QString lastInstructSet = options->lastInstructSetDir;

        answerNextFileDialog(protocol);
        QCOMPARE(QFileInfo(askOpenFileName(nullptr, OpenTransmitProtocol)).canonicalFilePath(),
                 QFileInfo(protocol).canonicalFilePath());
        QCOMPARE(QFileInfo(options->lastProtocolDir).canonicalFilePath(),
                 QFileInfo(dir.filePath(QStringLiteral("protocols"))).canonicalFilePath());

        answerNextFileDialog(set);
        QVERIFY(!askOpenFileName(nullptr, OpenProtocolSet).isEmpty());
        QCOMPARE(QFileInfo(options->lastSolutionDir).canonicalFilePath(),
                 QFileInfo(dir.filePath(QStringLiteral("sets"))).canonicalFilePath());
        QCOMPARE(options->lastInstructSetDir, lastInstructSet);

        // Cancelled: empty, and the memory stays.
        const QString before = options->lastProtocolDir;
        answerNextFileDialog(QString());
        QVERIFY(askOpenFileName(nullptr, OpenTransmitProtocol).isEmpty());
        QCOMPARE(options->lastProtocolDir, before);

        // A kind without a document type opens nothing.
        QVERIFY(askOpenFileName(nullptr, 2).isEmpty());
    }

    // A name is reported once, when editing ends with a different text.
    void nameEditReportsFinishedChangesOnly()
    {
        QWidget window;
        auto *edit = new NameEdit(&window);
        auto *other = new QLineEdit(&window);
        new QHBoxLayout(&window);
        window.layout()->addWidget(edit);
        window.layout()->addWidget(other);
        edit->setText(QStringLiteral("crc"));
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QSignalSpy names(edit, &NameEdit::nameChanged);

        edit->setFocus();
        QTest::keyClicks(edit, QStringLiteral("x"));
        QTest::keyClick(edit, Qt::Key_Backspace);
        QTest::keyClick(edit, Qt::Key_Return);
        other->setFocus();
        QCOMPARE(names.count(), 0);

        edit->setFocus();
        QTest::keyClicks(edit, QStringLiteral("16  "));
        QTest::keyClick(edit, Qt::Key_Return);
        other->setFocus();
        QCOMPARE(names.count(), 1);
        QCOMPARE(names.at(0).at(0).toString(), QStringLiteral("crc16"));
    }

    void workspaceMovesRowsAndHeaderFollowsAControl()
    {
        QWidget window;
        auto *layout = new QVBoxLayout(&window);
        auto *header = new EditorHeaderView;
        auto *workspace = new ScrollWorkspace;
        layout->addWidget(header);
        layout->addWidget(workspace);
        QList<QLabel *> rows;
        for (int i = 0; i < 3; ++i) {
            rows << new QLabel(QString::number(i));
            workspace->rowLayout()->addRow(rows.last());
        }
        workspace->moveRow(0, 2);
        workspace->moveRow(5, 0);
        QFormLayout *form = workspace->rowLayout();
        QStringList order;
        for (int r = 0; r < form->rowCount(); ++r) {
            QLayoutItem *item = form->itemAt(r, QFormLayout::SpanningRole);
            order << qobject_cast<QLabel *>(item->widget())->text();
        }
        QCOMPARE(order, QStringList({"1", "2", "0"}));

        header->addSection(5, QStringLiteral("Title"));
        window.resize(400, 300);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        header->placeSectionOver(5, rows.at(1));
        const QPoint labelLeft = header->sectionLabel(5)->mapToGlobal(QPoint(0, 0));
        QCOMPARE(labelLeft.x(), rows.at(1)->mapToGlobal(QPoint(0, 0)).x());
        QCOMPARE(header->sectionLabel(5)->width(), rows.at(1)->width());
    }

    void saveQuestionEndsWithStandardCodes_data()
    {
        QTest::addColumn<QString>("button");
        QTest::addColumn<int>("code");
        QTest::newRow("save") << QStringLiteral("btnSave") << int(QDialogButtonBox::Yes);
        QTest::newRow("do not save") << QStringLiteral("btnDoNotSave") << int(QDialogButtonBox::No);
        QTest::newRow("cancel") << QStringLiteral("btnCancel") << int(QDialogButtonBox::Cancel);
        QTest::newRow("title bar") << QString() << int(QDialogButtonBox::Cancel);
    }

    void saveQuestionEndsWithStandardCodes()
    {
        QFETCH(QString, button);
        QFETCH(int, code);
        SaveFileAskDialog dialog;
        QCOMPARE(dialog.windowTitle(), QStringLiteral("Save Prompt"));
        QCOMPARE(dialog.text(),
                 QStringLiteral("The document has been changed, whether to save the changes?"));
        QVERIFY(dialog.minimumWidth() >= 320);
        dialog.setWindowTitle(QStringLiteral("Save Protocol"));
        dialog.setText(QStringLiteral("Protocol has changed, do you want save it?"));
        QCOMPARE(dialog.findChild<QLabel *>(QStringLiteral("lblText"))->text(),
                 QStringLiteral("Protocol has changed, do you want save it?"));

        QTimer::singleShot(0, &dialog, [&dialog, button] {
            if (button.isEmpty())
                dialog.close();
            else
                QTest::mouseClick(dialog.findChild<QPushButton *>(button), Qt::LeftButton);
        });
        QCOMPARE(dialog.exec(), code);
    }
};

DORVANE_APP_TEST_MAIN(TestSharedPieces)

#include "tst_sharedpieces.moc"
