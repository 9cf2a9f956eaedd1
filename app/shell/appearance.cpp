#include "shell/appearance.h"

#include "shell/applicationoptions.h"

#include <dorvane/WdxWidgets.h>

#include <QApplication>
#include <QFile>
#include <QFileInfo>
#include <QMap>
#include <QStyleFactory>
#include <QTextStream>
#include <QTranslator>

void expandThemeBlock(QString &styleSheet)
{
    static const QString keyword = QStringLiteral("DorvaneTheme {");
    const int start = styleSheet.indexOf(keyword);
    if (start < 0)
        return;
    const int end = styleSheet.indexOf(QLatin1Char('}'), start + keyword.size());
    if (end < 0)
        return;

    const QString head = styleSheet.left(end + 1);
    QStringList lines = head.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    if (lines.size() < 3)
        return;
    lines.removeFirst();
    lines.removeLast();

    QMap<QString, QString> variables;
    for (const QString &line : qAsConst(lines)) {
        const QStringList parts = line.split(QLatin1Char(':'), Qt::SkipEmptyParts);
        if (parts.size() != 2)
            continue;
        const QString name = parts.at(0).trimmed();
        QString value = parts.at(1).trimmed();
        if (name.isEmpty() || value.isEmpty())
            continue;
        if (value.endsWith(QLatin1Char(';')))
            value.chop(1);
        variables.insert(name, value);
    }

    styleSheet.remove(0, end + 1);
    for (auto it = variables.cbegin(); it != variables.cend(); ++it) {
        const QString pattern = QStringLiteral("palette(") + it.key() + QLatin1Char(')');
        styleSheet.replace(pattern, it.value(), Qt::CaseInsensitive);
    }
}

void applyTheme(const ApplicationOptions &options, QString themeName)
{
    WdxWaitCursor waitCursor;
    if (themeName.isEmpty())
        themeName = QStringLiteral("System");

    if (!QFileInfo::exists(options.themeDir + QStringLiteral("/%1.css").arg(themeName)))
        return;

    if (themeName.compare(QLatin1String("Fusion"), Qt::CaseInsensitive) == 0) {
        if (QStyle *style = QStyleFactory::create(QStringLiteral("Fusion")))
            QApplication::setStyle(style);
    }

    QFile file(QStringLiteral(":/theme/Resources/themes/%1.css").arg(themeName));
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return;
    QTextStream stream(&file);
    stream.setCodec("UTF-8");
    QString sheet = stream.readAll();
    expandThemeBlock(sheet);
    qApp->setStyleSheet(sheet);
}

QPair<QString, QString> localeCatalogues(const QString &locale)
{
    if (locale == QLatin1String("zh-CN"))
        return {QStringLiteral("dorvane-zh-cn"), QStringLiteral("qt-zh-cn")};
    if (locale == QLatin1String("zh-TW"))
        return {QStringLiteral("dorvane-zh-tw"), QStringLiteral("qt-zh-tw")};
    return {QStringLiteral("dorvane-en"), QStringLiteral("qt-en")};
}

bool applyLocale(const ApplicationOptions &options, const QString &locale)
{
    const QPair<QString, QString> files = localeCatalogues(locale);

    const QString appFile = options.localeDir + QStringLiteral("/%1.qm").arg(files.first);
    if (!QFileInfo::exists(appFile))
        return false;
    auto *appTranslator = new QTranslator(qApp);
    if (!appTranslator->load(appFile) || !QCoreApplication::installTranslator(appTranslator)) {
        delete appTranslator;
        return false;
    }

    const QString qtFile = options.appDir + QStringLiteral("/translations/%1.qm").arg(files.second);
    if (QFileInfo::exists(qtFile)) {
        auto *qtTranslator = new QTranslator(qApp);
        if (!qtTranslator->load(qtFile) || !QCoreApplication::installTranslator(qtTranslator))
            delete qtTranslator;
    }
    return true;
}
