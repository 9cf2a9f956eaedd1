// Helpers that meet the platform: device-change decoding, file-type keys, file watching, icon fonts
// and action reactions.
#include <dorvane/WdxWidgets.h>

#include <QAction>
#include <QFile>
#include <QFontDatabase>
#include <QLabel>
#include <QSettings>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QToolButton>
#include <QtEndian>
#include <QtTest>

namespace {

const quint32 deviceChange = 0x0219;
const quintptr arrival = 0x8000;
const quintptr removeComplete = 0x8004;

// A device broadcast record as the shell hands it over: size, device type, reserved, then the name
// in UTF-16 little endian.
QByteArray broadcast(quint32 deviceType, const QString &name, bool terminated = true, int declaredSize = -1)
{
    QByteArray body;
    for (QChar c : name) {
        char unit[2];
        qToLittleEndian<quint16>(c.unicode(), unit);
        body.append(unit, 2);
    }
    if (terminated)
        body.append(2, '\0');
    QByteArray record(12, '\0');
    const quint32 size = declaredSize < 0 ? quint32(12 + body.size()) : quint32(declaredSize);
    qToLittleEndian<quint32>(size, record.data());
    qToLittleEndian<quint32>(deviceType, record.data() + 4);
    return record + body;
}

bool writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(bytes) == bytes.size();
}

QString anyFontFile()
{
    const QStringList candidates{QStringLiteral("/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf"),
                                 QStringLiteral("/usr/share/fonts/truetype/dejavu/DejaVuSansMono.ttf")};
    for (const QString &path : candidates) {
        if (QFile::exists(path))
            return path;
    }
    return QString();
}

class CountingReaction : public WdxReaction
{
public:
    using WdxReaction::WdxReaction;
    int triggered = 0;

protected:
    void onTriggered() override { ++triggered; }
};

} // namespace

class TestWdxPlatform : public QObject
{
    Q_OBJECT

private slots:
    void portArrivalAndRemovalAreDecoded();
    void otherDevicesAndMessagesAreIgnored();
    void malformedRecordsAreBounded();
    void watcherNeverConsumesEvents();
    void fileTypeKeys();
    void fileTypeKeysWithoutCommandOrWithPercentSigns();
    void fileTypeKeysReportAFailedWrite();
    void fileWatcherKeepsTheAbsolutePath();
    void iconFontLoadsAndRemovesTheApplicationFont();
    void reactionRunsOnTrigger();
};

void TestWdxPlatform::portArrivalAndRemovalAreDecoded()
{
    WdxDeviceWatcher::Change change
        = WdxDeviceWatcher::decodeDeviceChange(deviceChange, arrival, broadcast(3, QStringLiteral("COM3")));
    QCOMPARE(change.kind, WdxDeviceWatcher::Change::Arrival);
    QCOMPARE(change.name, QStringLiteral("COM3"));

    change = WdxDeviceWatcher::decodeDeviceChange(deviceChange, removeComplete,
                                                  broadcast(3, QStringLiteral("COM12")));
    QCOMPARE(change.kind, WdxDeviceWatcher::Change::Removal);
    QCOMPARE(change.name, QStringLiteral("COM12"));

    const QString wide = QString::fromUtf8("\xC3\x9C"
                                           "bertr\xC3\xA4ger");
    change = WdxDeviceWatcher::decodeDeviceChange(deviceChange, arrival, broadcast(3, wide));
    QCOMPARE(change.name, wide);
}

void TestWdxPlatform::otherDevicesAndMessagesAreIgnored()
{
    const QByteArray port = broadcast(3, QStringLiteral("COM3"));
    using Change = WdxDeviceWatcher::Change;
    // Volumes (2), device interfaces (5) and handles (6) are not ports.
    for (quint32 type : {0u, 2u, 5u, 6u}) {
        QCOMPARE(
            WdxDeviceWatcher::decodeDeviceChange(deviceChange, arrival, broadcast(type, QStringLiteral("E:")))
                .kind,
            Change::None);
    }
    QCOMPARE(WdxDeviceWatcher::decodeDeviceChange(0x0218, arrival, port).kind, Change::None);
    QCOMPARE(WdxDeviceWatcher::decodeDeviceChange(deviceChange, 0x8001, port).kind,
             Change::None); // query remove
    QCOMPARE(WdxDeviceWatcher::decodeDeviceChange(deviceChange, 0x0007, port).kind,
             Change::None); // nodes changed
}

void TestWdxPlatform::malformedRecordsAreBounded()
{
    using Change = WdxDeviceWatcher::Change;
    const auto decode = [](const QByteArray &record) {
        return WdxDeviceWatcher::decodeDeviceChange(deviceChange, arrival, record);
    };
    QCOMPARE(decode(QByteArray()).kind, Change::None);
    QCOMPARE(decode(broadcast(3, QString(), false).left(11)).kind, Change::None);
    QCOMPARE(decode(broadcast(3, QString())).kind, Change::None); // no name
    QCOMPARE(decode(broadcast(3, QStringLiteral("COM3"), true, 8)).kind, Change::None);

    // The name stops at the declared size, or at the end of the bytes without a terminator.
    Change change = decode(broadcast(3, QStringLiteral("COM3"), true, 16));
    QCOMPARE(change.name, QStringLiteral("CO"));
    change = decode(broadcast(3, QStringLiteral("COM7"), false, 4000));
    QCOMPARE(change.name, QStringLiteral("COM7"));
    change = decode(broadcast(3, QStringLiteral("COM7"), false) + QByteArray(1, 'X')); // odd trailing byte
    QCOMPARE(change.name, QStringLiteral("COM7"));
}

void TestWdxPlatform::watcherNeverConsumesEvents()
{
    WdxDeviceWatcher watcher;
    QVERIFY(watcher.backend() == WdxDeviceWatcher::Backend::Udev
            || watcher.backend() == WdxDeviceWatcher::Backend::Polling);
    long result = 0;
    QByteArray junk(64, '\x7f');
    QVERIFY(!watcher.nativeEventFilter("xcb_generic_event_t", junk.data(), &result));
    QVERIFY(!watcher.nativeEventFilter("windows_generic_MSG", junk.data(), &result));
}

void TestWdxPlatform::fileTypeKeys()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("classes.ini"));
    const QString exe = QStringLiteral("C:/Program Files/Dorvane/Dorvane.exe");
    {
        QSettings classes(path, QSettings::IniFormat);
        QVERIFY(WdxWin::writeFileTypeKeys(classes, QStringLiteral(".dvptc"),
                                          QStringLiteral("Dorvane.Protocol"),
                                          QStringLiteral("Dorvane protocol file"), exe, 2, exe));
    }
    QSettings stored(path, QSettings::IniFormat);
    QCOMPARE(stored.value(QStringLiteral(".dvptc/Default")).toString(), QStringLiteral("Dorvane.Protocol"));
    QCOMPARE(stored.value(QStringLiteral("Dorvane.Protocol/Default")).toString(),
             QStringLiteral("Dorvane protocol file"));
    QCOMPARE(stored.value(QStringLiteral("Dorvane.Protocol/DefaultIcon/Default")).toString(),
             QStringLiteral("\"C:/Program Files/Dorvane/Dorvane.exe\",2"));
    QCOMPARE(stored.value(QStringLiteral("Dorvane.Protocol/Shell/Open/Command/Default")).toString(),
             QStringLiteral("\"C:/Program Files/Dorvane/Dorvane.exe\" \"%1\""));

#ifndef Q_OS_WIN
    // Elsewhere the installed desktop files register the types; nothing is written.
    QVERIFY(!WdxWin::registerFileType(QStringLiteral(".dvptc"), QStringLiteral("Dorvane.Protocol"),
                                      QStringLiteral("Dorvane protocol file"), exe, 0, exe));
#endif
}

void TestWdxPlatform::fileTypeKeysWithoutCommandOrWithPercentSigns()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("classes.ini"));
    {
        QSettings classes(path, QSettings::IniFormat);
        QVERIFY(WdxWin::writeFileTypeKeys(classes, QStringLiteral(".dvits"), QStringLiteral("Dorvane.Set"),
                                          QStringLiteral("Set"), QStringLiteral("D:/50%2off/icon%1.ico"), 0,
                                          QString()));
        QVERIFY(WdxWin::writeFileTypeKeys(classes, QStringLiteral(".dvpts"), QStringLiteral("Dorvane.Ps"),
                                          QStringLiteral("Ps"), QStringLiteral("x.ico"), 1,
                                          QStringLiteral("D:/tools%2/run.exe")));
    }
    QSettings stored(path, QSettings::IniFormat);
    stored.beginGroup(QStringLiteral("Dorvane.Set"));
    QVERIFY(!stored.childGroups().contains(QStringLiteral("Shell")));
    QCOMPARE(stored.value(QStringLiteral("DefaultIcon/Default")).toString(),
             QStringLiteral("\"D:/50%2off/icon%1.ico\",0"));
    stored.endGroup();
    QCOMPARE(stored.value(QStringLiteral("Dorvane.Ps/Shell/Open/Command/Default")).toString(),
             QStringLiteral("\"D:/tools%2/run.exe\" \"%1\""));
}

void TestWdxPlatform::fileTypeKeysReportAFailedWrite()
{
    QTemporaryDir dir;
    const QString blocker = dir.filePath(QStringLiteral("plain-file"));
    QVERIFY(writeFile(blocker, "x"));
    QSettings classes(blocker + QStringLiteral("/sub/classes.ini"), QSettings::IniFormat);
    QVERIFY(!WdxWin::writeFileTypeKeys(classes, QStringLiteral(".dvptc"), QStringLiteral("P"),
                                       QStringLiteral("D"), QStringLiteral("i"), 0, QStringLiteral("c")));
}

void TestWdxPlatform::fileWatcherKeepsTheAbsolutePath()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("Mixed.Case.Settings"));
    QVERIFY(writeFile(path, "one"));

    WdxFileWatcher watcher;
    QVERIFY(!watcher.addFile(dir.filePath(QStringLiteral("missing"))));
    QVERIFY(!watcher.addFile(QString()));
    const QString previous = QDir::currentPath();
    QDir::setCurrent(dir.path());
    const bool added = watcher.addFile(QStringLiteral("Mixed.Case.Settings"));
    QDir::setCurrent(previous);
    QVERIFY(added);
    QCOMPARE(watcher.files(), QStringList{WdxFileWatcher::watchedPath(path)});
#ifndef Q_OS_WIN
    QCOMPARE(watcher.files().value(0), QFileInfo(path).absoluteFilePath());
#endif

    QSignalSpy changed(&watcher, &WdxFileWatcher::fileChanged);
    QVERIFY(writeFile(path, "two, longer"));
    QTRY_VERIFY_WITH_TIMEOUT(changed.count() >= 1, 5000);
    QCOMPARE(changed.at(0).at(0).toString(), WdxFileWatcher::watchedPath(path));
    QVERIFY(watcher.removeFile(path));
    QVERIFY(watcher.files().isEmpty());
}

void TestWdxPlatform::iconFontLoadsAndRemovesTheApplicationFont()
{
    WdxIconFont missing(QStringLiteral("/nonexistent/icons.ttf"));
    QVERIFY(!missing.isLoaded());
    QCOMPARE(missing.fontId(), -1);

    const QString fontFile = anyFontFile();
    if (fontFile.isEmpty())
        QSKIP("no TrueType font file on this machine to load");
    int id = -1;
    {
        WdxIconFont icons;
        QVERIFY(icons.load(fontFile));
        id = icons.fontId();
        QVERIFY(id != -1);
        QCOMPARE(icons.family(), QFontDatabase::applicationFontFamilies(id).value(0));

        QLabel label;
        icons.setIcon(&label, 0x2713, 18);
        QCOMPARE(label.text(), QString(QChar(0x2713)));
        QCOMPARE(label.font().pointSize(), 18);
        QCOMPARE(label.font().family(), icons.family());
        QToolButton button;
        icons.setIcon(&button, 0x1F600, 12); // outside the basic plane
        QCOMPARE(button.text().size(), 2);
        QCOMPARE(button.text().toUcs4().value(0), 0x1F600u);
        QAction action(nullptr);
        icons.setIcon(&action, 0x41, 9);
        QCOMPARE(action.text(), QStringLiteral("A"));
        QCOMPARE(action.font().pointSize(), 9);

        // Loading again replaces the first font: its slot is free again, or reused.
        QVERIFY(icons.load(fontFile));
        QVERIFY(icons.fontId() == id || QFontDatabase::applicationFontFamilies(id).isEmpty());
        id = icons.fontId();
    }
    QVERIFY(QFontDatabase::applicationFontFamilies(id).isEmpty());
}

void TestWdxPlatform::reactionRunsOnTrigger()
{
    QAction action(QStringLiteral("Run"));
    CountingReaction *direct = new CountingReaction(&action);
    CountingReaction *queued = new CountingReaction(&action, Qt::QueuedConnection);
    QCOMPARE(direct->parentAction(), &action);
    action.trigger();
    QCOMPARE(direct->triggered, 1);
    QCOMPARE(queued->triggered, 0);
    QTRY_COMPARE(queued->triggered, 1);
    direct->updateEnableState();
}

QTEST_MAIN(TestWdxPlatform)
#include "tst_wdxplatform.moc"
