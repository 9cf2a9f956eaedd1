// Runs the whole application the way the launcher does and checks that the
// event loop's exit code comes back and that start-up and shut-down did
// their work on the settings file.
//
// Run with --start-up-cases it drives copies of itself instead: each copy
// lives in a directory of its own, so its Data directory holds whatever
// settings file a case needs (broken, huge, a FIFO, read-only, hostile).
#include <dorvane/App.h>

#include "apptestsupport.h"
#include "model/yamldocument.h"
#include "shell/application.h"
#include "shell/applicationoptions.h"
#include "shell/mainwindow.h"
#include "windows/dialogue/dialoguewindow.h"
#include "windows/dialogue/echotextedit.h"
#include "windows/instructs/instructsetwindow.h"
#include "windows/transmit/transmittextedit.h"
#include "windows/transmit/transmitwindow.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QDockWidget>
#include <QElapsedTimer>
#include <QEvent>
#include <QFile>
#include <QMessageBox>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include <csignal>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

#ifdef DORVANE_QUIT_BY_SIGNAL
constexpr int kExpectedExit = 0;
#else
constexpr int kExpectedExit = 7;
#endif

#include <yaml-cpp/yaml.h>

namespace {

bool g_driving = false;
bool g_windowOk = false;
QString g_settingsFile;
QString g_version;

// Holds the start-up where the main window is first shown, as a start-up
// that never finishes would; tells the driver so on standard output.
class StallAtShow : public QObject
{
protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Show && qobject_cast<MainWindow *>(watched)) {
            std::printf("stalled\n");
            std::fflush(stdout);
            std::this_thread::sleep_for(std::chrono::seconds(20));
            std::_Exit(3);
        }
        return false;
    }
};

// Tells the driver on standard output when a start-up warning shows, and
// leaves the ending to the signal the driver sends.
void reportStartUpWarning()
{
    auto *poll = new QTimer(QCoreApplication::instance());
    QObject::connect(poll, &QTimer::timeout, poll, [poll] {
        if (!QApplication::activeModalWidget())
            return;
        poll->stop();
        if (Application *app = Application::instance(); app && app->options())
            g_settingsFile = app->options()->appSettingsFile;
        std::printf("warning shown\n");
        std::fflush(stdout);
    });
    poll->start(50);
}

// "set" arranges the workbench as a user might; "check" says whether the
// arrangement came back.
void workbenchHook(Application *app)
{
    const QByteArray mode = qgetenv("DORVANE_TEST_WORKBENCH");
    if (mode.isEmpty() || !app || !app->mainWindow())
        return;
    MainWindow *window = app->mainWindow();
    TransmitWindow *tx = window->transmitWindow();
    EchoTextEdit *echo = window->dialogueWindow()->echoEdit();
    if (mode == "set") {
        window->instructSetDock()->show();
        window->resizeDocks({window->channelDock()}, {345}, Qt::Horizontal);
        tx->setTransmitText(QStringLiteral("hello\nworld"), 1);
        tx->setInterval(250);
        echo->setReportDetails(!echo->reportDetails());
        QCoreApplication::processEvents();
        std::printf("details %d set width %d\n", int(echo->reportDetails()), window->channelDock()->width());
    } else {
        std::printf("dock %d width %d text %s mode %d interval %d details %d\n",
                    int(window->instructSetDock()->isVisible()), window->channelDock()->width(),
                    qPrintable(tx->editor()->toPlainText().replace(QLatin1Char('\n'), QLatin1Char('|'))),
                    tx->inputMode(), tx->interval(), int(echo->reportDetails()));
    }
    std::fflush(stdout);
}

// Changes the instruct set and leaves it unsaved for the signal to find.
void changeADocument()
{
    QTimer::singleShot(0, [] {
        Application *app = Application::instance();
        g_settingsFile = app->options()->appSettingsFile;
        app->mainWindow()->instructSetWindow()->add(QStringLiteral("01 02"), 0);
        std::printf("changed\n");
        std::fflush(stdout);
    });
}

// Answers the question about kept documents with Yes and says whether the
// instruct set came back, unsaved.
void restoreKeptDocuments()
{
    auto *poll = new QTimer(QCoreApplication::instance());
    QObject::connect(poll, &QTimer::timeout, poll, [poll] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        if (!box || box->objectName() != QLatin1String("RecoveryQuestion"))
            return;
        poll->stop();
        QTimer::singleShot(0, [] {
            Application *app = Application::instance();
            g_settingsFile = app->options()->appSettingsFile;
            InstructSetWindow *set = app->mainWindow()->instructSetWindow();
            // Restored, the copy is gone (a signal later keeps it anew).
            const bool gone = !QFileInfo::exists(app->options()->settingsDir
                                                 + QStringLiteral("/Recovery/instruct-set.dvits"));
            std::printf(set->isModified() && set->rowCount() == 1 && gone ? "restored\n" : "not restored\n");
            std::fflush(stdout);
        });
        box->button(QMessageBox::Yes)->click();
    });
    poll->start(50);
}

void scheduleExit()
{
    if (g_driving)
        return;
    if (qEnvironmentVariableIsSet("DORVANE_TEST_CHANGE_AND_WAIT")) {
        changeADocument();
        return;
    }
    if (qEnvironmentVariableIsSet("DORVANE_TEST_RESTORE")) {
        restoreKeptDocuments();
        return;
    }
    if (qEnvironmentVariableIsSet("DORVANE_TEST_WAIT_FOR_SIGNAL")) {
        reportStartUpWarning();
        return;
    }
    if (qEnvironmentVariableIsSet("DORVANE_TEST_STALL_START"))
        QCoreApplication::instance()->installEventFilter(new StallAtShow);
    QTimer::singleShot(0, [] {
        Application *app = Application::instance();
        g_windowOk = app && app->mainWindow() && app->mainWindow()->isVisible()
                     && app->mainWindow()->size() == QSize(1200, 700);
        if (app && app->options())
            g_settingsFile = app->options()->appSettingsFile;
        g_version = QCoreApplication::applicationVersion();
        workbenchHook(app);
#ifdef DORVANE_QUIT_BY_SIGNAL
        // A terminating signal must end the loop normally (exit code 0).
        ::kill(::getpid(), SIGTERM);
#else
        QCoreApplication::exit(7);
#endif
    });
}

int runTheApplication(int argc, char **argv)
{
    const int result = RunApplication(argc, argv);
    const bool bySignal = qEnvironmentVariableIsSet("DORVANE_TEST_WAIT_FOR_SIGNAL")
                          || qEnvironmentVariableIsSet("DORVANE_TEST_CHANGE_AND_WAIT")
                          || qEnvironmentVariableIsSet("DORVANE_TEST_RESTORE");
    if (bySignal && result != 0) {
        std::fprintf(stderr, "FAIL: RunApplication returned %d after a signal\n", result);
        return 1;
    }
    if (!bySignal && result != kExpectedExit) {
        std::fprintf(stderr, "FAIL: RunApplication returned %d, expected %d\n", result, kExpectedExit);
        return 1;
    }
    // About and the libraries tell one version: the project's.
    if (!bySignal && g_version != QLatin1String(DORVANE_PROJECT_VERSION)) {
        std::fprintf(stderr, "FAIL: application version %s, project version %s\n", qPrintable(g_version),
                     DORVANE_PROJECT_VERSION);
        return 1;
    }
    if (!bySignal && !g_windowOk) {
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

QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool writeAll(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(bytes) == bytes.size();
}

const char kValidSettings[] = "fileFormat: dorvane settings\nfileVersion: \"1.0\"\n"
                              "app:\n  theme: System\n  locale: en-US\n"
                              "runtime:\n  lastProtocolDir: /kept/protocols\n";

} // namespace

Q_COREAPP_STARTUP_FUNCTION(scheduleExit)

// Each case starts a copy of this program as the application, in a
// directory of its own, and looks at what it left behind.
class StartUpCases : public QObject
{
    Q_OBJECT

private slots:
    void unusableSettingsFileIsSetAside_data();
    void unusableSettingsFileIsSetAside();
    void hostileSettingsFiles_data();
    void hostileSettingsFiles();
    void terminatingSignalEndsAStuckStartUp();
    void terminatingSignalDuringAStartUpWarningSavesTheSettings();
    void unsavedDocumentsAreKeptOnATerminatingSignal();
    void workbenchComesBackAfterARestart();
    void readOnlyDataDirectoryCarriesTheSettingsOver();

private:
    struct App
    {
        QTemporaryDir root;
        QString dir;
        QString settingsDir;
        QString settingsFile;
    };
    // Lays out a copy of the program with an empty Data/Settings directory.
    static bool prepare(App &app);
    // Runs it to its end; false (and the reason) when it did not end in time
    // or did not pass its own checks.
    static bool run(const App &app, QByteArray *errors = nullptr);
    static QProcessEnvironment environmentFor(const App &app);
    static void checkSetAside(const App &app, const QByteArray &original, const QByteArray &errors);
};

bool StartUpCases::prepare(App &app)
{
    if (!app.root.isValid())
        return false;
    app.dir = app.root.path() + QStringLiteral("/app");
    app.settingsDir = app.dir + QStringLiteral("/Data/Settings");
    app.settingsFile = app.settingsDir + QStringLiteral("/app.settings");
    const QString program = app.dir + QStringLiteral("/tst_runapplication");
    return QDir().mkpath(app.settingsDir) && QFile::copy(QCoreApplication::applicationFilePath(), program)
           && QFile::setPermissions(program, QFileDevice::ReadOwner | QFileDevice::ExeOwner);
}

QProcessEnvironment StartUpCases::environmentFor(const App &app)
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    // The user's own data location, for a read-only Data directory.
    environment.insert(QStringLiteral("XDG_DATA_HOME"), app.root.path() + QStringLiteral("/user-data"));
    // In a sanitizer build the leak check at exit needs slow full stacks to
    // match its suppressions; the application's leaks are the in-process
    // tests' business, so the copies skip it and start as fast as a user's.
    QStringList asan
        = environment.value(QStringLiteral("ASAN_OPTIONS")).split(QLatin1Char(':'), Qt::SkipEmptyParts);
    asan << QStringLiteral("detect_leaks=0");
    environment.insert(QStringLiteral("ASAN_OPTIONS"), asan.join(QLatin1Char(':')));
    environment.remove(QStringLiteral("LSAN_OPTIONS"));
    return environment;
}

bool StartUpCases::run(const App &app, QByteArray *errors)
{
    QProcess process;
    process.setProcessEnvironment(environmentFor(app));
    process.start(app.dir + QStringLiteral("/tst_runapplication"), QStringList());
    // A prompt start: well within this, even on a loaded machine.
    if (!process.waitForFinished(20000)) {
        process.kill();
        process.waitForFinished();
        qWarning("the application did not end: its start-up hung");
        return false;
    }
    const QByteArray err = process.readAllStandardError();
    if (errors)
        *errors = err;
    if (process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0) {
        qWarning("the application failed (exit %d): %s", process.exitCode(), err.constData());
        return false;
    }
    return true;
}

void StartUpCases::checkSetAside(const App &app, const QByteArray &original, const QByteArray &errors)
{
    // Nothing of the user's is destroyed: the unusable file is kept whole
    // under another name, and said so once.
    const QString aside = app.settingsFile + QStringLiteral(".bad");
    QVERIFY2(QFileInfo(aside).exists(), "the unusable settings file was not set aside");
    if (QFileInfo(aside).isFile())
        QCOMPARE(readAll(aside), original);
    QCOMPARE(errors.count("set aside"), 1);
    // The file in its place is complete, so the next start reads it.
    const YAML::Node doc = YAML::LoadFile(app.settingsFile.toStdString());
    QCOMPARE(doc["fileFormat"].as<std::string>(), std::string("dorvane settings"));
    QVERIFY(doc["fileVersion"].IsDefined());
}

void StartUpCases::unusableSettingsFileIsSetAside_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<bool>("fifo");
    // Broken and foreign documents are among the hostile files below. This
    // one is valid YAML, but more than any settings file needs.
    QByteArray huge = "fileFormat: dorvane settings\nfileVersion: \"1.0\"\nfiller:\n";
    while (huge.size() <= ApplicationOptions::kMaxSettingsFileSize)
        huge += "  - 0123456789abcdef0123456789abcdef0123456789abcdef\n";
    QTest::newRow("huge") << huge << false;
    QTest::newRow("fifo") << QByteArray() << true;
}

void StartUpCases::unusableSettingsFileIsSetAside()
{
    QFETCH(QByteArray, content);
    QFETCH(bool, fifo);
    App app;
    QVERIFY(prepare(app));
    if (fifo)
        QVERIFY(::mkfifo(QFile::encodeName(app.settingsFile).constData(), 0600) == 0);
    else
        QVERIFY(writeAll(app.settingsFile, content));

    QByteArray errors;
    QVERIFY(run(app, &errors));
    checkSetAside(app, content, errors);
    if (fifo)
        QVERIFY(QFileInfo(app.settingsFile + QStringLiteral(".bad")).exists());

    // The next start reads what the first one wrote and sets nothing aside.
    QVERIFY(run(app, &errors));
    QVERIFY(!QFileInfo(app.settingsFile + QStringLiteral(".2.bad")).exists());
    QCOMPARE(errors.count("set aside"), 0);
}

void StartUpCases::hostileSettingsFiles_data()
{
    // "refused-*" files cannot be used and are set aside; "loaded-*" files
    // are settings files with odd values, which are read as far as they go.
    QTest::addColumn<QString>("path");
    QDirIterator files(QStringLiteral(DORVANE_HOSTILE_SETTINGS_DIR), QDir::Files);
    while (files.hasNext()) {
        const QString path = files.next();
        QTest::newRow(qPrintable(QFileInfo(path).fileName())) << path;
    }
}

void StartUpCases::hostileSettingsFiles()
{
    QFETCH(QString, path);
    const QByteArray original = readAll(path);
    App app;
    QVERIFY(prepare(app));
    QVERIFY(writeAll(app.settingsFile, original));
    QByteArray errors;
    QVERIFY(run(app, &errors));
    if (QFileInfo(path).fileName().startsWith(QLatin1String("refused-"))) {
        checkSetAside(app, original, errors);
    } else {
        QVERIFY(!QFileInfo(app.settingsFile + QStringLiteral(".bad")).exists());
        QCOMPARE(errors.count("set aside"), 0);
        // What the application does not know stays in the file.
        const YAML::Node before = YAML::Load(original.toStdString());
        const YAML::Node after = YAML::LoadFile(app.settingsFile.toStdString());
        for (const auto &entry : before)
            QVERIFY2(after[entry.first.as<std::string>()].IsDefined(), entry.first.as<std::string>().c_str());
    }
}

void StartUpCases::terminatingSignalEndsAStuckStartUp()
{
    App app;
    QVERIFY(prepare(app));
    QVERIFY(writeAll(app.settingsFile, kValidSettings));
    QProcess process;
    QProcessEnvironment environment = environmentFor(app);
    environment.insert(QStringLiteral("DORVANE_TEST_STALL_START"), QStringLiteral("1"));
    process.setProcessEnvironment(environment);
    process.start(app.dir + QStringLiteral("/tst_runapplication"), QStringList());
    QVERIFY(process.waitForStarted());
    QElapsedTimer clock;
    clock.start();
    while (!process.readAllStandardOutput().contains("stalled") && clock.elapsed() < 20000)
        process.waitForReadyRead(100);
    QVERIFY2(clock.elapsed() < 20000, "the start-up never reached the main window");

    ::kill(pid_t(process.processId()), SIGTERM);
    const bool ended = process.waitForFinished(5000);
    if (!ended) {
        process.kill();
        process.waitForFinished();
    }
    QVERIFY2(ended, "SIGTERM did not end a start-up that does not finish");
    QCOMPARE(process.exitStatus(), QProcess::CrashExit);
    // Nothing was saved over the user's file on the way out.
    QCOMPARE(readAll(app.settingsFile), QByteArray(kValidSettings));
}

void StartUpCases::terminatingSignalDuringAStartUpWarningSavesTheSettings()
{
    App app;
    QVERIFY(prepare(app));
    QVERIFY(writeAll(app.settingsFile, "fileFormat: dorvane settings\nfileVersion: \"1.0\"\n"));
    QProcess process;
    QProcessEnvironment environment = environmentFor(app);
    environment.insert(QStringLiteral("DORVANE_TEST_WAIT_FOR_SIGNAL"), QStringLiteral("1"));
    process.setProcessEnvironment(environment);
    // A document that is not there: the start-up warns about it.
    process.start(app.dir + QStringLiteral("/tst_runapplication"), {app.dir + QStringLiteral("/gone.dvptc")});
    QVERIFY(process.waitForStarted());
    QElapsedTimer clock;
    clock.start();
    while (!process.readAllStandardOutput().contains("warning shown") && clock.elapsed() < 20000)
        process.waitForReadyRead(100);
    QVERIFY2(clock.elapsed() < 20000, "no start-up warning was shown");

    for (int sig : {SIGTERM}) {
        if (process.processId() > 0)
            ::kill(pid_t(process.processId()), sig);
        const bool ended = process.waitForFinished(10000);
        if (!ended) {
            process.kill();
            process.waitForFinished();
        }
        QVERIFY2(ended, "SIGTERM did not end the start-up warning");
        const QByteArray errors = process.readAllStandardError();
        QVERIFY2(process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0, errors.constData());
        QVERIFY(errors.contains("gone.dvptc"));
    }
    const YAML::Node doc = YAML::LoadFile(app.settingsFile.toStdString());
    QVERIFY2(doc["app"]["theme"].IsDefined(), "the settings were not saved on the way out");
}

// Starts a copy with the given mode, waits for the line it prints, then
// ends it with the signal; true when it ended normally.
static bool runUntilSignal(const QProcessEnvironment &base, const QString &program, const char *mode,
                           const QByteArray &line, int sig, QByteArray *output)
{
    QProcess process;
    QProcessEnvironment environment = base;
    environment.insert(QLatin1String(mode), QStringLiteral("1"));
    process.setProcessEnvironment(environment);
    process.start(program, QStringList());
    if (!process.waitForStarted())
        return false;
    QElapsedTimer clock;
    clock.start();
    while (!output->contains(line) && clock.elapsed() < 20000) {
        process.waitForReadyRead(100);
        *output += process.readAllStandardOutput();
    }
    // A copy that already ended has no process id: kill(0) would end ours.
    if (process.processId() > 0)
        ::kill(pid_t(process.processId()), sig);
    const bool ended = process.waitForFinished(10000);
    if (!ended) {
        process.kill();
        process.waitForFinished();
    }
    *output += process.readAllStandardOutput() + process.readAllStandardError();
    return ended && process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
}

void StartUpCases::unsavedDocumentsAreKeptOnATerminatingSignal()
{
    for (int sig : {SIGTERM, SIGHUP}) {
        App app;
        QVERIFY(prepare(app));
        QVERIFY(writeAll(app.settingsFile, kValidSettings));
        const QString program = app.dir + QStringLiteral("/tst_runapplication");
        const QString kept = app.settingsDir + QStringLiteral("/Recovery/instruct-set.dvits");
        QByteArray output;
        QVERIFY2(runUntilSignal(environmentFor(app), program, "DORVANE_TEST_CHANGE_AND_WAIT", "changed", sig,
                                &output),
                 output.constData());
        QVERIFY2(QFileInfo(kept).isFile(), "the unsaved instruct set was not kept");

        // The next start offers it back, and once restored the copy is gone.
        output.clear();
        QVERIFY2(runUntilSignal(environmentFor(app), program, "DORVANE_TEST_RESTORE", "restored", SIGTERM,
                                &output),
                 output.constData());
        QVERIFY2(output.contains("restored") && !output.contains("not restored"), output.constData());
    }
}

void StartUpCases::workbenchComesBackAfterARestart()
{
    App app;
    QVERIFY(prepare(app));
    QVERIFY(writeAll(app.settingsFile, kValidSettings));
    const QString program = app.dir + QStringLiteral("/tst_runapplication");
    auto runWith = [&](const char *mode) {
        QProcess process;
        QProcessEnvironment environment = environmentFor(app);
        environment.insert(QStringLiteral("DORVANE_TEST_WORKBENCH"), QLatin1String(mode));
        process.setProcessEnvironment(environment);
        process.start(program, QStringList());
        if (!process.waitForFinished(20000)) {
            process.kill();
            process.waitForFinished();
        }
        return process.readAllStandardOutput() + process.readAllStandardError();
    };
    const QByteArray set = runWith("set");
    QVERIFY2(set.contains("PASS"), set.constData());
    // The dock's width as the layout gave it, after the user's resize.
    const QByteArray setLine = set.mid(set.indexOf("details "));
    const QByteArray details = setLine.left(9);
    const QByteArray width = setLine.mid(setLine.indexOf("set width ") + 10).split('\n').value(0);
    const QByteArray check = runWith("check");
    QVERIFY2(check.contains("dock 1 width " + width + " text hello|world mode 1 interval 250 " + details),
             (set + check).constData());
    // Older readers find every section they know where it was.
    const YAML::Node doc = YAML::LoadFile(app.settingsFile.toStdString());
    QCOMPARE(doc["runtime"]["lastProtocolDir"].as<std::string>(), std::string("/kept/protocols"));
}

void StartUpCases::readOnlyDataDirectoryCarriesTheSettingsOver()
{
    App app;
    QVERIFY(prepare(app));
    QVERIFY(writeAll(app.settingsFile, kValidSettings));
    const QString userSettings
        = app.root.path() + QStringLiteral("/user-data/Quorvel/Dorvane/Data/Settings/app.settings");
    {
        ReadOnlyDirectory readOnly(app.settingsDir);
        if (!readOnly.isReadOnly())
            QSKIP("this machine lets the tests write into any directory (no immutable flag)");
        QVERIFY(run(app));
    }
    QCOMPARE(readAll(app.settingsFile), QByteArray(kValidSettings));
    YAML::Node doc = YAML::LoadFile(userSettings.toStdString());
    QCOMPARE(doc["runtime"]["lastProtocolDir"].as<std::string>(), std::string("/kept/protocols"));

    // Carried over once: later starts keep what the user location holds.
    doc["runtime"]["lastProtocolDir"] = "/changed";
    QVERIFY(writeYamlDocument(userSettings, doc));
    {
        ReadOnlyDirectory readOnly(app.settingsDir);
        QVERIFY(run(app));
    }
    doc = YAML::LoadFile(userSettings.toStdString());
    QCOMPARE(doc["runtime"]["lastProtocolDir"].as<std::string>(), std::string("/changed"));
}

int main(int argc, char **argv)
{
    if (argc > 1 && std::strcmp(argv[1], "--start-up-cases") == 0) {
        g_driving = true;
        argv[1] = argv[0];
        QCoreApplication app(argc, argv);
        StartUpCases cases;
        return QTest::qExec(&cases, argc - 1, argv + 1);
    }
    return runTheApplication(argc, argv);
}

#include "tst_runapplication.moc"
