#include "shell/appearance.h"
#include "shell/applicationoptions.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QStyle>
#include <QTemporaryDir>
#include <QtTest>

namespace {

void touch(const QString &path)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
}

} // namespace

class TestAppearance : public QObject
{
    Q_OBJECT

private slots:
    void expandThemeBlock_data()
    {
        QTest::addColumn<QString>("sheet");
        QTest::addColumn<QString>("expected");

        QTest::newRow("rgba with decimal alpha and semicolon")
            << QStringLiteral(
                   "DorvaneTheme {\nnumber: rgba(220, 20, 60, 0.219);\n}\nQLabel { color: palette(number); }")
            << QStringLiteral("\nQLabel { color: rgba(220, 20, 60, 0.219); }");
        QTest::newRow("line with two colons is skipped") << QStringLiteral(
            "DorvaneTheme {\nurl: http://x;\nframe: red\n}\nA{b: palette(url); c: palette(frame);}")
                                                         << QStringLiteral("\nA{b: palette(url); c: red;}");
        QTest::newRow("upper-case PALETTE and mixed-case name")
            << QStringLiteral(
                   "DorvaneTheme {\n  windowText : rgb(0, 0, 0) ;\n}\nA{color: PALETTE(WindowTEXT);}")
            << QStringLiteral("\nA{color: rgb(0, 0, 0) ;}");
        QTest::newRow("fewer than three lines leaves the sheet")
            << QStringLiteral("DorvaneTheme {}\nA{color: palette(x);}")
            << QStringLiteral("DorvaneTheme {}\nA{color: palette(x);}");
        QTest::newRow("two lines with empty ones between leave the sheet")
            << QStringLiteral("DorvaneTheme {\n\n\n}\nA{}") << QStringLiteral("DorvaneTheme {\n\n\n}\nA{}");
        QTest::newRow("no keyword") << QStringLiteral("A{color: palette(window);}")
                                    << QStringLiteral("A{color: palette(window);}");
        QTest::newRow("keyword is case-sensitive")
            << QStringLiteral("dorvanetheme {\nw: red\n}\nA{color: palette(w);}")
            << QStringLiteral("dorvanetheme {\nw: red\n}\nA{color: palette(w);}");
        QTest::newRow("no closing brace")
            << QStringLiteral("DorvaneTheme {\nw: red\n") << QStringLiteral("DorvaneTheme {\nw: red\n");
        QTest::newRow("later line overwrites, a lone semicolon empties the value")
            << QStringLiteral("DorvaneTheme {\nw: red\nw: blue\nv: ;\n}\nA{a: palette(w); b: palette(v);}")
            << QStringLiteral("\nA{a: blue; b: ;}");
        QTest::newRow("text before the block is dropped with it")
            << QStringLiteral("/* head */\nDorvaneTheme {\nw: red\n}\nA{a: palette(w)}")
            << QStringLiteral("\nA{a: red}");
    }

    void expandThemeBlock()
    {
        QFETCH(QString, sheet);
        QFETCH(QString, expected);
        ::expandThemeBlock(sheet);
        QCOMPARE(sheet, expected);
    }

    void builtInSheetsExpandCompletely_data()
    {
        QTest::addColumn<QString>("name");
        QTest::newRow("System") << QStringLiteral("System");
        QTest::newRow("Fusion") << QStringLiteral("Fusion");
    }

    void builtInSheetsExpandCompletely()
    {
        QFETCH(QString, name);
        QFile file(QStringLiteral(":/theme/Resources/themes/%1.css").arg(name));
        QVERIFY(file.open(QIODevice::ReadOnly | QIODevice::Text));
        QString sheet = QString::fromUtf8(file.readAll());
        ::expandThemeBlock(sheet);
        QVERIFY(!sheet.contains(QLatin1String("DorvaneTheme")));
        QVERIFY2(!sheet.contains(QLatin1String("palette(")), qPrintable(sheet));
    }

    void themeFileIsTheSwitch()
    {
        QTemporaryDir dir;
        ApplicationOptions options;
        options.initPaths(dir.path());

        qApp->setStyleSheet(QString());
        applyTheme(options, QStringLiteral("System"));
        QVERIFY(qApp->styleSheet().isEmpty());

        touch(options.themeDir + QStringLiteral("/System.css"));
        applyTheme(options, QString());
        QVERIFY(qApp->styleSheet().contains(QLatin1String("RxCounter")));
        QVERIFY(!qApp->styleSheet().contains(QLatin1String("palette(")));
        QVERIFY(QGuiApplication::overrideCursor() == nullptr);
        qApp->setStyleSheet(QString());
    }

    void lowerCaseFusionSwitchesTheStyleOnly()
    {
        QTemporaryDir dir;
        ApplicationOptions options;
        options.initPaths(dir.path());
        touch(options.themeDir + QStringLiteral("/fusion.css"));
        qApp->setStyleSheet(QString());
        applyTheme(options, QStringLiteral("fusion"));
        QCOMPARE(QApplication::style()->objectName().toLower(), QStringLiteral("fusion"));
        // The resource is looked up by the name as written and is not found.
        QVERIFY(qApp->styleSheet().isEmpty());
    }

    void localeChoosesCatalogues_data()
    {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<QString>("appFile");
        QTest::addColumn<QString>("qtFile");
        QTest::newRow("en-US") << "en-US"
                               << "dorvane-en"
                               << "qt-en";
        QTest::newRow("zh-CN") << "zh-CN"
                               << "dorvane-zh-cn"
                               << "qt-zh-cn";
        QTest::newRow("zh-TW") << "zh-TW"
                               << "dorvane-zh-tw"
                               << "qt-zh-tw";
        QTest::newRow("de-DE") << "de-DE"
                               << "dorvane-en"
                               << "qt-en";
        QTest::newRow("lower-case zh-cn") << "zh-cn"
                                          << "dorvane-en"
                                          << "qt-en";
        QTest::newRow("empty") << ""
                               << "dorvane-en"
                               << "qt-en";
    }

    void localeChoosesCatalogues()
    {
        QFETCH(QString, locale);
        QFETCH(QString, appFile);
        QFETCH(QString, qtFile);
        const auto files = localeCatalogues(locale);
        QCOMPARE(files.first, appFile);
        QCOMPARE(files.second, qtFile);
    }

    void applyLocaleLoadsTheBuiltCatalogue()
    {
        QTemporaryDir dir;
        ApplicationOptions options;
        options.initPaths(dir.path());
        QVERIFY(!applyLocale(options, QStringLiteral("en-US")));

        options.localeDir = QStringLiteral(DORVANE_DATA_DIR "/Locale");
        QVERIFY2(QFile::exists(options.localeDir + QStringLiteral("/dorvane-en.qm")),
                 "the build should have produced dorvane-en.qm");
        QVERIFY(applyLocale(options, QStringLiteral("fr-FR")));
    }
};

QTEST_MAIN(TestAppearance)
#include "tst_appearance.moc"
