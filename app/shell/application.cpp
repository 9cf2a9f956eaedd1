#include "application.h"

#include "appearance.h"
#include "applicationoptions.h"
#include "channeltracker.h"
#include "mainwindow.h"

#include <dorvane/App.h>
#include <dorvane/Channel.h>

#include <QFileInfo>

Application *Application::s_instance = nullptr;

Application::Application(int &argc, char **argv)
    : QApplication(argc, argv)
{
    s_instance = this;
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
    if (applicationDir.isEmpty())
        m_options->initPaths();
    else
        m_options->initPaths(applicationDir);
    m_options->loadOptions();

    // The protocol core's context is created and initialised here.

    m_channelProxy = std::make_unique<ChannelProxy>();
    m_channelTracker = std::make_unique<ChannelTracker>(m_channelProxy.get());
    // The stream senders and the transmit, receive and frame watchers are
    // created here, each with the proxy but the frame watcher.

    applyTheme(*m_options, m_options->theme);
    applyLocale(*m_options, m_options->locale);
    setFont(m_options->appFont);

    m_mainWindow = std::make_unique<MainWindow>();
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
    // The frame, receive and transmit watchers go first, once they exist.
    m_mainWindow.reset();
    // Then the three stream senders.
    m_channelTracker.reset();
    m_channelProxy.reset();
    // The protocol core's context is uninitialised and deleted last.
}

void Application::openDocumentFromCommandLine()
{
    const QStringList args = arguments();
    if (args.size() < 2 || !m_mainWindow)
        return;
    const QFileInfo file(args.at(1));
    if (!file.exists() || !file.isFile())
        return;
    const QString suffix = file.completeSuffix();
    if (suffix.compare(QLatin1String("dvptc"), Qt::CaseInsensitive) == 0)
        m_mainWindow->openProtocolFile(file.absoluteFilePath());
    else if (suffix.compare(QLatin1String("dvpts"), Qt::CaseInsensitive) == 0)
        m_mainWindow->openProtocolSetFile(file.absoluteFilePath());
}

extern "C" int RunApplication(int &argc, char **argv)
{
    QCoreApplication::setApplicationName(QStringLiteral("Dorvane"));
    QCoreApplication::setApplicationVersion(QStringLiteral("1.0.0"));
    QCoreApplication::setOrganizationName(QStringLiteral("Quorvel"));
    QCoreApplication::setAttribute(Qt::AA_EnableHighDpiScaling);

    int result = 0;
    {
        Application app(argc, argv);
        app.startUp();
        result = app.exec();
        app.shutDown();
    }
    return result;
}
