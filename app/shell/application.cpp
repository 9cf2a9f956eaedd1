#include "shell/application.h"

#include "services/channeltracker.h"
#include "services/periodsendcontroller.h"
#include "services/receivewatcher.h"
#include "services/rxframewatcher.h"
#include "services/streamsender.h"
#include "services/transmitwatcher.h"
#include "shell/appearance.h"
#include "shell/applicationoptions.h"
#include "shell/mainwindow.h"
#include "shell/services.h"
#include "shell/wiring.h"

#include <dorvane/App.h>
#include <dorvane/Channel.h>
#include <dorvane/Core.h>

#include <QFileInfo>

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
// writes a byte; the event loop does the rest.
int g_signalPipe[2] = {-1, -1};
// Only the event loop reads the pipe. Before it runs (a start-up that is
// stuck) and after it has ended, the signal does what it does by default.
volatile std::sig_atomic_t g_loopRunning = 0;

void onTerminatingSignal(int sig)
{
    if (!g_loopRunning) {
        ::signal(sig, SIG_DFL);
        ::raise(sig);
        return;
    }
    const char byte = 1;
    [[maybe_unused]] const ssize_t written = ::write(g_signalPipe[0], &byte, 1);
}

void quitOnTerminatingSignals(QObject *owner)
{
    if (::socketpair(AF_UNIX, SOCK_STREAM, 0, g_signalPipe) != 0)
        return;
    auto *notifier = new QSocketNotifier(g_signalPipe[1], QSocketNotifier::Read, owner);
    QObject::connect(notifier, &QSocketNotifier::activated, owner, [notifier] {
        notifier->setEnabled(false);
        char byte = 0;
        [[maybe_unused]] const ssize_t got = ::read(g_signalPipe[1], &byte, 1);
        QCoreApplication::quit();
    });
    struct sigaction action = {};
    action.sa_handler = onTerminatingSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (int sig : {SIGTERM, SIGINT, SIGHUP})
        ::sigaction(sig, &action, nullptr);
}

} // namespace
#endif

Application::Application(int &argc, char **argv)
    : QApplication(argc, argv)
{
    s_instance = this;
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
    m_services.reset(new Services{*m_options, *m_context, *m_channelProxy, *m_periodSendController,
                                  *m_protocolSetSender, *m_protocolEditorSender, *m_transmitSender,
                                  *m_frameWatcher});

    applyTheme(*m_options, m_options->theme);
    applyLocale(*m_options, m_options->locale);
    setFont(m_options->appFont);

    m_mainWindow = std::make_unique<MainWindow>(*m_services);
    connectWorkbench(*m_mainWindow, *m_transmitWatcher, *m_receiveWatcher, *m_frameWatcher);
    m_mainWindow->createRxFramesWindow(m_frameWatcher.get(), m_context.get(), m_options);
    m_mainWindow->resize(1200, 700);
    m_mainWindow->show();

    openDocumentFromCommandLine();
}

void Application::shutDown()
{
    if (m_options)
        m_options->saveOptions();
    destroyServices();
}

void Application::destroyServices()
{
    // The frame, receive and transmit watchers go first.
    m_frameWatcher.reset();
    m_receiveWatcher.reset();
    m_transmitWatcher.reset();
    m_mainWindow.reset();
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
    const QStringList args = arguments();
    if (args.size() < 2 || !m_mainWindow)
        return;
    const QFileInfo file(args.at(1));
    if (!file.isFile())
        return;
    const QString suffix = file.completeSuffix();
    if (suffix.compare(QLatin1String("dvptc"), Qt::CaseInsensitive) == 0)
        m_mainWindow->openProtocolFile(file.absoluteFilePath());
    else if (suffix.compare(QLatin1String("dvpts"), Qt::CaseInsensitive) == 0)
        m_mainWindow->openProtocolSetFile(file.absoluteFilePath());
    else if (suffix.compare(QLatin1String("dvits"), Qt::CaseInsensitive) == 0)
        m_mainWindow->openInstructSetFile(file.absoluteFilePath());
    else if (suffix.compare(QLatin1String("dvprx"), Qt::CaseInsensitive) == 0)
        m_mainWindow->openRxProtocolFile(file.absoluteFilePath());
}

extern "C" Q_DECL_EXPORT int RunApplication(int &argc, char **argv)
{
    QCoreApplication::setApplicationName(QStringLiteral("Dorvane"));
    QCoreApplication::setApplicationVersion(QStringLiteral("1.0.0"));
    QCoreApplication::setOrganizationName(QStringLiteral("Quorvel"));
    QCoreApplication::setAttribute(Qt::AA_EnableHighDpiScaling);

    int result = 0;
    {
        Application app(argc, argv);
        app.startUp();
#ifdef Q_OS_UNIX
        g_loopRunning = 1;
#endif
        result = app.exec();
#ifdef Q_OS_UNIX
        g_loopRunning = 0;
#endif
        app.shutDown();
    }
    return result;
}
