// Every kind of document the workbench writes, saved where it cannot be
// written: onto a full disk (a file size limit on the process) and into a
// read-only directory. Each save reports the failure and leaves the old file
// as it was, byte for byte. And the hostile dialogue settings and protocol
// files, read the way start-up and Open read them.
#include "apptestsupport.h"

#include "model/echosettings.h"
#include "model/historylist.h"
#include "model/txprotocolset.h"
#include "shell/applicationoptions.h"
#include "shell/mainwindow.h"
#include "windows/instructs/instructsetwindow.h"
#include "windows/protocoleditor/txprotocoleditor.h"
#include "windows/protocolsets/txprotocolsetwindow.h"

#include <dorvane/Core.h>

#include <QDir>

#include <csignal>
#include <functional>
#include <sys/resource.h>
#include <sys/stat.h>

namespace {

// Sanitizer builds run several times slower; their time bounds only catch a
// load that hangs.
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
constexpr int kSlowdown = 5;
#else
constexpr int kSlowdown = 1;
#endif

// One document kind: where it lives and how the application saves it. save
// returns what the saving code reported; a warning box counts as a report.
struct DocumentKind
{
    std::function<QString()> path;
    std::function<bool()> save;
};

// The save made while the process may not write files beyond a few bytes.
class FullDisk
{
public:
    FullDisk()
    {
        struct sigaction ignore = {};
        ignore.sa_handler = SIG_IGN;
        ::sigaction(SIGXFSZ, &ignore, &m_previousAction);
        ::getrlimit(RLIMIT_FSIZE, &m_previousLimit);
        rlimit tiny = m_previousLimit;
        tiny.rlim_cur = 32;
        m_active = ::setrlimit(RLIMIT_FSIZE, &tiny) == 0;
    }
    ~FullDisk()
    {
        ::setrlimit(RLIMIT_FSIZE, &m_previousLimit);
        ::sigaction(SIGXFSZ, &m_previousAction, nullptr);
    }
    bool isActive() const { return m_active; }

private:
    struct sigaction m_previousAction = {};
    rlimit m_previousLimit = {};
    bool m_active = false;
};

QByteArray contents(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The hostile files of a kind, with a directory, a FIFO and a file of many
// entries made here.
QStringList hostileFiles(const QString &kind, const QString &scratch, const QByteArray &header,
                         const QByteArray &entry, int entries = 100000)
{
    QStringList files;
    const QDir dir(QStringLiteral(DORVANE_HOSTILE_DIR "/") + kind);
    for (const QString &name : dir.entryList(QDir::Files, QDir::Name))
        files << dir.absoluteFilePath(name);
    const QString base = scratch + QLatin1Char('/') + kind;
    QDir().mkpath(base + QStringLiteral("/a-directory"));
    files << base + QStringLiteral("/a-directory");
    const QByteArray fifo = QFile::encodeName(base + QStringLiteral("/a-fifo"));
    if (::mkfifo(fifo.constData(), 0600) == 0)
        files << QFile::decodeName(fifo);
    QFile many(base + QStringLiteral("/many-entries"));
    if (many.open(QIODevice::WriteOnly)) {
        many.write(header);
        for (int i = 0; i < entries; ++i)
            many.write(entry);
        files << many.fileName();
    }
    return files;
}

MainWindow *mainWindow()
{
    return dvApp->mainWindow();
}

} // namespace

class TestDocumentFaults : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    QString m_documentDir;

    DocumentKind kind(const QString &name)
    {
        const QString dir = m_documentDir;
        if (name == QLatin1String("settings")) {
            // The settings live in the application's own Data directory.
            return {[] { return dvApp->options()->appSettingsFile; },
                    [] { return dvApp->options()->saveOptions(); }};
        }
        if (name == QLatin1String("dialogue settings")) {
            return {[dir] { return dir + QStringLiteral("/dialogue.settings"); },
                    [dir] {
                        EchoSettings settings;
                        settings.breakRepeat = 40;
                        return writeEchoSettings(dir + QStringLiteral("/dialogue.settings"), settings);
                    }};
        }
        if (name == QLatin1String("history")) {
            return {[dir] { return dir + QStringLiteral("/history.settings"); },
                    [dir] {
                        HistoryList list;
                        list.add(QStringLiteral("2026-12-08 10:00:00.000"),
                                 QStringLiteral("01 03 00 00 00 02"), 0);
                        return list.save(dir + QStringLiteral("/history.settings"));
                    }};
        }
        if (name == QLatin1String("instruct set")) {
            return {[dir] { return dir + QStringLiteral("/set.dvits"); },
                    [dir] {
                        InstructSetWindow *window = mainWindow()->instructSetWindow();
                        window->add(QStringLiteral("01 03 00 00 00 02 c4 0b"), 0);
                        MessageBoxCatcher boxes;
                        return window->save(dir + QStringLiteral("/set.dvits")) && boxes.count() == 0;
                    }};
        }
        if (name == QLatin1String("protocol")) {
            return {[dir] { return dir + QStringLiteral("/request.dvptc"); },
                    [dir] {
                        TxProtocolEditor *editor = mainWindow()->protocolEditor();
                        const QString path = dir + QStringLiteral("/request.dvptc");
                        if (editor->documentPath() != path) {
                            // The first save names the file through the dialog.
                            editor->newDocument();
                            answerNextFileDialog(path);
                        }
                        editor->addFieldAtEnd();
                        MessageBoxCatcher boxes;
                        return editor->saveDocument() && boxes.count() == 0;
                    }};
        }
        // The protocol set.
        return {[dir] { return dir + QStringLiteral("/set.dvpts"); },
                [dir] {
                    TxProtocolSetWindow *window = mainWindow()->protocolSetWindow();
                    const QString path = dir + QStringLiteral("/set.dvpts");
                    if (window->documentPath() != path) {
                        TxProtocol protocol;
                        protocol.AddField(-1)->SetTypeId(10);
                        Context *context = dvApp->context();
                        const QString item = QDir(QDir(dir).filePath(QStringLiteral("..")))
                                                 .absoluteFilePath(QStringLiteral("item.dvptc"));
                        if (!protocol.Save(item.toStdString(), context))
                            return false;
                        TxProtocolSet set(context);
                        if (!set.insertItem(item, -1) || !set.Save(path) || !window->open(path))
                            return false;
                    }
                    MessageBoxCatcher boxes;
                    window->onSaveSolution();
                    return boxes.count() == 0 && !window->isModified();
                }};
    }

    void addKinds()
    {
        QTest::addColumn<QString>("name");
        for (const char *name :
             {"settings", "dialogue settings", "history", "instruct set", "protocol", "protocol set"})
            QTest::newRow(name) << QString::fromLatin1(name);
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        m_documentDir = m_dir.filePath(QStringLiteral("documents"));
        QVERIFY(QDir().mkpath(m_documentDir));
    }

    void fullDiskKeepsTheOldFile_data() { addKinds(); }
    void fullDiskKeepsTheOldFile()
    {
        QFETCH(QString, name);
        const DocumentKind document = kind(name);
        QVERIFY2(document.save(), "the first save fails already");
        const QByteArray before = contents(document.path());
        QVERIFY(before.size() > 32);

        bool saved = true;
        {
            FullDisk disk;
            if (!disk.isActive())
                QSKIP("the file size limit cannot be set on this machine");
            saved = document.save();
        }
        QVERIFY2(!saved, "a save that could not be written was reported as done");
        QCOMPARE(contents(document.path()), before);
        QVERIFY(document.save());
    }

    void readOnlyDirectoryKeepsTheOldFile_data() { addKinds(); }
    void readOnlyDirectoryKeepsTheOldFile()
    {
        QFETCH(QString, name);
        const DocumentKind document = kind(name);
        QVERIFY2(document.save(), "the first save fails already");
        const QByteArray before = contents(document.path());

        bool saved = true;
        {
            ReadOnlyDirectory readOnly(QFileInfo(document.path()).absolutePath());
            if (!readOnly.isReadOnly())
                QSKIP("this machine lets the tests write into any directory");
            saved = document.save();
        }
        QVERIFY2(!saved, "a save into a read-only directory was reported as done");
        QCOMPARE(contents(document.path()), before);
        QVERIFY(document.save());
    }

    void hostileDialogueSettingsAreReadOrRefusedQuickly()
    {
        const QStringList files
            = hostileFiles(QStringLiteral("dialoguesettings"), m_dir.path(),
                           "fileFormat: dorvane dialogue settings file\nfileVersion: \"1.0\"\nechoBreaks:\n",
                           "  repeatCount: 3\n");
        QVERIFY(files.size() > 8);
        for (const QString &path : files) {
            QElapsedTimer clock;
            clock.start();
            EchoSettings settings;
            const bool read = readEchoSettings(path, settings);
            QVERIFY2(clock.elapsed() < 5000 * kSlowdown, qPrintable(path));
            // Whatever was taken is within the options' ranges.
            QVERIFY2(settings.breakRepeat >= 1 && settings.breakRepeat <= 80, qPrintable(path));
            QVERIFY2(settings.breakInterval >= 1 && settings.breakInterval <= 256, qPrintable(path));
            QVERIFY2(echoBreakSymbols().contains(settings.breakSymbol), qPrintable(path));
            if (path.contains(QLatin1String("wrong-format")) || path.contains(QLatin1String("garbage"))
                || path.contains(QLatin1String("a-directory")) || path.contains(QLatin1String("a-fifo")))
                QVERIFY2(!read, qPrintable(path));
        }
    }

    void hostileProtocolsLeaveTheOpenDocument()
    {
        TxProtocolEditor *editor = mainWindow()->protocolEditor();
        TxProtocol protocol;
        protocol.AddField(-1)->SetTypeId(10);
        protocol.AddField(-1)->SetTypeId(11);
        const QString good = m_dir.filePath(QStringLiteral("good.dvptc"));
        QVERIFY(protocol.Save(good.toStdString(), dvApp->context()));
        QVERIFY(!editor->isModified());
        QVERIFY(editor->open(good));

        const QStringList files = hostileFiles(
            QStringLiteral("protocol"), m_dir.path(),
            "fileFormat: dorvane protocol file\nfileVersion: \"1.0\"\nprotocol: {fields: 100000, values: "
            "1}\nfields:\n",
            "  - {name: a, tid: 10, endian: 1, enable: true, meta: [{generator: Fixed, params: \"1\"}]}\n",
            // Twenty times what the editor opens; a debug sanitizer build
            // parses a hundred thousand for minutes.
            20000);
        QVERIFY(files.size() > 8);
        for (const QString &path : files) {
            MessageBoxCatcher boxes;
            QElapsedTimer clock;
            clock.start();
            const bool opened = editor->open(path);
            QVERIFY2(clock.elapsed() < 15000 * kSlowdown, qPrintable(path));
            const bool refusable = !path.contains(QLatin1String("columns-do-not-match"));
            QVERIFY2(!opened || !refusable, qPrintable(path));
            if (opened) {
                // A well-formed document loads whole: a column per value set.
                QCOMPARE(editor->columns().size(), editor->protocol()->GetValueCountPerField());
                QVERIFY(editor->open(good));
                continue;
            }
            QCOMPARE(editor->documentPath(), good);
            QCOMPARE(editor->protocol()->GetFieldCount(), 2);
        }
    }
};

DORVANE_APP_TEST_MAIN(TestDocumentFaults)
#include "tst_documentfaults.moc"
