// The history window on the running application: what it keeps of the sent
// texts, its file across restarts, hostile files, and sending again.
#include "apptestsupport.h"

#include "model/historylist.h"
#include "shell/applicationoptions.h"
#include "shell/mainwindow.h"
#include "windows/common/editorheaderview.h"
#include "windows/common/scrollworkspace.h"
#include "windows/history/historyitemeditor.h"
#include "windows/history/historywindow.h"

#include <dorvane/wdxblankwidget.h>

#include <QAction>
#include <QClipboard>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>

#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>

namespace {

HistoryWindow *historyWindow()
{
    return dvApp->mainWindow()->historyWindow();
}

QStringList rowContents(HistoryWindow *window)
{
    QStringList contents;
    for (int i = 0; i < window->rowCount(); ++i)
        contents << window->row(i)->contentEdit()->toPlainText();
    return contents;
}

QString numberOf(HistoryItemEditor *row)
{
    return row->findChild<QLabel *>(QStringLiteral("NumberLabel"))->text();
}

QByteArray historyDocument(int entries, const QByteArray &textMode = "Hex")
{
    QByteArray text = "fileFormat: dorvane history file\nfileVersion: \"1.0\"\ninstructList:\n";
    for (int i = 0; i < entries; ++i)
        text += "  - fireTime: 2026-01-01 10:00:00.000\n    content: \"" + QByteArray::number(i)
                + "\"\n    textMode: " + textMode + "\n";
    return text;
}

// Shuts the services down and starts them again on the same directory, as
// quitting and starting the workbench does.
void restartApplication()
{
    const QString dir = dvApp->options()->appDir;
    dvApp->shutDown();
    dvApp->startUp(dir);
}

} // namespace

class TestHistoryWindow : public QObject
{
    Q_OBJECT

private slots:
    void init() { historyWindow()->clear(); }

    // Only the newest record is compared with a new text.
    void repeatedTexts_data()
    {
        QTest::addColumn<QStringList>("sent");
        QTest::addColumn<QStringList>("kept");
        QTest::newRow("same text twice") << QStringList{"aa", "aa"} << QStringList{"aa"};
        QTest::newRow("A, B, A") << QStringList{"A", "B", "A"} << QStringList{"A", "B", "A"};
        QTest::newRow("same text in the other mode is still the same text")
            << QStringList{"31", "31"} << QStringList{"31"};
        QTest::newRow("case matters") << QStringList{"ab", "AB"} << QStringList{"AB", "ab"};
    }
    void repeatedTexts()
    {
        QFETCH(QStringList, sent);
        QFETCH(QStringList, kept);
        HistoryWindow *window = historyWindow();
        QString firstTime;
        for (const QString &text : sent) {
            window->record(text, 0);
            if (firstTime.isEmpty())
                firstTime = window->row(0)->timeLabel()->text();
            QTest::qWait(3);
        }
        QCOMPARE(rowContents(window), kept);
        QCOMPARE(window->historyList()->count(), kept.size());
        if (kept.size() == 1) {
            // The one record took the later fire time, and its row shows it.
            const QString later = window->historyList()->at(0)->fireTime;
            QVERIFY(later > firstTime);
            QCOMPARE(window->row(0)->timeLabel()->text(), later);
        }
    }

    void fiftyFirstTextDropsTheOldestRecordAndRow()
    {
        HistoryWindow *window = historyWindow();
        QSignalSpy removed(window->historyList(), &HistoryList::tailItemsRemoved);
        for (int i = 1; i <= 51; ++i)
            window->record(QString::number(i), 0);
        QCOMPARE(removed.count(), 1);
        QCOMPARE(window->historyList()->count(), 50);
        QCOMPARE(window->rowCount(), 50);
        QCOMPARE(window->row(0)->contentEdit()->toPlainText(), QStringLiteral("51"));
        QCOMPARE(window->row(49)->contentEdit()->toPlainText(), QStringLiteral("2"));
        for (int i = 0; i < 50; ++i)
            QCOMPARE(window->row(i)->record(), window->historyList()->at(i));
        QCOMPARE(numberOf(window->row(0)), QStringLiteral(" 1"));
        QCOMPARE(numberOf(window->row(49)), QStringLiteral("50"));
    }

    void deletionModeAndClear()
    {
        HistoryWindow *window = historyWindow();
        for (const char *text : {"01", "02", "03"})
            window->record(QString::fromLatin1(text), 0);
        auto deleteButton = [window](int row) {
            return window->row(row)->findChild<QPushButton *>(QStringLiteral("DeleteButton"));
        };
        QVERIFY(!deleteButton(0)->isVisibleTo(window->row(0)));
        window->deletionAction()->trigger();
        QVERIFY(deleteButton(0)->isVisibleTo(window->row(0)));
        window->record(QStringLiteral("04"), 0);
        QVERIFY2(deleteButton(0)->isVisibleTo(window->row(0)), "a new row follows the mode");

        QTest::mouseClick(deleteButton(1), Qt::LeftButton);
        QCOMPARE(rowContents(window), (QStringList{"04", "02", "01"}));
        QCOMPARE(window->historyList()->count(), 3);
        QCOMPARE(numberOf(window->row(2)), QStringLiteral("3"));
        window->deletionAction()->trigger();

        QTest::mouseClick(window->row(1)->findChild<QPushButton *>(QStringLiteral("CopyButton")),
                          Qt::LeftButton);
        QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("02"));

        QVERIFY(window->header()->isVisible());
        window->clearAction()->trigger();
        QCOMPARE(window->rowCount(), 0);
        QVERIFY(window->historyList()->isEmpty());
        QVERIFY(!window->header()->isVisible());
        QVERIFY(window->workspace()->content()->drawBackground());
    }

    void historySurvivesRestart()
    {
        historyWindow()->record(QStringLiteral("aa bb"), 0);
        const QString text = QString::fromUtf8("hello \"world\" \xe4\xbd\xa0");
        historyWindow()->record(text, 1);
        const QString newest = historyWindow()->historyList()->at(0)->fireTime;
        restartApplication();
        HistoryWindow *window = historyWindow();
        QCOMPARE(rowContents(window), (QStringList{text, "aa bb"}));
        QCOMPARE(window->row(0)->textModeLabel()->text(), QStringLiteral("Text"));
        QCOMPARE(window->row(1)->textModeLabel()->text(), QStringLiteral("Hex"));
        QCOMPARE(window->row(0)->timeLabel()->text(), newest);
        QVERIFY(!window->workspace()->content()->drawBackground());
    }

    // A write that fails part-way at exit (a file size limit, which holds
    // for root as well) leaves the history file as it was.
    void failedSaveAtExitKeepsThePreviousFile()
    {
        historyWindow()->record(QStringLiteral("01 02 03"), 0);
        restartApplication();
        const QString path = dvApp->options()->historySettingsFile;
        const QByteArray before = readTestFile(path);
        QVERIFY(before.contains("01 02 03"));
        historyWindow()->record(QString(4096, QLatin1Char('f')), 0);

        struct sigaction ignore = {};
        ignore.sa_handler = SIG_IGN;
        struct sigaction previousAction = {};
        QCOMPARE(::sigaction(SIGXFSZ, &ignore, &previousAction), 0);
        rlimit previousLimit = {};
        QCOMPARE(::getrlimit(RLIMIT_FSIZE, &previousLimit), 0);
        rlimit tiny = previousLimit;
        tiny.rlim_cur = 256;
        QCOMPARE(::setrlimit(RLIMIT_FSIZE, &tiny), 0);
        const QString dir = dvApp->options()->appDir;
        dvApp->shutDown();
        ::setrlimit(RLIMIT_FSIZE, &previousLimit);
        ::sigaction(SIGXFSZ, &previousAction, nullptr);
        const QByteArray after = readTestFile(path);
        dvApp->startUp(dir);
        QCOMPARE(after, before);
        QCOMPARE(rowContents(historyWindow()), QStringList{"01 02 03"});
    }

    // What start-up makes of a history file: a clean load or an empty
    // history, never a crash or a hang.
    void loadingFiles_data()
    {
        QTest::addColumn<QByteArray>("document");
        QTest::addColumn<int>("records");
        QTest::addColumn<int>("firstMode");
        QTest::addColumn<QString>("firstContent");
        QTest::newRow("more than fifty entries load fifty") << historyDocument(60) << 50 << 0 << "0";
        QTest::newRow("a hundred thousand entries load fifty") << historyDocument(100000) << 50 << 0 << "0";
        QTest::newRow("Text mode") << historyDocument(1, "Text") << 1 << 1 << "0";
        QTest::newRow("unknown mode loads as hex") << historyDocument(1, "Binary") << 1 << 0 << "0";
        QTest::newRow("lower-case mode loads as hex") << historyDocument(1, "text") << 1 << 0 << "0";
        QTest::newRow("empty list") << QByteArray("fileFormat: dorvane history file\nfileVersion: 1.0\n"
                                                  "instructList: []\n")
                                    << 0 << 0 << "";
        QTest::newRow("no version") << QByteArray("fileFormat: dorvane history file\ninstructList: []\n") << 0
                                    << 0 << "";
        QTest::newRow("entry without keys")
            << QByteArray("fileFormat: dorvane history file\nfileVersion: 1.0\n"
                          "instructList:\n  - {}\n")
            << 1 << 0 << "";
    }
    void loadingFiles()
    {
        QFETCH(QByteArray, document);
        QFETCH(int, records);
        QFETCH(int, firstMode);
        QFETCH(QString, firstContent);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("history.settings"));
        QVERIFY(writeTestFile(path, document));
        HistoryList list;
        list.load(path);
        QCOMPARE(list.count(), records);
        if (records > 0) {
            QCOMPARE(list.at(0)->textMode, firstMode);
            QCOMPARE(list.at(0)->content, firstContent);
        }
    }

    void hostileFiles_data()
    {
        QTest::addColumn<QString>("source"); // a file, or "<directory>" or "<fifo>"
        QTest::addColumn<int>("records");
        const QDir dir(QStringLiteral(DORVANE_HOSTILE_DIR "/history"));
        const QMap<QString, int> expected{
            {"deep-nesting.settings", 0},      {"garbage.settings", 0},          {"list-is-map.settings", 0},
            {"long-content.settings", 1},      {"root-is-sequence.settings", 0}, {"truncated.settings", 0},
            {"wrong-entry-kinds.settings", 2}, {"wrong-format.settings", 0},
        };
        const QStringList files = dir.entryList(QDir::Files, QDir::Name);
        QCOMPARE(files, expected.keys());
        for (const QString &file : files)
            QTest::newRow(qPrintable(file)) << dir.filePath(file) << expected.value(file);
        QTest::newRow("a directory") << QStringLiteral("<directory>") << 0;
        QTest::newRow("a FIFO") << QStringLiteral("<fifo>") << 0;
    }
    void hostileFiles()
    {
        QFETCH(QString, source);
        QFETCH(int, records);
        // A new history window reads the history file as start-up does.
        const QString path = dvApp->options()->historySettingsFile;
        auto removeHistory = [path] {
            QFile::remove(path);
            QDir(path).removeRecursively();
        };
        removeHistory();
        if (source == QLatin1String("<directory>"))
            QVERIFY(QDir().mkpath(path + QStringLiteral("/inside")));
        else if (source == QLatin1String("<fifo>"))
            QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
        else
            QVERIFY(QFile::copy(source, path));
        QElapsedTimer clock;
        clock.start();
        {
            HistoryWindow window(applicationServices());
            QVERIFY2(clock.elapsed() < 60000, "loading a hostile file must not hang");
            QCOMPARE(window.rowCount(), records);
        }
        removeHistory();
    }

    // A row sends its text as the transmit window would, converting it once.
    void sendAgainFromARow()
    {
        PseudoTerminal pty;
        if (!pty.isOpen())
            DORVANE_PEER_MISSING("no pseudo-terminal available (openpty failed)");
        HistoryWindow *window = historyWindow();
        window->record(QStringLiteral("aa bb // comment\nc"), 0);
        auto *send = window->row(0)->findChild<QPushButton *>(QStringLiteral("SendButton"));

        {
            MessageBoxCatcher boxes;
            QTest::mouseClick(send, Qt::LeftButton);
            QCOMPARE(boxes.count(), 1);
            QCOMPARE(boxes.texts().first(),
                     QStringLiteral("There is no active channel, no protocol can be sent!"));
            QCOMPARE(window->row(0)->buildCount(), 0);
        }

        QVERIFY(openApplicationPty(pty));
        QTest::mouseClick(send, Qt::LeftButton);
        QTest::mouseClick(send, Qt::LeftButton);
        QCOMPARE(readMaster(pty.master(), 6), QByteArray("\xaa\xbb\x0c\xaa\xbb\x0c", 6));
        QCOMPARE(window->row(0)->buildCount(), 1);
        dvApp->channelProxy()->close();
    }
};

DORVANE_APP_TEST_MAIN(TestHistoryWindow)
#include "tst_historywindow.moc"
