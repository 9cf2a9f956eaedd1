#pragma once

#include <QFont>
#include <QObject>
#include <QString>

#include <yaml-cpp/yaml.h>

#include <dorvane/app_export.h>

// Directories, fonts, theme, locale and the YAML settings file of the
// application. Only theme, locale and the last-used directories are kept in
// the settings file; windows store their own sections through setSection.
class DORVANE_APP_EXPORT ApplicationOptions : public QObject
{
    Q_OBJECT

public:
    explicit ApplicationOptions(QObject *parent = nullptr);

    // Computes every path from the directory the executable lives in; an
    // empty directory means the running executable's own.
    void initPaths(const QString &applicationDir = QString());

    bool loadOptions();
    bool saveOptions();
    bool openSettingsDocument();

    // Largest settings file that is read; a larger one is set aside unread.
    static constexpr qint64 kMaxSettingsFileSize = 1024 * 1024;

    // Takes the text of a settings file: when it is a Dorvane settings
    // document it becomes settingsDocument and the result is empty; otherwise
    // nothing changes and the result says why the text was refused.
    QString acceptSettingsText(const QByteArray &text);
    // Reads theme, locale and the last-used directories from settingsDocument,
    // each only where it is stored.
    void applySettingsDocument();

    YAML::Node section(const std::string &key) const;
    void setSection(const std::string &key, const YAML::Node &node, bool saveNow);

    // True when the data directory beside the executable was not writable
    // and the user's application-data location holds the writable files.
    bool usesFallbackDataDir() const { return m_fallbackDataDir; }

    QString appDir;
    QString dataDir;
    QString localeDir;
    QString themeDir;
    QString settingsDir;
    QString appSettingsFile;
    QString dialogueSettingsFile;
    QString historySettingsFile;
    QString watcherSettingsFile;
    QString helpFile;

    QString theme;
    QString locale;

    QFont appFont;
    QFont editorFont;
    QFont echoFont;

    QString lastProtocolDir;
    QString lastSolutionDir;
    QString lastInstructSetDir;

    YAML::Node settingsDocument;

    // The locale used when the settings file names none: "zh-TW" for a
    // Chinese system that writes Traditional characters, "zh-CN" for any
    // other Chinese one, "en-US" otherwise.
    static QString defaultLocale();

private:
    bool writeDocument(const YAML::Node &document);
    // Why the settings file cannot be read as text; empty when it was read.
    QString readSettingsFile(QByteArray &text) const;
    // Moves an unusable settings file out of the way and starts a fresh one.
    void setAsideSettingsFile(const QString &reason);
    void holdFreshDocument();
    void carryOverFromReadOnlyDataDir();

    bool m_fallbackDataDir = false;
    bool m_writeFailureReported = false;
    // The document in memory is the file's (or replaces it): no need to read
    // the file again before writing it.
    bool m_documentHeld = false;
    // An unusable file that could not be set aside is never written over.
    bool m_writesBlocked = false;
};
