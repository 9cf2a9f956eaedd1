#include "shell/applicationoptions.h"

#include "model/settingsvalues.h"
#include "model/yamldocument.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLocale>
#include <QPair>
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

YAML::Node freshSettingsDocument()
{
    return newYamlDocument(kFormatTitle, kFormatVersion);
}

bool hasSettingsHeader(const YAML::Node &document)
{
    return hasDocumentHeader(document, kFormatTitle);
}

// A free name beside the file for a copy that is set aside: ".bad", then
// numbered so that an earlier one is never replaced.
QString setAsideName(const QString &path)
{
    QString name = path + QStringLiteral(".bad");
    for (int n = 2; QFileInfo(name).exists() || QFileInfo(name).isSymLink(); ++n)
        name = path + QStringLiteral(".%1.bad").arg(n);
    return name;
}

void reportSettingsProblem(const QString &text)
{
    std::fprintf(stderr, "Dorvane: %s\n", qPrintable(text));
}

} // namespace

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
    const QLocale system = QLocale::system();
    if (system.language() != QLocale::Chinese)
        return QStringLiteral("en-US");
    // A system that writes Traditional characters (Taiwan, Hong Kong, Macau)
    // gets them rather than the Simplified catalogue.
    return system.script() == QLocale::TraditionalChineseScript ? QStringLiteral("zh-TW")
                                                                : QStringLiteral("zh-CN");
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
    if (m_fallbackDataDir)
        carryOverFromReadOnlyDataDir();
}

void ApplicationOptions::carryOverFromReadOnlyDataDir()
{
    // What the user kept beside the executable before it became read-only
    // comes along to the writable location, once: a copy already there is
    // the newer one.
    const QPair<QString, QString> files[] = {
        {dataDir + QStringLiteral("/Settings/app.settings"), appSettingsFile},
        {dataDir + QStringLiteral("/Settings/dialogue.settings"), dialogueSettingsFile},
        {dataDir + QStringLiteral("/history.settings"), historySettingsFile},
    };
    for (const auto &file : files) {
        const QFileInfo from(file.first);
        if (!from.isFile() || from.size() > kMaxSettingsFileSize || QFileInfo(file.second).exists())
            continue;
        QFile in(file.first);
        if (!in.open(QIODevice::ReadOnly))
            continue;
        const QByteArray bytes = in.read(kMaxSettingsFileSize + 1);
        if (bytes.size() > kMaxSettingsFileSize)
            continue;
        QSaveFile out(file.second);
        if (!out.open(QIODevice::WriteOnly) || out.write(bytes) != bytes.size() || !out.commit())
            reportSettingsProblem(
                QStringLiteral("cannot copy %1 to %2")
                    .arg(QDir::toNativeSeparators(file.first), QDir::toNativeSeparators(file.second)));
    }
}

bool ApplicationOptions::loadOptions()
{
    if (!openSettingsDocument())
        return false;
    applySettingsDocument();
    return true;
}

void ApplicationOptions::applySettingsDocument()
{
    const YAML::Node &document = settingsDocument;
    if (!document.IsMap())
        return;
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
}

bool ApplicationOptions::saveOptions()
{
    // The document read at start (and every section stored since) is what
    // the file holds: reading it again would only cost time at exit.
    if (m_writesBlocked || (!m_documentHeld && !openSettingsDocument()))
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
    const QFileInfo info(appSettingsFile);
    if (!info.exists() && !info.isSymLink()) {
        holdFreshDocument();
        return true;
    }

    QByteArray text;
    QString reason = readSettingsFile(text);
    if (reason.isEmpty())
        reason = acceptSettingsText(text);
    if (reason.isEmpty()) {
        m_documentHeld = true;
        return true;
    }
    // Nothing the user had may be lost, and a later start must still find a
    // complete file: the unusable one is kept under another name.
    setAsideSettingsFile(reason);
    return false;
}

QString ApplicationOptions::readSettingsFile(QByteArray &text) const
{
    // Only a regular file is read: a pipe or a device would hold up the start
    // for as long as nothing writes to it.
    const QFileInfo info(appSettingsFile);
    if (!info.isFile())
        return QStringLiteral("is not a regular file");
    const QString tooLarge = QStringLiteral("is larger than %1 bytes").arg(kMaxSettingsFileSize);
    if (info.size() > kMaxSettingsFileSize)
        return tooLarge;
    QFile file(appSettingsFile);
    if (!file.open(QIODevice::ReadOnly))
        return QStringLiteral("cannot be read (%1)").arg(file.errorString());
    text = file.read(kMaxSettingsFileSize + 1);
    if (text.size() > kMaxSettingsFileSize)
        return tooLarge;
    if (file.error() != QFileDevice::NoError)
        return QStringLiteral("cannot be read (%1)").arg(file.errorString());
    return QString();
}

QString ApplicationOptions::acceptSettingsText(const QByteArray &text)
{
    YAML::Node document;
    try {
        document = YAML::Load(std::string(text.constData(), std::size_t(text.size())));
    } catch (const std::exception &) {
        return QStringLiteral("is not valid YAML");
    }
    if (!hasSettingsHeader(document))
        return QStringLiteral("is not a Dorvane settings file");
    settingsDocument = document;
    return QString();
}

void ApplicationOptions::setAsideSettingsFile(const QString &reason)
{
    const QString shown = QDir::toNativeSeparators(appSettingsFile);
    const QString aside = setAsideName(appSettingsFile);
    if (!QFile::rename(appSettingsFile, aside)) {
        // It stays where it is, untouched; this run keeps its settings in
        // memory only.
        m_writesBlocked = true;
        settingsDocument = freshSettingsDocument();
        m_documentHeld = true;
        reportSettingsProblem(
            QStringLiteral("the settings file %1 %2 and cannot be set aside; settings will not be kept")
                .arg(shown, reason));
        return;
    }
    reportSettingsProblem(
        QStringLiteral("the settings file %1 %2; it was set aside as %3 and the defaults are used")
            .arg(shown, reason, QDir::toNativeSeparators(aside)));
    holdFreshDocument();
}

void ApplicationOptions::holdFreshDocument()
{
    settingsDocument = freshSettingsDocument();
    m_documentHeld = true;
    writeDocument(settingsDocument);
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
    // A section goes into the file's document; one that was never read, or
    // lost its header, gives way to a complete document, so the file written
    // is one that a later start accepts.
    if (!m_documentHeld)
        openSettingsDocument();
    if (!hasSettingsHeader(settingsDocument))
        settingsDocument = freshSettingsDocument();
    settingsDocument[key] = node;
    if (saveNow)
        writeDocument(settingsDocument);
}

bool ApplicationOptions::writeDocument(const YAML::Node &document)
{
    if (m_writesBlocked)
        return false;
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
