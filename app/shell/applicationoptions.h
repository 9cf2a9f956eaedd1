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

    // The locale used when the settings file names none: "zh-CN" for a
    // Chinese system, "en-US" otherwise.
    static QString defaultLocale();

private:
    bool writeDocument(const YAML::Node &document);

    bool m_fallbackDataDir = false;
    bool m_writeFailureReported = false;
};

// Writes a YAML document whole and atomically; false when the file cannot be
// written, with the system's reason when one is asked for. Shared by every
// writer of the application's YAML files.
DORVANE_APP_EXPORT bool writeYamlDocument(const QString &path, const YAML::Node &document,
                                          QString *reason = nullptr);
