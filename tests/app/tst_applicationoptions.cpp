#include "shell/applicationoptions.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

#include <yaml-cpp/yaml.h>

namespace {

YAML::Node readYaml(const QString &path)
{
    return YAML::LoadFile(path.toStdString());
}

void writeText(const QString &path, const QByteArray &text)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(text);
}

QByteArray readText(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

} // namespace

class TestApplicationOptions : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    void pathsHangOffTheExecutableDirectory()
    {
        QTemporaryDir dir;
        ApplicationOptions options;
        options.initPaths(dir.path() + QStringLiteral("/sub/../app"));
        const QString app = QDir::cleanPath(dir.path() + QStringLiteral("/app"));
        QCOMPARE(options.appDir, app);
        QCOMPARE(options.dataDir, app + QStringLiteral("/Data"));
        QCOMPARE(options.localeDir, app + QStringLiteral("/Data/Locale"));
        QCOMPARE(options.themeDir, app + QStringLiteral("/Data/Themes"));
        QCOMPARE(options.appSettingsFile, app + QStringLiteral("/Data/Settings/app.settings"));
        QCOMPARE(options.dialogueSettingsFile, app + QStringLiteral("/Data/Settings/dialogue.settings"));
        QCOMPARE(options.historySettingsFile, app + QStringLiteral("/Data/history.settings"));
        QCOMPARE(options.helpFile, app + QStringLiteral("/Data/help/dorvane.html"));
        QVERIFY(QDir(options.settingsDir).exists());
        QVERIFY(!options.usesFallbackDataDir());
    }

    void missingFileIsCreatedAndFilledAtSave()
    {
        QTemporaryDir dir;
        ApplicationOptions options;
        options.initPaths(dir.path());
        QVERIFY(!QFile::exists(options.appSettingsFile));

        QVERIFY(options.loadOptions());
        QVERIFY(QFile::exists(options.appSettingsFile));
        QVERIFY(options.saveOptions());

        const YAML::Node doc = readYaml(options.appSettingsFile);
        QCOMPARE(doc["fileFormat"].as<std::string>(), std::string("dorvane settings"));
        QCOMPARE(doc["fileVersion"].as<std::string>(), std::string("1.0"));
        QCOMPARE(doc["app"]["theme"].as<std::string>(), std::string("System"));
        QCOMPARE(QString::fromStdString(doc["app"]["locale"].as<std::string>()),
                 ApplicationOptions::defaultLocale());
        QCOMPARE(doc["runtime"]["lastProtocolDir"].as<std::string>(), std::string());
        QCOMPARE(doc["runtime"]["lastSolutionDir"].as<std::string>(), std::string());
        QCOMPARE(doc["runtime"]["lastInstructSetDir"].as<std::string>(), std::string());
    }

    void unusableFileIsSetAsideAndReplacedByACompleteOne_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::newRow("foreign format")
            << QByteArray("fileFormat: someone else\nfileVersion: \"1.0\"\napp:\n  theme: Fusion\n");
        QTest::newRow("no version") << QByteArray("fileFormat: dorvane settings\n");
        QTest::newRow("broken yaml") << QByteArray("fileFormat: [unclosed\n");
        QTest::newRow("format is a map") << QByteArray("fileFormat: {a: 1}\nfileVersion: 1\n");
    }

    void unusableFileIsSetAsideAndReplacedByACompleteOne()
    {
        QFETCH(QByteArray, text);
        QTemporaryDir dir;
        ApplicationOptions options;
        options.initPaths(dir.path());
        writeText(options.appSettingsFile, text);

        QVERIFY(!options.loadOptions());
        QCOMPARE(options.theme, QStringLiteral("System"));
        QCOMPARE(readText(options.appSettingsFile + QStringLiteral(".bad")), text);

        // A channel page stores its section at once: the file it writes is
        // complete, so the next start still reads it.
        YAML::Node network(YAML::NodeType::Map);
        network["channelType"] = 2;
        options.setSection("network", network, true);
        YAML::Node doc = readYaml(options.appSettingsFile);
        QCOMPARE(doc["fileFormat"].as<std::string>(), std::string("dorvane settings"));
        QCOMPARE(doc["fileVersion"].as<std::string>(), std::string("1.0"));
        QCOMPARE(doc["network"]["channelType"].as<int>(), 2);

        options.theme = QStringLiteral("Fusion");
        QVERIFY(options.saveOptions());
        ApplicationOptions next;
        next.initPaths(dir.path());
        QVERIFY(next.loadOptions());
        QCOMPARE(next.theme, QStringLiteral("Fusion"));
        QCOMPARE(next.section("network")["channelType"].as<int>(), 2);

        // A second unusable file never replaces the first one set aside.
        writeText(options.appSettingsFile, "garbage: [");
        ApplicationOptions third;
        third.initPaths(dir.path());
        QVERIFY(!third.loadOptions());
        QCOMPARE(readText(options.appSettingsFile + QStringLiteral(".bad")), text);
        QCOMPARE(readText(options.appSettingsFile + QStringLiteral(".2.bad")), QByteArray("garbage: ["));
    }

    void sectionStoredBeforeLoadingKeepsTheFile()
    {
        QTemporaryDir dir;
        ApplicationOptions options;
        options.initPaths(dir.path());
        writeText(options.appSettingsFile, "fileFormat: dorvane settings\nfileVersion: \"1.0\"\n"
                                           "app:\n  theme: Fusion\n");
        options.setSection("serialPort", YAML::Node(YAML::NodeType::Map), true);
        const YAML::Node doc = readYaml(options.appSettingsFile);
        QCOMPARE(doc["app"]["theme"].as<std::string>(), std::string("Fusion"));
        QVERIFY(doc["serialPort"].IsMap());
    }

    void exitWritesWhatWasReadWithoutReadingAgain()
    {
        QTemporaryDir dir;
        ApplicationOptions options;
        options.initPaths(dir.path());
        writeText(options.appSettingsFile,
                  "fileFormat: dorvane settings\nfileVersion: \"0.9\"\n"
                  "network:\n  port: 5000\ncustom: [1, 2, 3]\napp:\n  theme: Fusion\n  locale: zh-CN\n");
        QVERIFY(options.loadOptions());
        QCOMPARE(options.theme, QStringLiteral("Fusion"));
        QCOMPARE(options.locale, QStringLiteral("zh-CN"));

        // Whatever the file turns into meanwhile is not read at exit: the
        // document held since start is written, other keys included.
        writeText(options.appSettingsFile, "not: [yaml");
        options.locale = QStringLiteral("en-US");
        QVERIFY(options.saveOptions());
        const YAML::Node doc = readYaml(options.appSettingsFile);
        QCOMPARE(doc["fileVersion"].as<std::string>(), std::string("0.9"));
        QCOMPARE(doc["network"]["port"].as<int>(), 5000);
        QCOMPARE(doc["custom"].size(), std::size_t(3));
        QCOMPARE(doc["app"]["locale"].as<std::string>(), std::string("en-US"));
        QVERIFY(!QFile::exists(options.appSettingsFile + QStringLiteral(".bad")));
    }

    void runtimeDirectoriesRoundTrip()
    {
        QTemporaryDir dir;
        {
            ApplicationOptions options;
            options.initPaths(dir.path());
            QVERIFY(options.loadOptions());
            options.lastProtocolDir = QStringLiteral("/home/user/protocols");
            options.lastSolutionDir = QStringLiteral("/home/user/sets with space");
            options.lastInstructSetDir = QStringLiteral("/home/user/\u00e4nderung");
            QVERIFY(options.saveOptions());
        }
        ApplicationOptions options;
        options.initPaths(dir.path());
        QVERIFY(options.loadOptions());
        QCOMPARE(options.lastProtocolDir, QStringLiteral("/home/user/protocols"));
        QCOMPARE(options.lastSolutionDir, QStringLiteral("/home/user/sets with space"));
        QCOMPARE(options.lastInstructSetDir, QStringLiteral("/home/user/\u00e4nderung"));
    }

    void wrongKindsOfValuesKeepDefaults()
    {
        QTemporaryDir dir;
        ApplicationOptions options;
        options.initPaths(dir.path());
        writeText(options.appSettingsFile,
                  "fileFormat: dorvane settings\nfileVersion: \"1.0\"\n"
                  "app: [1, 2]\nruntime:\n  lastProtocolDir: {a: b}\n  lastSolutionDir: /x\n");
        QVERIFY(options.loadOptions());
        QCOMPARE(options.theme, QStringLiteral("System"));
        QCOMPARE(options.lastProtocolDir, QString());
        QCOMPARE(options.lastSolutionDir, QStringLiteral("/x"));
    }

    void sectionReadsWithoutInserting()
    {
        QTemporaryDir dir;
        ApplicationOptions options;
        options.initPaths(dir.path());
        QVERIFY(options.loadOptions());
        QVERIFY(!options.section("serialPort").IsDefined());
        QVERIFY(!options.settingsDocument["serialPort"].IsDefined());

        YAML::Node net;
        net["port"] = 8080;
        options.setSection("network", net, false);
        QCOMPARE(options.section("network")["port"].as<int>(), 8080);
        // Not written yet: the file has only the two identification keys.
        QVERIFY(!readYaml(options.appSettingsFile)["network"].IsDefined());
    }

    void unwritableDataDirectoryFallsBackToTheUserLocation()
    {
        // A regular file where the directory should be: nothing can be
        // created below it, whatever the user's privileges.
        QTemporaryDir dir;
        const QString blocker = dir.path() + QStringLiteral("/app");
        writeText(blocker, "not a directory");

        ApplicationOptions options;
        options.initPaths(blocker);
        QVERIFY(options.usesFallbackDataDir());
        QCOMPARE(options.dataDir, blocker + QStringLiteral("/Data"));
        QCOMPARE(options.themeDir, blocker + QStringLiteral("/Data/Themes"));
        const QString userData
            = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) + QStringLiteral("/Data");
        QCOMPARE(options.settingsDir, QDir::cleanPath(userData) + QStringLiteral("/Settings"));
        QVERIFY(options.appSettingsFile.startsWith(options.settingsDir));
        QVERIFY(options.historySettingsFile.startsWith(QDir::cleanPath(userData)));

        QVERIFY(options.loadOptions());
        options.lastProtocolDir = QStringLiteral("/kept");
        QVERIFY(options.saveOptions());
        QCOMPARE(readYaml(options.appSettingsFile)["runtime"]["lastProtocolDir"].as<std::string>(),
                 std::string("/kept"));
        QFile::remove(options.appSettingsFile);
    }

    void failedWriteIsReportedNotFatal()
    {
        QTemporaryDir dir;
        ApplicationOptions options;
        options.initPaths(dir.path());
        QVERIFY(options.loadOptions());
        // The settings directory vanishes and a file takes its place.
        QVERIFY(QDir(options.settingsDir).removeRecursively());
        writeText(options.settingsDir, "blocked");
        QVERIFY(!options.saveOptions());
        options.setSection("serialPort", YAML::Node(YAML::NodeType::Map), true);
    }
};

QTEST_MAIN(TestApplicationOptions)
#include "tst_applicationoptions.moc"
