#include "applicationoptions.h"

#include "settingsvalues.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLocale>
#include <QSaveFile>
#include <QStandardPaths>
#include <QTemporaryFile>

#include <cstdio>

namespace {

const char kFormatTitle[] = "dorvane settings";
const char kFormatVersion[] = "1.0";

// A directory is usable for the writable files when it exists (or can be
// created) and a file can actually be created in it. Permission bits are not
// enough: they say nothing for root or read-only mounts.
bool isWritableDirectory(const QString &path)
{
    if (!QDir().mkpath(path))
        return false;
    QTemporaryFile probe(path + QStringLiteral("/.write-probe-XXXXXX"));
    return probe.open();
}

} // namespace

bool writeYamlDocument(const QString &path, const YAML::Node &document, QString *reason)
{
    auto fail = [reason](const QString &why) {
        if (reason)
            *reason = why;
        return false;
    };
    YAML::Emitter emitter;
    emitter << document;
    if (!emitter.good())
        return fail(QString::fromStdString(emitter.GetLastError()));
    QSaveFile file(path);
    // Unbuffered, so that a failing write reports the system's reason.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Text | QIODevice::Unbuffered))
        return fail(file.errorString());
    const char *text = emitter.c_str();
    const qint64 size = static_cast<qint64>(emitter.size());
    // A short write says nothing; the next one gives the reason.
    for (qint64 done = 0; done < size;) {
        const qint64 written = file.write(text + done, size - done);
        if (written <= 0)
            return fail(file.errorString());
        done += written;
    }
    if ((size == 0 || text[size - 1] != '\n') && file.write("\n", 1) != 1)
        return fail(file.errorString());
    if (!file.commit())
        return fail(file.errorString());
    return true;
}

ApplicationOptions::ApplicationOptions(QObject *parent)
    : QObject(parent)
    , theme(QStringLiteral("System"))
    , locale(defaultLocale())
    , appFont(QGuiApplication::font())
    , editorFont(QStringLiteral("Consolas"), 10, QFont::Normal, false)
    , echoFont(QStringLiteral("Courier New"), 11, QFont::Bold, false)
{
}

QString ApplicationOptions::defaultLocale()
{
    return QLocale::system().language() == QLocale::Chinese ? QStringLiteral("zh-CN")
                                                            : QStringLiteral("en-US");
}

void ApplicationOptions::initPaths(const QString &applicationDir)
{
    const QString dir = applicationDir.isEmpty() ? QCoreApplication::applicationDirPath() : applicationDir;
    appDir = QDir::cleanPath(QDir(dir).absolutePath());
    dataDir = appDir + QStringLiteral("/Data");
    localeDir = dataDir + QStringLiteral("/Locale");
    themeDir = dataDir + QStringLiteral("/Themes");
    helpFile = dataDir + QStringLiteral("/help/dorvane.html");

    // Settings, history and dialogue options must never be silently lost: a
    // system-wide install cannot write beside the executable, so those files
    // move to the user's application-data location. Themes, catalogues and
    // the help page are read-only and stay where they were installed.
    QString writableDataDir = dataDir;
    m_fallbackDataDir = false;
    if (!isWritableDirectory(dataDir + QStringLiteral("/Settings"))) {
        const QString userDir = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
        if (!userDir.isEmpty()) {
            writableDataDir = QDir::cleanPath(userDir + QStringLiteral("/Data"));
            m_fallbackDataDir = true;
        }
    }

    settingsDir = writableDataDir + QStringLiteral("/Settings");
    appSettingsFile = settingsDir + QStringLiteral("/app.settings");
    dialogueSettingsFile = settingsDir + QStringLiteral("/dialogue.settings");
    historySettingsFile = writableDataDir + QStringLiteral("/history.settings");
    watcherSettingsFile = writableDataDir + QStringLiteral("/watcher.settings");

    if (!QDir(settingsDir).exists())
        QDir().mkpath(settingsDir);
}

bool ApplicationOptions::loadOptions()
{
    if (!openSettingsDocument())
        return false;

    const YAML::Node &document = settingsDocument;
    const YAML::Node app = document["app"];
    if (app.IsDefined() && app.IsMap()) {
        theme = settingsString(app, "theme", theme);
        locale = settingsString(app, "locale", locale);
    }
    const YAML::Node runtime = document["runtime"];
    if (runtime.IsDefined() && runtime.IsMap()) {
        lastProtocolDir = settingsString(runtime, "lastProtocolDir", lastProtocolDir);
        lastSolutionDir = settingsString(runtime, "lastSolutionDir", lastSolutionDir);
        lastInstructSetDir = settingsString(runtime, "lastInstructSetDir", lastInstructSetDir);
    }
    return true;
}

bool ApplicationOptions::saveOptions()
{
    if (!openSettingsDocument())
        return false;

    YAML::Node app(YAML::NodeType::Map);
    app["theme"] = toSettingsText(theme);
    app["locale"] = toSettingsText(locale);
    settingsDocument["app"] = app;

    YAML::Node runtime(YAML::NodeType::Map);
    runtime["lastProtocolDir"] = toSettingsText(lastProtocolDir);
    runtime["lastSolutionDir"] = toSettingsText(lastSolutionDir);
    runtime["lastInstructSetDir"] = toSettingsText(lastInstructSetDir);
    settingsDocument["runtime"] = runtime;

    return writeDocument(settingsDocument);
}

bool ApplicationOptions::openSettingsDocument()
{
    if (!QFileInfo::exists(appSettingsFile)) {
        YAML::Node fresh(YAML::NodeType::Map);
        fresh["fileFormat"] = kFormatTitle;
        fresh["fileVersion"] = kFormatVersion;
        writeDocument(fresh);
    }

    YAML::Node document;
    try {
        document = YAML::LoadFile(appSettingsFile.toLocal8Bit().toStdString());
    } catch (const std::exception &) {
        return false;
    }
    if (!document.IsMap())
        return false;

    const YAML::Node format = document["fileFormat"];
    const YAML::Node version = document["fileVersion"];
    // A missing key yields an invalid node, whose kind must not be asked.
    if (!format.IsDefined() || !version.IsDefined() || !format.IsScalar() || format.Scalar() != kFormatTitle)
        return false;

    settingsDocument = document;
    return true;
}

YAML::Node ApplicationOptions::section(const std::string &key) const
{
    if (!settingsDocument.IsMap())
        return YAML::Node(YAML::NodeType::Undefined);
    // A const lookup never inserts the key into the document; an absent key
    // gives a valid undefined node that callers may question safely.
    const YAML::Node &document = settingsDocument;
    const YAML::Node node = document[key];
    if (!node.IsDefined())
        return YAML::Node(YAML::NodeType::Undefined);
    return node;
}

void ApplicationOptions::setSection(const std::string &key, const YAML::Node &node, bool saveNow)
{
    if (!settingsDocument.IsMap())
        settingsDocument = YAML::Node(YAML::NodeType::Map);
    settingsDocument[key] = node;
    if (saveNow)
        writeDocument(settingsDocument);
}

bool ApplicationOptions::writeDocument(const YAML::Node &document)
{
    if (writeYamlDocument(appSettingsFile, document))
        return true;
    // Start-up goes on without a settings file, but the user is told once
    // that changes will not be kept.
    if (!m_writeFailureReported) {
        m_writeFailureReported = true;
        std::fprintf(stderr, "Dorvane: cannot write the settings file %s; settings will not be kept\n",
                     qPrintable(QDir::toNativeSeparators(appSettingsFile)));
    }
    return false;
}
