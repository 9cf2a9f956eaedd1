#pragma once

#include <QString>

#include <dorvane/app_export.h>

#include <yaml-cpp/yaml.h>

#include <string>

// Reading and writing single values of a settings section. A missing key, a
// value of the wrong kind or one that does not convert gives the fallback;
// nothing here throws.
DORVANE_APP_EXPORT int settingsInt(const YAML::Node &section, const char *key, int fallback);
DORVANE_APP_EXPORT bool settingsBool(const YAML::Node &section, const char *key, bool fallback);
DORVANE_APP_EXPORT QString settingsString(const YAML::Node &section, const char *key,
                                          const QString &fallback);

// Text stored in the settings file is in the system's local 8-bit encoding.
DORVANE_APP_EXPORT std::string toSettingsText(const QString &text);
