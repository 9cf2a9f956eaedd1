#pragma once
// Shared pieces of the application tests: a started application on a data
// directory of its own, a catcher for the message boxes the code under test
// shows, and a real pseudo-terminal to open as a serial port.

#include "peers.h"
#include "shell/application.h"
#include "shell/services.h"

#include <dorvane/Channel.h>

#include <QApplication>
#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPointer>
#include <QStandardPaths>
#include <QStringList>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include <memory>

#include <fcntl.h>
#include <linux/fs.h>
#include <poll.h>
#include <pty.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

// Runs the test object inside a started application whose Data directory
// lives in a fresh temporary directory, so parallel test programs never share
// a settings file. The application sees only the program's name: the test's
// own arguments (a case name, -functions) are not documents to open.
#define DORVANE_APP_TEST_MAIN(TestClass)                                                                     \
    int main(int argc, char **argv)                                                                          \
    {                                                                                                        \
        QCoreApplication::setApplicationName(QStringLiteral("Dorvane"));                                     \
        QCoreApplication::setOrganizationName(QStringLiteral("Quorvel"));                                    \
        QCoreApplication::setApplicationVersion(QStringLiteral("1.0.0"));                                    \
        QStandardPaths::setTestModeEnabled(true);                                                            \
        QTemporaryDir dataRoot;                                                                              \
        int appArgc = 1;                                                                                     \
        Application app(appArgc, argv);                                                                      \
        app.startUp(dataRoot.path());                                                                        \
        int result = 0;                                                                                      \
        {                                                                                                    \
            TestClass test;                                                                                  \
            result = QTest::qExec(&test, argc, argv);                                                        \
        }                                                                                                    \
        app.shutDown();                                                                                      \
        return result;                                                                                       \
    }

// The named child of parent, with a warning naming it when it is missing.
template<typename T>
T *child(QObject *parent, const char *name)
{
    T *found = parent->findChild<T *>(QLatin1String(name));
    if (!found)
        qWarning("no child %s", name);
    return found;
}

// Records and closes every message box that appears while it lives, modal
// ones included (the polling timer also runs in their event loop).
class MessageBoxCatcher : public QObject
{
public:
    MessageBoxCatcher()
    {
        m_timer.setInterval(10);
        QObject::connect(&m_timer, &QTimer::timeout, this, [this] { poll(); });
        m_timer.start();
    }

    QStringList texts() const { return m_texts; }
    QStringList titles() const { return m_titles; }
    QList<QMessageBox::Icon> icons() const { return m_icons; }
    int count() const { return m_texts.size(); }

    // Waits until a box has been caught or the time is up.
    bool waitForBox(int timeoutMs = 5000)
    {
        QElapsedTimer clock;
        clock.start();
        while (m_texts.isEmpty() && clock.elapsed() < timeoutMs)
            QTest::qWait(10);
        return !m_texts.isEmpty();
    }

private:
    void poll()
    {
        const QWidgetList widgets = QApplication::topLevelWidgets();
        for (QWidget *widget : widgets) {
            auto *box = qobject_cast<QMessageBox *>(widget);
            if (!box || !box->isVisible())
                continue;
            m_texts << box->text();
            m_titles << box->windowTitle();
            m_icons << box->icon();
            box->done(QMessageBox::Ok);
        }
    }

    QTimer m_timer;
    QStringList m_texts;
    QStringList m_titles;
    QList<QMessageBox::Icon> m_icons;
};

// Answers the next open-file dialog with the given path (or cancels it when
// the path is empty). The dialog is tried again on every tick until it has
// gone, since it may still be reading its directory at the first one.
inline void answerNextFileDialog(const QString &path)
{
    auto *timer = new QTimer(QCoreApplication::instance());
    auto answered = std::make_shared<QPointer<QFileDialog>>();
    auto seen = std::make_shared<bool>(false);
    timer->setInterval(20);
    QObject::connect(timer, &QTimer::timeout, [timer, path, answered, seen] {
        // Only the first dialog that appears is answered; once it has gone,
        // a later one is left to the next answer.
        if (*seen && (answered->isNull() || !(*answered)->isVisible())) {
            timer->stop();
            timer->deleteLater();
            return;
        }
        QFileDialog *dialog = answered->data();
        if (!dialog) {
            const QWidgetList widgets = QApplication::topLevelWidgets();
            for (QWidget *widget : widgets) {
                auto *candidate = qobject_cast<QFileDialog *>(widget);
                if (candidate && candidate->isVisible())
                    dialog = candidate;
            }
            if (!dialog)
                return;
            *answered = dialog;
            *seen = true;
        }
        if (path.isEmpty()) {
            dialog->reject();
            return;
        }
        // selectFile() leaves a focused name field alone: type instead.
        if (auto *name = dialog->findChild<QLineEdit *>(QStringLiteral("fileNameEdit")))
            name->setText(path);
        static_cast<QDialog *>(dialog)->accept();
    });
    timer->start();
}

// A pseudo-terminal pair: the serial port opens the slave by its path, the
// test talks to the master side.
class PseudoTerminal
{
public:
    PseudoTerminal()
    {
        int slave = -1;
        char name[256] = {};
        if (openpty(&m_master, &slave, name, nullptr, nullptr) != 0)
            return;
        m_slavePath = QString::fromLocal8Bit(name);
        // Raw from the start, so nothing is echoed before the port opens it.
        termios tio{};
        if (::tcgetattr(slave, &tio) == 0) {
            ::cfmakeraw(&tio);
            ::tcsetattr(slave, TCSANOW, &tio);
        }
        // The port opens its own descriptor; holding this one would keep the
        // line up after the master side has hung up.
        ::close(slave);
    }
    ~PseudoTerminal() { hangUp(); }
    PseudoTerminal(const PseudoTerminal &) = delete;
    PseudoTerminal &operator=(const PseudoTerminal &) = delete;

    bool isOpen() const { return m_master >= 0; }
    QString slavePath() const { return m_slavePath; }
    int master() const { return m_master; }

    // Closing the master side hangs the line up, as an unplugged adapter does.
    void hangUp()
    {
        if (m_master >= 0)
            ::close(m_master);
        m_master = -1;
    }

private:
    int m_master = -1;
    QString m_slavePath;
};

// Reads from the master side until the wanted count has arrived or three
// seconds have passed, keeping the event loop running meanwhile unless told
// not to (a test that loops many times need not serve the GUI's timers).
inline QByteArray readMaster(int fd, int wanted, int timeoutMs = 3000, bool serveEvents = true)
{
    QByteArray bytes;
    QElapsedTimer clock;
    clock.start();
    while (bytes.size() < wanted && clock.elapsed() < timeoutMs) {
        pollfd p{fd, POLLIN, 0};
        if (::poll(&p, 1, 20) > 0 && (p.revents & POLLIN)) {
            char buffer[4096];
            const ssize_t n = ::read(fd, buffer, sizeof buffer);
            if (n > 0)
                bytes.append(buffer, int(n));
        }
        if (serveEvents)
            QCoreApplication::processEvents();
    }
    return bytes;
}

// The whole content of a file, empty when it cannot be read.
inline QByteArray readTestFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

inline bool writeTestFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(bytes) == bytes.size();
}

// Opens the application's channel on the slave side of the pseudo-terminal.
inline bool openApplicationPty(const PseudoTerminal &pty, int baudRate = 115200)
{
    SerialChannelParams params;
    params.portName = pty.slavePath();
    params.baudRate = baudRate;
    return Application::instance()->channelProxy()->open(params);
}

// Sets or clears the immutable flag, the one thing that stops root writing
// into a directory.
inline bool setImmutable(const QString &path, bool on)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_DIRECTORY);
    if (fd < 0)
        return false;
    int flags = 0;
    bool ok = ::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0;
    if (ok) {
        flags = on ? (flags | FS_IMMUTABLE_FL) : (flags & ~FS_IMMUTABLE_FL);
        ok = ::ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0;
    }
    ::close(fd);
    return ok;
}

inline bool canCreateFileIn(const QString &dir)
{
    QFile probe(dir + QStringLiteral("/.probe"));
    if (!probe.open(QIODevice::WriteOnly))
        return false;
    probe.remove();
    return true;
}

// A directory nobody may write to, as far as this machine allows: without
// write permission, and immutable as well when the tests run as root.
class ReadOnlyDirectory
{
public:
    explicit ReadOnlyDirectory(const QString &path)
        : m_path(path)
    {
        QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::ExeOwner | QFileDevice::ReadOther
                                        | QFileDevice::ExeOther);
        if (canCreateFileIn(path))
            m_immutable = setImmutable(path, true);
    }
    ~ReadOnlyDirectory()
    {
        if (m_immutable)
            setImmutable(m_path, false);
        QFile::setPermissions(m_path,
                              QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    }
    ReadOnlyDirectory(const ReadOnlyDirectory &) = delete;
    ReadOnlyDirectory &operator=(const ReadOnlyDirectory &) = delete;

    bool isReadOnly() const { return !canCreateFileIn(m_path); }

private:
    QString m_path;
    bool m_immutable = false;
};

// The started application's services, for a window built alone in a test.
inline Services applicationServices()
{
    Application *app = Application::instance();
    return Services{*app->options(),           *app->context(),
                    *app->channelProxy(),      *app->periodSendController(),
                    *app->protocolSetSender(), *app->protocolEditorSender(),
                    *app->transmitSender(),    *app->frameWatcher(),
                    *app->timingWatcher()};
}
