#pragma once

#include <QApplication>
#include <QPointer>

#include <dorvane/app_export.h>

#include <memory>

class ApplicationOptions;
class Context;
class ChannelProxy;
class ChannelTracker;
class PeriodSendController;
struct Services;
class MainWindow;
class ReceiveWatcher;
class LinkHealth;
class RxFrameWatcher;
class StreamSender;
class TimingWatcher;
class TransmitWatcher;

// The one application object. It owns every application-wide service for
// the life of the process and hands them to the windows through their
// constructors (see shell/services.h); windows never look them up.
class DORVANE_APP_EXPORT Application : public QApplication
{
    Q_OBJECT

public:
    Application(int &argc, char **argv);
    ~Application() override;

    static Application *instance() { return s_instance; }

    // Creates every service and shows the main window. The data directory
    // hangs off the executable's directory, or off applicationDir when one is
    // given (a test runs the application on a directory of its own).
    void startUp(const QString &applicationDir = QString());
    void shutDown();

    ApplicationOptions *options() const { return m_options; }
    MainWindow *mainWindow() const { return m_mainWindow.get(); }
    Context *context() const { return m_context.get(); }
    ChannelProxy *channelProxy() const { return m_channelProxy.get(); }
    ChannelTracker *channelTracker() const { return m_channelTracker.get(); }
    PeriodSendController *periodSendController() const { return m_periodSendController.get(); }
    StreamSender *protocolSetSender() const { return m_protocolSetSender.get(); }
    StreamSender *protocolEditorSender() const { return m_protocolEditorSender.get(); }
    StreamSender *transmitSender() const { return m_transmitSender.get(); }
    TransmitWatcher *transmitWatcher() const { return m_transmitWatcher.get(); }
    ReceiveWatcher *receiveWatcher() const { return m_receiveWatcher.get(); }
    RxFrameWatcher *frameWatcher() const { return m_frameWatcher.get(); }
    LinkHealth *linkHealth() const { return m_linkHealth.get(); }
    TimingWatcher *timingWatcher() const { return m_timingWatcher.get(); }

    // Opens every ".dvptc", ".dvpts", ".dvits" or ".dvprx" file named on the
    // command line; each argument that is not opened is reported, with why.
    void openDocumentFromCommandLine();

    // Set when a terminating signal came in; a start-up that is still under
    // way stops at its next step and the event loop is not entered.
    bool quitRequested() const { return m_quitRequested; }
    void requestQuit();

private:
    static Application *s_instance;

    // Torn down explicitly, in the reverse order of start-up.
    void destroyServices();

    bool m_quitRequested = false;
    // The arguments as the system gave them, for names that are not UTF-8.
    QList<QByteArray> m_rawArguments;
    std::unique_ptr<MainWindow> m_mainWindow;
    std::unique_ptr<Services> m_services;
    ApplicationOptions *m_options = nullptr;
    std::unique_ptr<Context> m_context;
    std::unique_ptr<ChannelProxy> m_channelProxy;
    std::unique_ptr<ChannelTracker> m_channelTracker;
    std::unique_ptr<PeriodSendController> m_periodSendController;
    std::unique_ptr<StreamSender> m_protocolSetSender;
    std::unique_ptr<StreamSender> m_protocolEditorSender;
    std::unique_ptr<StreamSender> m_transmitSender;
    std::unique_ptr<TransmitWatcher> m_transmitWatcher;
    std::unique_ptr<ReceiveWatcher> m_receiveWatcher;
    std::unique_ptr<RxFrameWatcher> m_frameWatcher;
    std::unique_ptr<LinkHealth> m_linkHealth;
    std::unique_ptr<TimingWatcher> m_timingWatcher;
};

#define dvApp (Application::instance())
