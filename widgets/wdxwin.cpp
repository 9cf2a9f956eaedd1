#include <dorvane/wdxwin.h>

#include <QSettings>

namespace WdxWin {

bool writeFileTypeKeys(QSettings &settings, const QString &extension, const QString &progId,
                       const QString &description, const QString &iconPath, int iconIndex,
                       const QString &openCommand)
{
    const QString defaultValue = QStringLiteral("/Default");
    settings.setValue(extension + defaultValue, progId);
    settings.setValue(progId + defaultValue, description);
    // Both placeholders are filled in one pass, so a '%' in the path stays as it is.
    settings.setValue(progId + QStringLiteral("/DefaultIcon") + defaultValue,
                      QStringLiteral("\"%1\",%2").arg(iconPath, QString::number(iconIndex)));
    if (!openCommand.isEmpty()) {
        // The shell replaces %1 with the file being opened.
        settings.setValue(progId + QStringLiteral("/Shell/Open/Command") + defaultValue,
                          QLatin1Char('"') + openCommand + QStringLiteral("\" \"%1\""));
    }
    settings.sync();
    return settings.status() == QSettings::NoError;
}

bool registerFileType(const QString &extension, const QString &progId, const QString &description,
                      const QString &iconPath, int iconIndex, const QString &openCommand)
{
#ifdef Q_OS_WIN
    QSettings classes(QStringLiteral("HKEY_CLASSES_ROOT"), QSettings::NativeFormat);
    return writeFileTypeKeys(classes, extension, progId, description, iconPath, iconIndex, openCommand);
#else
    Q_UNUSED(extension)
    Q_UNUSED(progId)
    Q_UNUSED(description)
    Q_UNUSED(iconPath)
    Q_UNUSED(iconIndex)
    Q_UNUSED(openCommand)
    return false;
#endif
}

} // namespace WdxWin
