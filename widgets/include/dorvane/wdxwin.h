#pragma once

#include <QString>

#include <dorvane/wdxwidgets_export.h>

class QSettings;

// Desktop integration helpers.
namespace WdxWin {

// Registers a file extension with the Windows shell under HKEY_CLASSES_ROOT: the extension names the
// program id, the program id carries the description, its icon and, when openCommand is not empty, the
// command that opens a file. True when every key was written. Elsewhere the installed desktop entry and
// MIME description register the file types, and this returns false.
WDXWIDGETS_EXPORT bool registerFileType(const QString &extension, const QString &progId,
                                        const QString &description, const QString &iconPath, int iconIndex,
                                        const QString &openCommand);

// Writes the keys of registerFileType into settings (the registry root on Windows, any settings object
// elsewhere) and returns whether they were stored without error.
WDXWIDGETS_EXPORT bool writeFileTypeKeys(QSettings &settings, const QString &extension, const QString &progId,
                                         const QString &description, const QString &iconPath, int iconIndex,
                                         const QString &openCommand);

} // namespace WdxWin
