// Runs the whole application the way the launcher does and checks that the
// event loop's exit code comes back and that start-up and shut-down did
// their work on the settings file.
#include <dorvane/App.h>

#include "application.h"
#include "applicationoptions.h"
#include "mainwindow.h"

#include <QCoreApplication>
#include <QFile>
#include <QTimer>

#include <csignal>
#include <cstdio>
#include <unistd.h>

#ifdef DORVANE_QUIT_BY_SIGNAL
constexpr int kExpectedExit = 0;
#else
constexpr int kExpectedExit = 7;
#endif

#include <yaml-cpp/yaml.h>

namespace {

bool g_windowOk = false;
QString g_settingsFile;

void scheduleExit()
{
    QTimer::singleShot(0, [] {
        Application *app = Application::instance();
        g_windowOk = app && app->mainWindow() && app->mainWindow()->isVisible()
                     && app->mainWindow()->size() == QSize(1200, 700);
        if (app && app->options())
            g_settingsFile = app->options()->appSettingsFile;
#ifdef DORVANE_QUIT_BY_SIGNAL
        // A terminating signal must end the loop normally (exit code 0).
        ::kill(::getpid(), SIGTERM);
#else
        QCoreApplication::exit(7);
#endif
    });
}

} // namespace

Q_COREAPP_STARTUP_FUNCTION(scheduleExit)

int main(int argc, char **argv)
{
    const int result = RunApplication(argc, argv);
    if (result != kExpectedExit) {
        std::fprintf(stderr, "FAIL: RunApplication returned %d, expected %d\n", result, kExpectedExit);
        return 1;
    }
    if (!g_windowOk) {
        std::fprintf(stderr, "FAIL: the main window was not shown at 1200 x 700\n");
        return 1;
    }
    try {
        const YAML::Node doc = YAML::LoadFile(g_settingsFile.toStdString());
        if (doc["fileFormat"].as<std::string>() != "dorvane settings" || !doc["app"]["theme"].IsDefined()) {
            std::fprintf(stderr, "FAIL: the settings file was not written at shut-down\n");
            return 1;
        }
    } catch (const std::exception &e) {
        std::fprintf(stderr, "FAIL: settings file %s: %s\n", qPrintable(g_settingsFile), e.what());
        return 1;
    }
    std::printf("PASS: exit code %d passed through, window shown, settings written\n", kExpectedExit);
    return 0;
}
