#include "shell/application.h"

#include "services/channeltracker.h"
#include "services/linkhealth.h"
#include "services/periodsendcontroller.h"
#include "services/receivewatcher.h"
#include "services/rxframewatcher.h"
#include "services/streamsender.h"
#include "services/timingwatcher.h"
#include "services/transmitwatcher.h"
#include "shell/appearance.h"
#include "shell/applicationoptions.h"
#include "shell/mainwindow.h"
#include "shell/notices.h"
#include "shell/recovery.h"
#include "shell/services.h"
#include "shell/wiring.h"
#include "shell/workbenchstate.h"

#include <dorvane/App.h>
#include <dorvane/Channel.h>
#include <dorvane/Core.h>

#include <QDialog>
#include <QFileInfo>
#include <QTextCodec>

#include <cstdio>

#ifdef Q_OS_UNIX
#include <QSocketNotifier>

#include <csignal>
#include <sys/socket.h>
#include <unistd.h>
#endif

Application *Application::s_instance = nullptr;

#ifdef Q_OS_UNIX
namespace {

// A terminating signal (logout, kill, Ctrl+C in a terminal) ends the event
// loop normally, so shut-down still saves the options. The handler only
// writes a byte; whichever event loop runs (the main one, or a start-up
// warning's) does the rest.
int g_signalPipe[2] = {-1, -1};
// After the event loop has ended the signal does what it does by default.
volatile std::sig_atomic_t g_loopEnded = 0;
volatile std::sig_atomic_t g_pendingSignal = 0;
// A start-up stuck outside any event loop never reads the pipe: when nothing
// has taken the signal within this time, it does what it does by default.
constexpr unsigned kSignalGraceSeconds = 2;

void dieOfPendingSignal(int)
{
    const int sig = g_pendingSignal ? int(g_pendingSignal) : SIGTERM;
    ::signal(sig, SIG_DFL);
    ::raise(sig);
}

void onTerminatingSignal(int sig)
{
    if (g_loopEnded || g_pendingSignal) {
        ::signal(sig, SIG_DFL);
        ::raise(sig);
        return;
    }
    g_pendingSignal = sig;
    ::alarm(kSignalGraceSeconds);
    const char byte = 1;
    [[maybe_unused]] const ssize_t written = ::write(g_signalPipe[0], &byte, 1);
}

void quitOnTerminatingSignals(Application *owner)
{
    if (::socketpair(AF_UNIX, SOCK_STREAM, 0, g_signalPipe) != 0)
        return;
    auto *notifier = new QSocketNotifier(g_signalPipe[1], QSocketNotifier::Read, owner);
    QObject::connect(notifier, &QSocketNotifier::activated, owner, [notifier, owner] {
        ::alarm(0);
        notifier->setEnabled(false);
        char byte = 0;
        [[maybe_unused]] const ssize_t got = ::read(g_signalPipe[1], &byte, 1);
        owner->requestQuit();
    });
    struct sigaction action = {};
    action.sa_handler = onTerminatingSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (int sig : {SIGTERM, SIGINT, SIGHUP})
        ::sigaction(sig, &action, nullptr);
    struct sigaction late = {};
    late.sa_handler = dieOfPendingSignal;
    sigemptyset(&late.sa_mask);
    ::sigaction(SIGALRM, &late, nullptr);
}

} // namespace
#endif

Application::Application(int &argc, char **argv)
    : QApplication(argc, argv)
{
    s_instance = this;
    // QApplication has taken its own options out of argv by now.
    for (int i = 0; i < argc; ++i)
        m_rawArguments << QByteArray(argv[i]);
#ifdef Q_OS_UNIX
    quitOnTerminatingSignals(this);
#endif
}

Application::~Application()
{
    destroyServices();
    if (s_instance == this)
        s_instance = nullptr;
}

void Application::requestQuit()
{
    if (m_quitRequested)
        return;
    m_quitRequested = true;
    // Ended from outside, nobody is asked about unsaved changes: they are
    // kept for the next start instead.
    if (m_mainWindow && m_options)
        Recovery::keepModifiedDocuments(*m_mainWindow, Recovery::folderFor(m_options->settingsDir));
    // A warning shown during start-up holds its own event loop: it is
    // closed so the start-up can wind down and shut-down save the options.
    for (QWidget *widget : QApplication::topLevelWidgets()) {
        auto *dialog = qobject_cast<QDialog *>(widget);
        if (dialog && dialog->isVisible() && dialog->isModal())
            dialog->reject();
    }
    QCoreApplication::quit();
}

void Application::startUp(const QString &applicationDir)
{
    m_options = new ApplicationOptions(this);
    m_options->initPaths(applicationDir);
    m_options->loadOptions();

    m_context = std::make_unique<Context>();
    m_context->Initialize();

    m_channelProxy = std::make_unique<ChannelProxy>();
    m_channelTracker = std::make_unique<ChannelTracker>(m_channelProxy.get());
    m_periodSendController
        = std::make_unique<PeriodSendController>(m_channelProxy.get(), m_channelTracker.get());
    m_protocolSetSender = std::make_unique<StreamSender>(m_channelProxy.get());
    m_protocolEditorSender = std::make_unique<StreamSender>(m_channelProxy.get());
    m_transmitSender = std::make_unique<StreamSender>(m_channelProxy.get());
    m_transmitWatcher = std::make_unique<TransmitWatcher>(m_channelProxy.get());
    m_receiveWatcher = std::make_unique<ReceiveWatcher>(m_channelProxy.get());
    m_frameWatcher = std::make_unique<RxFrameWatcher>(m_context.get());
    m_timingWatcher = std::make_unique<TimingWatcher>(m_channelProxy.get());
    connectTimingWatcher(*m_channelProxy, *m_timingWatcher);
    m_services.reset(new Services{*m_options, *m_context, *m_channelProxy, *m_periodSendController,
                                  *m_protocolSetSender, *m_protocolEditorSender, *m_transmitSender,
                                  *m_frameWatcher, *m_timingWatcher});
    m_linkHealth = std::make_unique<LinkHealth>(m_channelProxy.get(), m_frameWatcher.get());
    m_services->linkHealth = m_linkHealth.get();

    applyTheme(*m_options, m_options->theme);
    applyLocale(*m_options, m_options->locale);
    setFont(m_options->appFont);

    m_mainWindow = std::make_unique<MainWindow>(*m_services);
    connectWorkbench(*m_mainWindow, *m_transmitWatcher, *m_receiveWatcher, *m_frameWatcher);
    m_mainWindow->createRxFramesWindow(m_frameWatcher.get(), m_context.get(), m_options);
    m_mainWindow->createTimingWindow(m_timingWatcher.get());
    m_mainWindow->createLinkHealthWindow(m_linkHealth.get(), m_options);
    m_mainWindow->resize(1200, 700);
    restoreWorkbenchState(*m_mainWindow, m_options->settingsDocument);
    m_mainWindow->show();

    if (!m_quitRequested)
        Recovery::offerKeptDocuments(*m_mainWindow, Recovery::folderFor(m_options->settingsDir));
    if (!m_quitRequested)
        openDocumentFromCommandLine();
}

void Application::shutDown()
{
    if (m_options) {
        if (m_mainWindow)
            storeWorkbenchState(*m_mainWindow, m_options->settingsDocument);
        m_options->saveOptions();
    }
    destroyServices();
}

void Application::destroyServices()
{
    // Link health, then the frame, receive and transmit watchers go first.
    m_linkHealth.reset();
    m_frameWatcher.reset();
    m_receiveWatcher.reset();
    m_transmitWatcher.reset();
    m_mainWindow.reset();
    m_timingWatcher.reset();
    m_services.reset();
    // Closing waits for the worker, so a periodic sending still running
    // cannot tick into a sender that is gone.
    if (m_channelProxy)
        m_channelProxy->close();
    m_transmitSender.reset();
    m_protocolEditorSender.reset();
    m_protocolSetSender.reset();
    m_periodSendController.reset();
    m_channelTracker.reset();
    m_channelProxy.reset();
    if (m_context) {
        m_context->Uninitialize();
        m_context.reset();
    }
}

void Application::openDocumentFromCommandLine()
{
    if (!m_mainWindow)
        return;
    QTextCodec *utf8 = QTextCodec::codecForName("UTF-8");
    QStringList ignored;
    for (int i = 1; i < m_rawArguments.size() && !m_quitRequested; ++i) {
        const QByteArray &raw = m_rawArguments.at(i);
        QTextCodec::ConverterState state;
        const QString name = utf8->toUnicode(raw.constData(), raw.size(), &state);
        if (state.invalidChars > 0) {
            ignored << tr("%1: the name is not valid UTF-8").arg(name);
            continue;
        }
        const QFileInfo file(name);
        if (!file.exists()) {
            ignored << tr("%1: no such file").arg(name);
            continue;
        }
        if (!file.isFile()) {
            ignored << tr("%1: not a regular file").arg(name);
            continue;
        }
        // The kind is told by the last suffix only: "my.v2.dvptc" is a protocol.
        const QString suffix = file.suffix();
        const QString path = file.absoluteFilePath();
        if (suffix.compare(QLatin1String("dvptc"), Qt::CaseInsensitive) == 0)
            m_mainWindow->openProtocolFile(path);
        else if (suffix.compare(QLatin1String("dvpts"), Qt::CaseInsensitive) == 0)
            m_mainWindow->openProtocolSetFile(path);
        else if (suffix.compare(QLatin1String("dvits"), Qt::CaseInsensitive) == 0)
            m_mainWindow->openInstructSetFile(path);
        else if (suffix.compare(QLatin1String("dvprx"), Qt::CaseInsensitive) == 0)
            m_mainWindow->openRxProtocolFile(path);
        else
            ignored << tr("%1: not a Dorvane document (.dvptc, .dvpts, .dvits, .dvprx)").arg(name);
    }
    if (ignored.isEmpty() || m_quitRequested)
        return;
    for (const QString &line : ignored)
        std::fprintf(stderr, "Dorvane: argument ignored: %s\n", qPrintable(line));
    warnArgumentsIgnored(m_mainWindow.get(), ignored);
}

extern "C" Q_DECL_EXPORT int RunApplication(int &argc, char **argv)
{
    QCoreApplication::setApplicationName(QStringLiteral("Dorvane"));
    QCoreApplication::setApplicationVersion(QStringLiteral(DORVANE_VERSION));
    QCoreApplication::setOrganizationName(QStringLiteral("Quorvel"));
    QCoreApplication::setAttribute(Qt::AA_EnableHighDpiScaling);

    int result = 0;
    {
        Application app(argc, argv);
        app.startUp();
        if (!app.quitRequested())
            result = app.exec();
#ifdef Q_OS_UNIX
        ::alarm(0);
        g_loopEnded = 1;
#endif
        app.shutDown();
    }
    return result;
}
