#pragma once

#include <QApplication>
#include <QPointer>

#include <dorvane/app_export.h>

#include <memory>

class ApplicationOptions;
class MainWindow;

// The one application object. It owns every application-wide service for
// the life of the process; windows reach them through Application::instance().
class DORVANE_APP_EXPORT Application : public QApplication
{
    Q_OBJECT

public:
    Application(int &argc, char **argv);
    ~Application() override;

    static Application *instance() { return s_instance; }

    void startUp();
    void shutDown();

    ApplicationOptions *options() const { return m_options; }
    MainWindow *mainWindow() const { return m_mainWindow.get(); }

    // Opens a ".dvptc" or ".dvpts" file named as the second argument.
    void openDocumentFromCommandLine();

private:
    static Application *s_instance;

    std::unique_ptr<MainWindow> m_mainWindow;
    ApplicationOptions *m_options = nullptr;
};

#define dvApp (Application::instance())
