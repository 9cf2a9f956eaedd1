// Starts the whole application with each locale option and reads back what
// the main window's tool bar and status bar show. The catalogues must leave
// no English text there, and a start in English afterwards must show English
// again.
//
// Each start runs in a child copy of this program ("--show-texts DIR"), on a
// program directory of its own whose Data holds the built catalogues and a
// settings file naming the locale: translators, once installed, stay for the
// life of a process, as they do in the real program.
#include "shell/application.h"
#include "shell/mainwindow.h"

#include <QAbstractButton>
#include <QAction>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QToolBar>
#include <QtTest>

#include <cstdio>

namespace {

// One shown text: where it was found and what it says.
struct ShownText
{
    QString place;
    QString text;
};

QString escaped(QString text)
{
    return text.replace(QLatin1Char('\\'), QLatin1String("\\\\"))
        .replace(QLatin1Char('\n'), QLatin1String("\\n"));
}

// The child: starts the application on the given directory, prints every text
// of the tool bar and the status bar, one "place<TAB>text" a line, and ends.
int showTexts(char *program, const QString &appDir)
{
    // Only the program's name: any further argument would be taken for a
    // document to open.
    int argc = 1;
    char *argv[] = {program, nullptr};
    QCoreApplication::setApplicationName(QStringLiteral("Dorvane"));
    QCoreApplication::setOrganizationName(QStringLiteral("Quorvel"));
    QCoreApplication::setApplicationVersion(QStringLiteral("1.0.0"));
    QStandardPaths::setTestModeEnabled(true);
    Application app(argc, argv);
    app.startUp(appDir);
    QStringList lines;
    MainWindow *window = app.mainWindow();
    auto *toolBar
        = window->findChild<QToolBar *>(QStringLiteral("StandardToolBar"), Qt::FindDirectChildrenOnly);
    if (toolBar) {
        const QList<QAction *> actions = toolBar->actions();
        for (QAction *action : actions) {
            if (action->isSeparator())
                continue;
            lines << QStringLiteral("action text\t") + escaped(action->text());
            lines << QStringLiteral("action tip\t") + escaped(action->toolTip());
        }
    }
    const QList<QWidget *> widgets = window->statusBar()->findChildren<QWidget *>();
    for (QWidget *widget : widgets) {
        if (auto *label = qobject_cast<QLabel *>(widget))
            lines << QStringLiteral("status label\t") + escaped(label->text());
        if (auto *button = qobject_cast<QAbstractButton *>(widget))
            lines << QStringLiteral("status button\t") + escaped(button->text());
        lines << QStringLiteral("status tip\t") + escaped(widget->toolTip());
    }
    // One of Qt's own texts, from the Qt catalogue beside the program.
    lines << QStringLiteral("qt\t") + QCoreApplication::translate("QPlatformTheme", "Cancel");
    app.shutDown();
    std::fputs(lines.join(QLatin1Char('\n')).toUtf8().constData(), stdout);
    std::fputs("\n", stdout);
    return 0;
}

// Texts that read the same in every language: numbers, protocol and product
// names, signal names.
bool staysTheSame(const QString &text)
{
    static const QRegularExpression plain(QStringLiteral("^[\\d\\s.,:;%/()+-]*$"));
    static const QStringList names{QStringLiteral("TCP"), QStringLiteral("UDP"), QStringLiteral("Dorvane"),
                                   QStringLiteral("CRC"), QStringLiteral("RTS"), QStringLiteral("DTR"),
                                   QStringLiteral("CTS"), QStringLiteral("DSR"), QStringLiteral("DCD"),
                                   QStringLiteral("RI")};
    return plain.match(text).hasMatch() || names.contains(text.trimmed());
}

} // namespace

class TestLocale : public QObject
{
    Q_OBJECT

private slots:
    void chineseStartShowsNoEnglishText_data();
    void chineseStartShowsNoEnglishText();
    void englishStartAfterChineseShowsEnglishAgain();
    void systemLocaleChoosesTheCatalogue_data();
    void systemLocaleChoosesTheCatalogue();

private:
    // A program directory whose Data holds the built catalogues and a
    // settings file naming the locale.
    bool prepare(const QString &appDir, const QString &locale);
    bool setLocale(const QString &appDir, const QString &locale);
    QList<ShownText> start(const QString &appDir, const QString &systemLocale = QString());
    QList<ShownText> englishTexts();
    static QString textOf(const QList<ShownText> &texts, const QString &place, int index = 0);

    QTemporaryDir m_root;
};

bool TestLocale::prepare(const QString &appDir, const QString &locale)
{
    const QString builtLocale = QStringLiteral(DORVANE_DATA_DIR "/Locale");
    const QString builtQt = QStringLiteral(DORVANE_DATA_DIR "/../translations");
    if (!QDir().mkpath(appDir + QStringLiteral("/Data/Locale"))
        || !QDir().mkpath(appDir + QStringLiteral("/Data/Settings"))
        || !QDir().mkpath(appDir + QStringLiteral("/translations")))
        return false;
    const QStringList catalogues = QDir(builtLocale).entryList({QStringLiteral("*.qm")}, QDir::Files);
    for (const QString &name : catalogues) {
        if (!QFile::copy(builtLocale + QLatin1Char('/') + name,
                         appDir + QStringLiteral("/Data/Locale/") + name))
            return false;
    }
    const QStringList qtCatalogues = QDir(builtQt).entryList({QStringLiteral("*.qm")}, QDir::Files);
    for (const QString &name : qtCatalogues) {
        if (!QFile::copy(builtQt + QLatin1Char('/') + name, appDir + QStringLiteral("/translations/") + name))
            return false;
    }
    return setLocale(appDir, locale);
}

bool TestLocale::setLocale(const QString &appDir, const QString &locale)
{
    QFile file(appDir + QStringLiteral("/Data/Settings/app.settings"));
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    const QByteArray text
        = "fileFormat: dorvane settings\nfileVersion: \"1.0\"\napp:\n  theme: System\n  locale: "
          + locale.toUtf8() + "\n";
    return file.write(text) == text.size();
}

QList<ShownText> TestLocale::start(const QString &appDir, const QString &systemLocale)
{
    QProcess child;
    if (!systemLocale.isEmpty()) {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("LC_ALL"), systemLocale);
        environment.insert(QStringLiteral("LANG"), systemLocale);
        child.setProcessEnvironment(environment);
    }
    child.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--show-texts"), appDir});
    if (!child.waitForFinished(60000)) {
        qWarning("the program did not end within a minute");
        child.kill();
        child.waitForFinished();
        return {};
    }
    if (child.exitStatus() != QProcess::NormalExit || child.exitCode() != 0) {
        qWarning("the program did not start and end cleanly: %s", child.readAllStandardError().constData());
        return {};
    }
    QList<ShownText> texts;
    const QStringList lines = QString::fromUtf8(child.readAllStandardOutput()).split(QLatin1Char('\n'));
    for (const QString &line : lines) {
        const int tab = line.indexOf(QLatin1Char('\t'));
        if (tab > 0)
            texts.append({line.left(tab), line.mid(tab + 1)});
    }
    return texts;
}

QList<ShownText> TestLocale::englishTexts()
{
    const QString appDir = m_root.path() + QStringLiteral("/english");
    if (!QFileInfo::exists(appDir) && !prepare(appDir, QStringLiteral("en-US")))
        return {};
    return start(appDir);
}

QString TestLocale::textOf(const QList<ShownText> &texts, const QString &place, int index)
{
    for (const ShownText &shown : texts) {
        if (shown.place == place && index-- == 0)
            return shown.text;
    }
    return QString();
}

void TestLocale::chineseStartShowsNoEnglishText_data()
{
    QTest::addColumn<QString>("locale");
    QTest::addColumn<QString>("channel");
    QTest::addColumn<QString>("transmit");
    QTest::newRow("zh-CN") << QStringLiteral("zh-CN") << QStringLiteral("通道") << QStringLiteral("发送");
    QTest::newRow("zh-TW") << QStringLiteral("zh-TW") << QStringLiteral("通道") << QStringLiteral("傳送");
}

void TestLocale::chineseStartShowsNoEnglishText()
{
    QFETCH(QString, locale);
    QFETCH(QString, channel);
    QFETCH(QString, transmit);
    QVERIFY(m_root.isValid());
    const QList<ShownText> english = englishTexts();
    QVERIFY2(textOf(english, QStringLiteral("action text")) == QLatin1String("Channel"),
             "the English start shows no tool bar");

    const QString appDir = m_root.path() + QLatin1Char('/') + locale;
    QVERIFY(prepare(appDir, locale));
    const QList<ShownText> chinese = start(appDir);
    QCOMPARE(chinese.size(), english.size());

    QStringList untranslated;
    for (int i = 0; i < english.size(); ++i) {
        QCOMPARE(chinese.at(i).place, english.at(i).place);
        const QString &source = english.at(i).text;
        if (english.at(i).place == QLatin1String("qt") || source.isEmpty() || staysTheSame(source))
            continue;
        if (chinese.at(i).text == source || chinese.at(i).text.isEmpty())
            untranslated << english.at(i).place + QStringLiteral(": ") + source;
    }
    QVERIFY2(untranslated.isEmpty(), qPrintable(untranslated.join(QStringLiteral("; "))));

    // The catalogue of this very locale was picked, not its neighbour's.
    QCOMPARE(textOf(chinese, QStringLiteral("action text"), 0), channel);
    QCOMPARE(textOf(chinese, QStringLiteral("action text"), 2), transmit);

    if (QFileInfo::exists(QStringLiteral(DORVANE_DATA_DIR "/../translations"))) {
        QVERIFY2(textOf(chinese, QStringLiteral("qt")) != textOf(english, QStringLiteral("qt")),
                 "Qt's own texts stay English");
    }
}

void TestLocale::englishStartAfterChineseShowsEnglishAgain()
{
    QVERIFY(m_root.isValid());
    const QList<ShownText> english = englishTexts();
    QVERIFY(!english.isEmpty());

    // The same program directory, first in Chinese, then switched back.
    const QString appDir = m_root.path() + QStringLiteral("/switched");
    QVERIFY(prepare(appDir, QStringLiteral("zh-CN")));
    const QList<ShownText> chinese = start(appDir);
    QCOMPARE(textOf(chinese, QStringLiteral("action text")), QStringLiteral("通道"));
    QVERIFY(setLocale(appDir, QStringLiteral("en-US")));
    const QList<ShownText> again = start(appDir);

    QCOMPARE(again.size(), english.size());
    for (int i = 0; i < english.size(); ++i) {
        QCOMPARE(again.at(i).place, english.at(i).place);
        QCOMPARE(again.at(i).text, english.at(i).text);
    }
}

void TestLocale::systemLocaleChoosesTheCatalogue_data()
{
    QTest::addColumn<QString>("systemLocale");
    QTest::addColumn<QString>("transmit");
    QTest::newRow("Taiwan") << QStringLiteral("zh_TW.UTF-8") << QStringLiteral("傳送");
    QTest::newRow("Hong Kong") << QStringLiteral("zh_HK.UTF-8") << QStringLiteral("傳送");
    QTest::newRow("China") << QStringLiteral("zh_CN.UTF-8") << QStringLiteral("发送");
    QTest::newRow("Germany") << QStringLiteral("de_DE.UTF-8") << QStringLiteral("Transmit");
}

// With no locale in the settings file, the system's language and script
// decide.
void TestLocale::systemLocaleChoosesTheCatalogue()
{
    QFETCH(QString, systemLocale);
    QFETCH(QString, transmit);
    QVERIFY(m_root.isValid());
    const QString appDir = m_root.path() + QStringLiteral("/system-") + systemLocale;
    QVERIFY(prepare(appDir, QStringLiteral("en-US")));
    QFile settings(appDir + QStringLiteral("/Data/Settings/app.settings"));
    QVERIFY(settings.open(QIODevice::WriteOnly | QIODevice::Truncate));
    settings.write("fileFormat: dorvane settings\nfileVersion: \"1.0\"\n");
    settings.close();
    QCOMPARE(textOf(start(appDir, systemLocale), QStringLiteral("action text"), 2), transmit);
}

int main(int argc, char **argv)
{
    if (argc == 3 && qstrcmp(argv[1], "--show-texts") == 0)
        return showTexts(argv[0], QString::fromLocal8Bit(argv[2]));
    QCoreApplication app(argc, argv);
    TestLocale test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_locale.moc"
