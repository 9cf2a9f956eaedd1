// The main window as the started application builds it: tool bar, docks and
// their arrangement, dock toggling and sizing, status bar and counters.
#include "apptestsupport.h"

#include "shell/application.h"
#include "shell/applicationoptions.h"
#include "shell/mainwindow.h"
#include "windows/channel/channelwindow.h"
#include "windows/channel/netchannelwidget.h"
#include "windows/common/elidedlabel.h"
#include "windows/dialogue/dialoguewindow.h"
#include "windows/interpret/interpretwindow.h"
#include "windows/transmit/transmitwindow.h"

#include <dorvane/WdxWidgets.h>

#include <QDockWidget>
#include <QLabel>
#include <QPushButton>
#include <QTabBar>
#include <QTemporaryDir>
#include <QTextBrowser>
#include <QToolBar>

namespace {

MainWindow *mainWindow()
{
    return Application::instance()->mainWindow();
}

bool onScreen(QDockWidget *dock)
{
    return !dock->visibleRegion().isEmpty();
}

} // namespace

class TestMainWindow : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        MainWindow *window = mainWindow();
        QVERIFY(window);
        QVERIFY(QTest::qWaitForWindowExposed(window));
    }
    // A case that ended a channel leaves its note in the status bar.
    void cleanup() { mainWindow()->channelWindow()->clearChannelNotes(); }

    void toolBarOffersEveryDockInOrder()
    {
        MainWindow *window = mainWindow();
        QToolBar *bar = window->toolBar();
        QCOMPARE(bar->windowTitle(), QStringLiteral("Standard"));
        QVERIFY(!bar->isMovable());
        QCOMPARE(bar->iconSize(), QSize(24, 24));
        QCOMPARE(bar->toolButtonStyle(), Qt::ToolButtonTextUnderIcon);

        QStringList layout;
        for (QAction *action : bar->actions()) {
            if (action->isSeparator()) {
                layout << QStringLiteral("|");
                continue;
            }
            layout << action->text();
            // Every icon resource must be present in the build.
            QVERIFY2(!action->icon().pixmap(24, 24).isNull(), qPrintable(action->text()));
        }
        QCOMPARE(
            layout.join(QLatin1Char(',')),
            QStringLiteral("Channel,|,Dialogue,Transmit,|,TXP Editor,TXPSet Editor,|,Instruct Set,History,|,"
                           "Inspect,RX Frames,Timing,Link Health,|,Help,About Dorvane"));
    }

    void initialArrangement()
    {
        MainWindow *window = mainWindow();
        QCOMPARE(window->channelDock()->windowTitle(), QStringLiteral("Channel"));
        QCOMPARE(window->historyDock()->windowTitle(), QStringLiteral("Histroy"));
        QCOMPARE(window->protocolSetDock()->windowTitle(), QStringLiteral("TX Protocol Explorer"));
        QCOMPARE(window->protocolEditorDock()->windowTitle(), QStringLiteral("TX Protocol Editor"));
        QCOMPARE(window->interpretDock()->windowTitle(), QStringLiteral("Inspect"));

        QCOMPARE(window->dockWidgetArea(window->channelDock()), Qt::LeftDockWidgetArea);
        QCOMPARE(window->dockWidgetArea(window->dialogueDock()), Qt::RightDockWidgetArea);
        QCOMPARE(window->dockWidgetArea(window->historyDock()), Qt::RightDockWidgetArea);
        QCOMPARE(window->dockWidgetArea(window->transmitDock()), Qt::RightDockWidgetArea);
        QVERIFY(window->tabifiedDockWidgets(window->channelDock()).contains(window->interpretDock()));
        const QList<QDockWidget *> withHistory = window->tabifiedDockWidgets(window->historyDock());
        QVERIFY(withHistory.contains(window->protocolSetDock()));
        QVERIFY(withHistory.contains(window->instructSetDock()));
        QVERIFY(withHistory.contains(window->protocolEditorDock()));

        // Dialogue with History to its right and Transmit below it.
        const QRect dialogue = window->dialogueDock()->geometry();
        QVERIFY(window->historyDock()->geometry().left() >= dialogue.right());
        QVERIFY(window->transmitDock()->geometry().top() >= dialogue.bottom());
        QVERIFY(window->channelDock()->geometry().right() <= dialogue.left());

        for (QDockWidget *dock :
             {window->channelDock(), window->dialogueDock(), window->transmitDock(), window->historyDock()})
            QVERIFY2(onScreen(dock), qPrintable(dock->windowTitle()));
        for (QDockWidget *dock : {window->protocolEditorDock(), window->protocolSetDock(),
                                  window->interpretDock(), window->instructSetDock()})
            QVERIFY2(dock->isHidden(), qPrintable(dock->windowTitle()));
    }

    void toggleDockRaisesATabbedDockThenHidesIt()
    {
        MainWindow *window = mainWindow();
        QDockWidget *channel = window->channelDock();
        QDockWidget *inspect = window->interpretDock();

        // Inspect is hidden: shown, and in front of the Channel tab.
        window->toggleDock(inspect);
        QTRY_VERIFY(onScreen(inspect));
        QTRY_VERIFY(!onScreen(channel));

        // Channel now sits behind a tab: the toggle raises it, it does not hide it.
        window->toggleDock(channel);
        QTRY_VERIFY(onScreen(channel));
        QVERIFY(!channel->isHidden());
        QTRY_VERIFY(!onScreen(inspect));

        // Visible and in front: the next toggle hides it.
        window->toggleDock(channel);
        QTRY_VERIFY(channel->isHidden());

        // Shown again, Channel rejoins its tab group.
        window->toggleDock(channel);
        QTRY_VERIFY(onScreen(channel));
        inspect->hide();
        QTRY_VERIFY(onScreen(channel));
    }

    void dockSizesFollowTheWindowWidth()
    {
        QCOMPARE(MainWindow::horizontalDockSizes(1205), (QList<int>{240, 600, 365}));
        QCOMPARE(MainWindow::horizontalDockSizes(9), (QList<int>{0, 0, 9}));

        MainWindow *window = mainWindow();
        const QSize before = window->size();
        window->resize(1205, 700);
        QTRY_COMPARE(window->width(), 1205);
        QCoreApplication::processEvents();
        // Separators take a few pixels out of the requests.
        QTRY_VERIFY2(qAbs(window->channelDock()->width() - 240) <= 8,
                     qPrintable(QString::number(window->channelDock()->width())));
        QTRY_VERIFY2(qAbs(window->dialogueDock()->width() - 600) <= 8,
                     qPrintable(QString::number(window->dialogueDock()->width())));
        // Dialogue over Transmit at 300 to 100; the room left over is shared
        // in that proportion.
        const double ratio = double(window->dialogueDock()->height()) / window->transmitDock()->height();
        QVERIFY2(ratio > 2.5 && ratio < 3.5, qPrintable(QString::number(ratio)));
        window->resize(before);
    }

    void statusBarCarriesChannelStateAndCounters()
    {
        MainWindow *window = mainWindow();
        auto *rx = window->findChild<QLabel *>(QStringLiteral("RxCounter"));
        auto *tx = window->findChild<QLabel *>(QStringLiteral("TxCounter"));
        QVERIFY(rx && tx);
        QVERIFY(window->statusBar()->isAncestorOf(rx));
        QVERIFY(window->statusBar()->isAncestorOf(window->channelWindow()->statusWidget()));
        QVERIFY(window->findChild<QWidget *>(QStringLiteral("getLatestVerionLink")));
        QCOMPARE(window->channelWindow()->statusText(), QStringLiteral("No Active Channel"));

        // Totals are unsigned 32-bit numbers.
        window->setRxCount(4294967295u);
        window->setTxCount(17);
        QCOMPARE(rx->text(), QStringLiteral("4294967295"));
        QCOMPARE(tx->text(), QStringLiteral("17"));

        QPushButton *reset = nullptr;
        for (QPushButton *button : window->statusBar()->findChildren<QPushButton *>()) {
            if (button->text() == QLatin1String("Reset Counter"))
                reset = button;
        }
        QVERIFY(reset);
        QTest::mouseClick(reset, Qt::LeftButton);
        QCOMPARE(rx->text(), QStringLiteral("0"));
        QCOMPARE(tx->text(), QStringLiteral("0"));

        // The next chunk counts from zero again.
        window->setRxCount(5);
        QCOMPARE(rx->text(), QStringLiteral("5"));
    }

    void longStatusTextsAreCutNotWidening()
    {
        MainWindow *window = mainWindow();
        const QSize size = window->size();
        const QString note = QStringLiteral("the peer closed the connection ").repeated(12);
        emit window->channelWindow()->netWidget()->channelEnded(note);
        auto *profile = window->findChild<ElidedLabel *>(QStringLiteral("ChannelProfile"));
        QVERIFY(profile);
        for (int i = 0; i < 5; ++i)
            QApplication::processEvents();
        QCOMPARE(window->size(), size);
        // The counters stay whole inside the window; the text ends in an
        // ellipsis and the tool tip holds all of it.
        for (const char *name : {"RxCounter", "TxCounter"}) {
            auto *counter = window->findChild<QLabel *>(QLatin1String(name));
            const QRect shown(counter->mapTo(window, QPoint(0, 0)), counter->size());
            QVERIFY2(window->rect().contains(shown) && counter->width() >= counter->minimumWidth(), name);
        }
        QVERIFY2(profile->shownText().endsWith(QChar(0x2026)),
                 qPrintable(QStringLiteral("%1 px in a bar of %2 px: %3")
                                .arg(profile->width())
                                .arg(window->channelWindow()->statusWidget()->width())
                                .arg(profile->shownText())));
        QVERIFY(profile->toolTip().contains(note));
        QVERIFY(window->channelWindow()->statusText().contains(note));
    }

    void helpWithoutAViewerShowsThePageItself()
    {
        MainWindow *window = mainWindow();
        QTemporaryDir dir;
        const QString page = dir.filePath(QStringLiteral("help.html"));
        QFile file(page);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("<html><body><h1>Channels</h1></body></html>");
        file.close();
        ApplicationOptions *options = Application::instance()->options();
        const QString before = options->helpFile;
        options->helpFile = page;
        // No program on the path can show a page.
        const QByteArray path = qgetenv("PATH");
        qputenv("PATH", dir.path().toUtf8());
        qunsetenv("BROWSER");
        QAction *help = nullptr;
        for (QAction *action : window->findChild<QToolBar *>()->actions()) {
            if (action->text() == QLatin1String("Help"))
                help = action;
        }
        QVERIFY(help);
        help->trigger();
        qputenv("PATH", path);
        options->helpFile = before;
        auto *browser = window->findChild<QTextBrowser *>(QStringLiteral("HelpBrowser"));
        QVERIFY2(browser && browser->isVisible(), "the page was not shown in a window of our own");
        QVERIFY(browser->toPlainText().contains(QLatin1String("Channels")));
        QVERIFY(window->statusBar()->currentMessage().contains(QLatin1String("No viewer could be started")));
        browser->close();
    }

    void dockTabsTellTheirWindow()
    {
        MainWindow *window = mainWindow();
        window->protocolSetDock()->show();
        window->protocolEditorDock()->show();
        window->instructSetDock()->show();
        QApplication::processEvents();
        QStringList shown;
        for (QTabBar *tabs : window->findChildren<QTabBar *>()) {
            if (!tabs->isVisible())
                continue;
            for (int i = 0; i < tabs->count(); ++i) {
                // The whole title fits its tab: nothing is cut to "H…".
                const QString title = tabs->tabText(i);
                QVERIFY2(tabs->tabRect(i).width() > tabs->fontMetrics().horizontalAdvance(title),
                         qPrintable(title));
                QCOMPARE(tabs->elideMode(), Qt::ElideNone);
                shown << title;
            }
        }
        QVERIFY2(shown.contains(QStringLiteral("TX Protocol Explorer"))
                     && shown.contains(QStringLiteral("TX Protocol Editor")),
                 qPrintable(shown.join(QLatin1Char(','))));
        // The tool bar's button for the protocol set names its dock.
        for (QAction *action : window->findChild<QToolBar *>()->actions()) {
            if (action->text() == QLatin1String("TXPSet Editor"))
                QCOMPARE(action->toolTip(), QStringLiteral("TX Protocol Explorer"));
        }
        window->protocolSetDock()->hide();
        window->protocolEditorDock()->hide();
        window->instructSetDock()->hide();
    }

    void insertButtonsStayReachableWithInspectOpen()
    {
        MainWindow *window = mainWindow();
        QCOMPARE(window->size(), QSize(1200, 700));
        window->interpretDock()->show();
        window->interpretDock()->raise();
        for (const char *name : {"TransmitCalculatorBar", "TransmitChecksumBar"}) {
            auto *bar = window->transmitWindow()->findChild<QToolBar *>(QLatin1String(name));
            QVERIFY(bar);
            bar->show();
        }
        QTest::qWait(50);
        for (const char *name : {"TransmitCalculatorBar", "TransmitChecksumBar"}) {
            auto *bar = window->transmitWindow()->findChild<QToolBar *>(QLatin1String(name));
            QAction *insert = nullptr;
            for (QAction *action : bar->actions()) {
                if (action->text() == QLatin1String("Insert"))
                    insert = action;
            }
            QVERIFY2(insert, name);
            // On the bar itself, inside the main window, not in an overflow menu.
            QWidget *button = bar->widgetForAction(insert);
            QVERIFY2(button && button->isVisible(), name);
            const QRect shown(button->mapTo(window, QPoint(0, 0)), button->size());
            QVERIFY2(window->rect().contains(shown), name);
            bar->hide();
        }
        window->interpretDock()->hide();
    }

    void pickedHexReachesTheInterpretWindow()
    {
        MainWindow *window = mainWindow();
        emit window->dialogueWindow()->interpretDataChanged(QStringLiteral("0A 1b FF 80"));
        QCOMPARE(window->interpretWindow()->data(), QByteArray::fromHex("0a1bff80"));
    }

    void openedDocumentsBringTheirDockForward()
    {
        MainWindow *window = mainWindow();
        // Files that cannot be read are reported; the boxes are answered here.
        MessageBoxCatcher boxes;
        QDockWidget *editor = window->protocolEditorDock();
        QVERIFY(editor->isHidden());
        window->openProtocolFile(QStringLiteral("/nonexistent/a.dvptc"));
        QTRY_VERIFY(onScreen(editor));
        // Opening a second document must not hide the window showing it.
        window->openProtocolFile(QStringLiteral("/nonexistent/b.dvptc"));
        QCoreApplication::processEvents();
        QVERIFY(onScreen(editor));

        window->openProtocolSetFile(QStringLiteral("/nonexistent/c.dvpts"));
        QTRY_VERIFY(onScreen(window->protocolSetDock()));
        window->protocolSetDock()->hide();
        editor->hide();
        QTRY_VERIFY(onScreen(window->historyDock()));
    }
};

DORVANE_APP_TEST_MAIN(TestMainWindow)

#include "tst_mainwindow.moc"
