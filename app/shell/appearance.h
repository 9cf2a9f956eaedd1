#pragma once

#include <QPair>
#include <QString>

#include <dorvane/app_export.h>

class ApplicationOptions;

// Replaces the variable block at the head of a style sheet: the block is
// removed and every "palette(name)" in the rest becomes the variable's value.
DORVANE_APP_EXPORT void expandThemeBlock(QString &styleSheet);

// Sets the named theme (a built-in style sheet) on the application; the
// matching file in the themes directory is the switch.
DORVANE_APP_EXPORT void applyTheme(const ApplicationOptions &options, QString themeName);

// The (application catalogue, Qt catalogue) base names for a locale string.
DORVANE_APP_EXPORT QPair<QString, QString> localeCatalogues(const QString &locale);

// Installs the translators of the locale; returns true when the
// application's own catalogue was installed.
DORVANE_APP_EXPORT bool applyLocale(const ApplicationOptions &options, const QString &locale);
