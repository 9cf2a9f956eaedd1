#include "shell/mainwindow.h"

#include "services/receivewatcher.h"
#include "services/transmitwatcher.h"
#include "shell/aboutdialog.h"
#include "shell/application.h"
#include "shell/applicationoptions.h"
#include "shell/notices.h"
#include "shell/services.h"

#include "windows/channel/channelwindow.h"
#include "windows/dialogue/dialoguewindow.h"
#include "windows/history/historywindow.h"
#include "windows/instructs/instructsetwindow.h"
#include "windows/interpret/interpretwindow.h"
#include "windows/linkhealth/linkhealthwindow.h"
#include "windows/protocoleditor/txprotocoleditor.h"
#include "windows/protocolsets/txprotocolsetwindow.h"
#include "windows/rxframes/rxframewindow.h"
#include "windows/timing/timingwindow.h"
#include "windows/transmit/transmitwindow.h"

#include <dorvane/WdxWidgets.h>

#include <functional>

#include <QCloseEvent>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QDockWidget>
#include <QFileInfo>
#include <QIcon>
#include <QLabel>
#include <QPushButton>
#include <QResizeEvent>
#include <QTabBar>
#include <QTextBrowser>
#include <QToolBar>
#include <QUrl>

#include <algorithm>

namespace {

const char kProductPage[] = "https://www.quorvel.com/dorvane/";

} // namespace

MainWindow::MainWindow(const Services &services, QWidget *parent)
    : QMainWindow(parent)
{
    setWindowTitle(QStringLiteral("Dorvane"));
    setWindowIcon(QIcon(QStringLiteral(":/Resources/app/dorvane.png")));

    createWindows(services);
    createDocks();
    // The transmit window's bars (calculator, CRC) keep every button on
    // screen: while one shows, the window is at least as wide as it, and
    // the docks beside give way.
    for (QToolBar *bar : m_transmitWindow->findChildren<QToolBar *>())
        bar->installEventFilter(this);
    createToolBar();
    createStatusBar();
}

MainWindow::~MainWindow() = default;

void MainWindow::createWindows(const Services &services)
{
    m_channelWindow = new ChannelWindow(services, this);
    m_protocolSetWindow = new TxProtocolSetWindow(services, this);
    m_protocolEditor = new TxProtocolEditor(services, this);
    m_dialogueWindow = new DialogueWindow(services.options, &services.channel, this);
    m_transmitWindow = new TransmitWindow(services, this);
    m_interpretWindow = new InterpretWindow(this);
    m_historyWindow = new HistoryWindow(services, this);
    m_instructSetWindow = new InstructSetWindow(services, this);
}

void MainWindow::createToolBar()
{
    m_toolBar = new WdxToolBar(tr("Standard"), this);
    m_toolBar->setObjectName(QStringLiteral("StandardToolBar"));
    m_toolBar->setMovable(false);
    m_toolBar->setIconSize(QSize(24, 24));
    m_toolBar->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    addToolBar(Qt::TopToolBarArea, m_toolBar);

    // The tool bar's actions, in their order, each with the dock it toggles.
    struct Entry
    {
        const char *text;
        const char *icon;
        QDockWidget *dock;
        bool separatorAfter;
    };
    const Entry entries[] = {
        {QT_TR_NOOP("Channel"), "channel", m_channelDock, true},
        {QT_TR_NOOP("Dialogue"), "dialogue", m_dialogueDock, false},
        {QT_TR_NOOP("Transmit"), "transmit", m_transmitDock, true},
        {QT_TR_NOOP("TXP Editor"), "protocol", m_protocolEditorDock, false},
        {QT_TR_NOOP("TXPSet Editor"), "explorer", m_protocolSetDock, true},
        {QT_TR_NOOP("Instruct Set"), "inset", m_instructSetDock, false},
        {QT_TR_NOOP("History"), "history", m_historyDock, true},
        {QT_TR_NOOP("Inspect"), "inspect", m_interpretDock, true},
    };
    for (const Entry &entry : entries) {
        const QIcon icon(QStringLiteral(":/Resources/main/%1.png").arg(QLatin1String(entry.icon)));
        QAction *action = m_toolBar->QToolBar::addAction(icon, tr(entry.text));
        QDockWidget *target = entry.dock;
        // The button names the dock it brings, by the dock's own title.
        action->setToolTip(target->windowTitle());
        connect(action, &QAction::triggered, this, [this, target] { toggleDock(target); });
        if (entry.separatorAfter)
            m_toolBar->addSeparator();
    }
    QAction *help
        = m_toolBar->QToolBar::addAction(QIcon(QStringLiteral(":/Resources/main/help.png")), tr("Help"));
    connect(help, &QAction::triggered, this, &MainWindow::openHelp);
    QAction *about = m_toolBar->QToolBar::addAction(QIcon(QStringLiteral(":/Resources/main/information.png")),
                                                    tr("About Dorvane"));
    connect(about, &QAction::triggered, this, &MainWindow::showAbout);
}

void MainWindow::createDocks()
{
    auto dock = [this](QWidget *window, const QString &title, const char *name) {
        QDockWidget *created = Wdx::createDockWidget(this, window, title, true, true);
        created->setObjectName(QLatin1String(name));
        return created;
    };
    m_channelDock = dock(m_channelWindow, tr("Channel"), "ChannelDock");
    m_protocolSetDock = dock(m_protocolSetWindow, tr("TX Protocol Explorer"), "ProtocolExplorerDock");
    m_protocolEditorDock = dock(m_protocolEditor, tr("TX Protocol Editor"), "ProtocolEditorDock");
    m_dialogueDock = dock(m_dialogueWindow, tr("Dialogue"), "DialogueDock");
    m_transmitDock = dock(m_transmitWindow, tr("Transmit"), "TransmitDock");
    m_interpretDock = dock(m_interpretWindow, tr("Inspect"), "InspectDock");
    m_historyDock = dock(m_historyWindow, tr("Histroy"), "HistoryDock");
    m_instructSetDock = dock(m_instructSetWindow, tr("Instruct Set"), "InstructSetDock");

    setDockNestingEnabled(true);
    addDockWidget(Qt::LeftDockWidgetArea, m_channelDock);
    addDockWidget(Qt::RightDockWidgetArea, m_dialogueDock);
    splitDockWidget(m_dialogueDock, m_historyDock, Qt::Horizontal);
    splitDockWidget(m_dialogueDock, m_transmitDock, Qt::Vertical);
    tabifyDockWidget(m_channelDock, m_interpretDock);
    tabifyDockWidget(m_historyDock, m_protocolSetDock);
    tabifyDockWidget(m_historyDock, m_instructSetDock);
    tabifyDockWidget(m_historyDock, m_protocolEditorDock);
    m_protocolEditorDock->hide();
    m_protocolSetDock->hide();
    m_interpretDock->hide();
    m_instructSetDock->hide();
}

void MainWindow::createStatusBar()
{
    m_statusBar = new WdxStatusBar(this);
    m_statusBar->setSizeGripEnabled(false);
    setStatusBar(m_statusBar);

    m_statusInfo = new WdxInfoBar(m_statusBar);
    m_statusInfo->setObjectName(QStringLiteral("MainStatusInfo"));
    m_statusInfo->clearSpace(true, false);
    // A little room between the window's edge and the channel's icon.
    m_statusInfo->setContentsMargins(4, 0, 0, 0);
    m_statusBar->addPermanentWidget(m_statusInfo, 1);

    m_statusInfo->addWidget(m_channelWindow->statusWidget());
    m_statusInfo->addSpacer(0);
    m_statusInfo->addWidget(m_protocolSetWindow->statusWidget());
    m_statusInfo->addWidget(m_protocolEditor->statusWidget());
    m_statusInfo->addSeparator();
    m_rxCounter = m_statusInfo->addPairLabel(tr("RX:"), QStringLiteral("0"));
    m_rxCounter->setObjectName(QStringLiteral("RxCounter"));
    m_rxCounter->setMinimumWidth(32);
    m_txCounter = m_statusInfo->addPairLabel(tr("TX:"), QStringLiteral("0"));
    m_txCounter->setObjectName(QStringLiteral("TxCounter"));
    m_txCounter->setMinimumWidth(32);
    m_resetButton = m_statusInfo->addPushButton(tr("Reset Counter"));
    m_resetButton->setObjectName(QStringLiteral("btnResetCounter"));
    connect(m_resetButton, &QPushButton::clicked, this, &MainWindow::resetCounters);
    m_statusInfo->addSeparator();
    m_statusInfo->addIcon(QIcon(QStringLiteral(":/Resources/statusbar/globe.png")), QSize(16, 16));
    m_statusInfo->addLink(tr("Get Latest Version"), QLatin1String(kProductPage),
                          QStringLiteral("getLatestVerionLink"));
    m_statusInfo->addSpacer(5);
}

void MainWindow::toggleDock(QDockWidget *dock)
{
    if (!dock)
        return;
    if (dock->visibleRegion().isEmpty()) {
        dock->show();
        dock->raise();
    } else {
        dock->hide();
    }
    // The dock sizes of resizeEvent apply again to the new arrangement.
    QCoreApplication::postEvent(this, new QResizeEvent(size(), size()));
}

void MainWindow::presentDock(QDockWidget *dock)
{
    if (!dock->visibleRegion().isEmpty())
        return;
    toggleDock(dock);
}

void MainWindow::setRxCount(quint32 count)
{
    m_rxCounter->setText(QString::number(count));
}

void MainWindow::setTxCount(quint32 count)
{
    m_txCounter->setText(QString::number(count));
}

void MainWindow::resetCounters()
{
    if (Application *app = Application::instance()) {
        if (app->receiveWatcher())
            app->receiveWatcher()->resetTotal();
        if (app->transmitWatcher())
            app->transmitWatcher()->resetTotal();
    }
    m_rxCounter->setText(QStringLiteral("0"));
    m_txCounter->setText(QStringLiteral("0"));
}

void MainWindow::interpretHex(const QString &hexstr)
{
    m_interpretWindow->setData(QByteArray::fromHex(hexstr.toLatin1()));
}

void MainWindow::openProtocolFile(const QString &path)
{
    // A file that is no protocol is said so; keeping the open document at
    // the user's word is not a failure.
    if (!m_protocolEditor->open(path) && !m_protocolEditor->isReadable(path))
        warnOpenFailed(this, path);
    presentDock(m_protocolEditorDock);
}

void MainWindow::openProtocolSetFile(const QString &path)
{
    // A set refused as a whole (too large, not a set) says why; one whose
    // entries were skipped has said so itself.
    if (!m_protocolSetWindow->open(path) && !m_protocolSetWindow->openError().isEmpty())
        warnOpenFailed(this, path, m_protocolSetWindow->openError());
    presentDock(m_protocolSetDock);
}

QList<int> MainWindow::horizontalDockSizes(int width)
{
    const int unit = width / 10;
    return {2 * unit, 5 * unit, width - 7 * unit};
}

bool MainWindow::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::Show || event->type() == QEvent::Hide) {
        int need = 0;
        for (QToolBar *bar : m_transmitWindow->findChildren<QToolBar *>()) {
            if (bar->isVisibleTo(m_transmitWindow) && bar->parentWidget() == m_transmitWindow)
                need = std::max(need, bar->sizeHint().width());
        }
        m_transmitWindow->setMinimumWidth(need);
    }
    return QMainWindow::eventFilter(watched, event);
}

bool MainWindow::event(QEvent *event)
{
    // Tabs of docks stacked together show their whole title ("History", not
    // "H…"; the two "TX Protocol …" docks apart), scrolling when there are
    // more than the area holds.
    if (event->type() == QEvent::ChildPolished) {
        if (auto *tabs = qobject_cast<QTabBar *>(static_cast<QChildEvent *>(event)->child())) {
            tabs->setElideMode(Qt::ElideNone);
            tabs->setUsesScrollButtons(true);
        }
    }
    return QMainWindow::event(event);
}

void MainWindow::resizeEvent(QResizeEvent *event)
{
    QMainWindow::resizeEvent(event);
    // Sizes brought back from the last run hold while the window keeps the
    // size they were brought back at.
    if (event->size() == m_restoredSize)
        return;
    m_restoredSize = QSize();
    QList<int> sizes = horizontalDockSizes(event->size().width());
    // Qt takes a request of 0 as 1 anyway, but warns about it; the docks'
    // minimum sizes apply in both cases.
    for (int &size : sizes)
        size = std::max(size, 1);
    resizeDocks({m_channelDock, m_dialogueDock, m_protocolEditorDock}, sizes, Qt::Horizontal);
    resizeDocks({m_dialogueDock, m_transmitDock}, {300, 100}, Qt::Vertical);
}

void MainWindow::openInstructSetFile(const QString &path)
{
    if (!m_instructSetWindow->open(path))
        warnOpenFailed(this, path);
    presentDock(m_instructSetDock);
}

void MainWindow::closeEvent(QCloseEvent *event)
{
    if (!m_protocolEditor->askSave() || !m_protocolSetWindow->askSave()) {
        event->ignore();
        return;
    }
    if (!m_instructSetWindow->askSave() || (m_rxFrameWindow && !m_rxFrameWindow->askSave())) {
        event->ignore();
        return;
    }
    QMainWindow::closeEvent(event);
}

void MainWindow::openHelp()
{
    const QString helpFile = Application::instance() && Application::instance()->options()
                                 ? Application::instance()->options()->helpFile
                                 : QString();
    if (helpFile.isEmpty() || !QFileInfo(helpFile).isFile()) {
        warnOpenFailed(this, helpFile, tr("The help page is not installed."));
        return;
    }
    if (QDesktopServices::openUrl(QUrl::fromLocalFile(helpFile)))
        return;
    // No browser or viewer could be started: the page is shown in a window
    // of our own, and the status bar says why.
    if (!m_helpBrowser) {
        m_helpBrowser = new QTextBrowser(this);
        m_helpBrowser->setObjectName(QStringLiteral("HelpBrowser"));
        m_helpBrowser->setWindowFlags(Qt::Window);
        m_helpBrowser->setWindowTitle(tr("Dorvane Help"));
        m_helpBrowser->setOpenExternalLinks(true);
        m_helpBrowser->resize(760, 560);
    }
    m_helpBrowser->setSource(QUrl::fromLocalFile(helpFile));
    m_helpBrowser->show();
    m_helpBrowser->raise();
    m_statusBar->showMessage(
        tr("No viewer could be started for the help page; it is shown in a window of its own."), 10000);
}

void MainWindow::showAbout()
{
    AboutDialog dialog(this);
    dialog.exec();
}

void MainWindow::createRxFramesWindow(RxFrameWatcher *watcher, Context *context, ApplicationOptions *options)
{
    if (m_rxFrameWindow)
        return;
    m_rxFrameWindow = new RxFrameWindow(watcher, context, options, this);
    m_rxFramesDock = Wdx::createDockWidget(this, m_rxFrameWindow, tr("RX Frames"), true, true);
    m_rxFramesDock->setObjectName(QStringLiteral("RxFramesDock"));
    // Beside the dialogue, the widest place for a plot.
    tabifyDockWidget(m_dialogueDock, m_rxFramesDock);
    m_rxFramesDock->hide();
    m_dialogueDock->raise();

    // The action goes right after "Inspect", before the separator there.
    const QList<QAction *> actions = m_toolBar->actions();
    QAction *before = nullptr;
    for (int i = 0; i < actions.size(); ++i) {
        if (actions.at(i)->text() == tr("Inspect") && i + 1 < actions.size())
            before = actions.at(i + 1);
    }
    auto *action
        = new QAction(QIcon(QStringLiteral(":/Resources/main/rxframes.png")), tr("RX Frames"), m_toolBar);
    action->setObjectName(QStringLiteral("RxFramesAction"));
    m_toolBar->insertAction(before, action);
    QDockWidget *dock = m_rxFramesDock;
    connect(action, &QAction::triggered, this, [this, dock] { toggleDock(dock); });
}

void MainWindow::createTimingWindow(TimingWatcher *watcher)
{
    if (m_timingWindow)
        return;
    m_timingWindow = new TimingWindow(watcher, this);
    m_timingDock = Wdx::createDockWidget(this, m_timingWindow, tr("Timing"), true, true);
    m_timingDock->setObjectName(QStringLiteral("TimingPanel"));
    // Beside the history, so that it shows next to the dialogue while sending runs.
    tabifyDockWidget(m_historyDock, m_timingDock);
    m_timingDock->hide();

    // The action goes right after "RX Frames" (or where that would be).
    const QList<QAction *> actions = m_toolBar->actions();
    QAction *before = nullptr;
    for (int i = 0; i < actions.size(); ++i) {
        if (actions.at(i)->objectName() == QLatin1String("RxFramesAction") && i + 1 < actions.size())
            before = actions.at(i + 1);
    }
    auto *action = new QAction(QIcon(QStringLiteral(":/Resources/main/timing.png")), tr("Timing"), m_toolBar);
    action->setObjectName(QStringLiteral("TimingAction"));
    m_toolBar->insertAction(before, action);
    QDockWidget *dock = m_timingDock;
    connect(action, &QAction::triggered, this, [this, dock] { toggleDock(dock); });
}

void MainWindow::createLinkHealthWindow(LinkHealth *health, ApplicationOptions *options)
{
    if (m_linkHealthWindow)
        return;
    m_linkHealthWindow = new LinkHealthWindow(health, options, this);
    m_linkHealthDock = Wdx::createDockWidget(this, m_linkHealthWindow, tr("Link Health"), true, true);
    m_linkHealthDock->setObjectName(QStringLiteral("LinkHealthPanel"));
    // Beside the Timing dock (or the history): a dock of its own under the
    // others would make the window taller than a 700-pixel screen.
    tabifyDockWidget(m_timingDock ? m_timingDock : m_historyDock, m_linkHealthDock);
    m_linkHealthDock->hide();

    // After "Timing", else after "RX Frames", or after "Inspect" before that window exists.
    const QList<QAction *> actions = m_toolBar->actions();
    const auto follows = [&](const std::function<bool(QAction *)> &isAnchor) {
        for (int i = 0; i + 1 < actions.size(); ++i) {
            if (isAnchor(actions.at(i)))
                return actions.at(i + 1);
        }
        return static_cast<QAction *>(nullptr);
    };
    QAction *before = follows([](QAction *a) { return a->objectName() == QLatin1String("TimingAction"); });
    if (!before)
        before = follows([](QAction *a) { return a->objectName() == QLatin1String("RxFramesAction"); });
    if (!before)
        before = follows([](QAction *a) { return a->text() == MainWindow::tr("Inspect"); });
    auto *action
        = new QAction(QIcon(QStringLiteral(":/Resources/main/linkhealth.png")), tr("Link Health"), m_toolBar);
    action->setObjectName(QStringLiteral("LinkHealthAction"));
    m_toolBar->insertAction(before, action);
    QDockWidget *dock = m_linkHealthDock;
    connect(action, &QAction::triggered, this, [this, dock] { toggleDock(dock); });
}

void MainWindow::openRxProtocolFile(const QString &path)
{
    if (!m_rxFrameWindow)
        return;
    // Keeping the open document at the user's word is not a failure.
    if (!m_rxFrameWindow->open(path) && !m_rxFrameWindow->isReadable(path))
        warnOpenFailed(this, path);
    presentDock(m_rxFramesDock);
}
