// Link health against real peers: dorvane-devsim answering after a delay and
// sending telemetry with frames left out, and a TCP peer of the test's own
// sending frames with bad checksums.
#include "apptestsupport.h"

#include "../devsim/devsimprocess.h"
#include "model/checksum.h"
#include "services/linkhealth.h"
#include "services/rxframewatcher.h"
#include "shell/mainwindow.h"
#include "windows/linkhealth/linkhealthwindow.h"
#include "windows/rxframes/rxframewindow.h"
#include "windows/rxframes/rxplot.h"
#include "windows/rxframes/rxrolesdialog.h"
#include "windows/rxframes/rxseries.h"

#include <dorvane/Core.h>
#include <dorvane/WdxWidgets.h>

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDockWidget>
#include <QPushButton>
#include <QTcpServer>
#include <QTcpSocket>
#include <QToolBar>

#include <cstring>

namespace {

Application *app()
{
    return Application::instance();
}

bool openClient(quint16 port)
{
    NetChannelParams params(TcpClient);
    params.remoteAddress = QStringLiteral("127.0.0.1");
    params.remotePort = port;
    app()->channelProxy()->open(params);
    return QTest::qWaitFor([] { return app()->channelProxy()->isOpen(); }, 5000);
}

// The first decoded value of a frameArrived payload.
FrameValue firstValue(const QByteArray &payload)
{
    FrameValue value;
    std::memcpy(&value, payload.constData() + sizeof(qint32), sizeof value);
    return value;
}

const CrcParameters kModbus{"CRC_16_MODBUS", 16, 0x8005, 0xFFFF, true, true, 0};

// AA 55 | counter u16 | value u8 | CRC-16/MODBUS of counter and value | 0D
QByteArray checkedFrame(quint16 counter, bool corrupt)
{
    QByteArray f;
    f.append('\xAA').append('\x55').append(char(counter & 0xFF)).append(char(counter >> 8)).append('\x07');
    quint16 crc = quint16(ComputeCrc(kModbus, reinterpret_cast<const unsigned char *>(f.constData()) + 2, 3));
    if (corrupt)
        crc ^= 0x8000;
    f.append(char(crc & 0xFF)).append(char(crc >> 8)).append('\x0D');
    return f;
}

} // namespace

class TestLinkHealth : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void catalogueModelsGiveTheirCheckValues();
    void replyDelayReadsAsTheRoundTrip();
    void telemetryFramesLeftOutAreCountedExactly();
    void framesWithABadChecksumAreCountedAndNotPlotted();

private:
    DevSimProcess *startDevSim(const QStringList &arguments);
    std::unique_ptr<DevSimProcess> m_devsim;
};

void TestLinkHealth::init()
{
    app()->linkHealth()->setReplyWindowMs(1000);
    app()->linkHealth()->reset();
}

void TestLinkHealth::cleanup()
{
    if (RxFrameWindow *rx = app()->mainWindow()->rxFrameWindow())
        rx->stopParsing();
    app()->frameWatcher()->stopTimingCycle();
    app()->channelProxy()->close();
    if (m_devsim)
        m_devsim->terminate();
    m_devsim.reset();
}

DevSimProcess *TestLinkHealth::startDevSim(const QStringList &arguments)
{
    m_devsim = std::make_unique<DevSimProcess>();
    if (!m_devsim->start(
            arguments + QStringList{QStringLiteral("--tcp"), QStringLiteral("0"), QStringLiteral("--quiet")},
            1))
        return nullptr;
    return m_devsim.get();
}

void TestLinkHealth::catalogueModelsGiveTheirCheckValues()
{
    const quint32 checks[] = {0xF4, 0xBB3D, 0x31C3, 0x4B37, 0xCBF43926, 0x765E7680};
    for (int model = 0; model < 6; ++model) {
        const CrcParameters p = crcModelParameters(model);
        QCOMPARE(QString::fromStdString(p.name), crcModelNames().at(model));
        QCOMPARE(CrcCheckValue(p), checks[model]);
        QCOMPARE(crcModelOf(p), model);
    }
}

void TestLinkHealth::replyDelayReadsAsTheRoundTrip()
{
    MainWindow *main = app()->mainWindow();
    QDockWidget *dock = main->linkHealthDock();
    QVERIFY(dock);
    QCOMPARE(dock->objectName(), QStringLiteral("LinkHealthPanel"));
    QCOMPARE(dock->windowTitle(), QStringLiteral("Link Health"));
    // The action follows "Timing", which follows "RX Frames", on the tool bar.
    const QList<QAction *> actions = main->toolBar()->actions();
    int rx = -1;
    int health = -1;
    for (int i = 0; i < actions.size(); ++i) {
        if (actions.at(i)->text() == QLatin1String("RX Frames"))
            rx = i;
        if (actions.at(i)->text() == QLatin1String("Link Health"))
            health = i;
    }
    QVERIFY(rx >= 0);
    QCOMPARE(health, rx + 2);

    DevSimProcess *devsim
        = startDevSim({QStringLiteral("--mode"), QStringLiteral("reply"), QStringLiteral("--request"),
                       QStringLiteral("01 03"), QStringLiteral("--response"), QStringLiteral("01 83 02"),
                       QStringLiteral("--delay"), QStringLiteral("20")});
    QVERIFY2(devsim, "dorvane-devsim did not start");
    QVERIFY(openClient(devsim->tcpPort()));
    LinkHealth *health_ = app()->linkHealth();
    health_->reset();
    // One request at a time, each answered before the next.
    const int requests = 15;
    for (int i = 0; i < requests; ++i) {
        app()->channelProxy()->write("\x01\x03", 2);
        QVERIFY(QTest::qWaitFor([health_, i] { return health_->figures().replies == i + 1; }, 2000));
        QTest::qWait(10);
    }
    const LinkHealthFigures f = health_->figures();
    QCOMPARE(f.requests, qint64(requests));
    QCOMPARE(f.missing, qint64(0));
    QVERIFY2(qAbs(f.rtt.p50 - 20000) <= 2000, qPrintable(QString::number(f.rtt.p50)));
    QVERIFY(f.rtt.min >= 20000);
    QVERIFY(!f.byFrames);
    // A pseudo-terminal or a socket keeps no UART counters.
    QVERIFY(!f.uartAvailable);

    // A request the device does not know gets no reply: missing once its window closes.
    health_->setReplyWindowMs(100);
    app()->channelProxy()->write("\x09", 1);
    QVERIFY(QTest::qWaitFor([health_] { return health_->figures().missing == 1; }, 2000));

    // The dock shows the same figures.
    main->toggleDock(dock);
    QVERIFY(dock->isVisible());
    LinkHealthWindow *window = main->linkHealthWindow();
    window->refreshNow();
    QCOMPARE(window->figureText("LinkHealthRttP50"),
             QStringLiteral("%1 ms").arg(f.rtt.p50 / 1000.0, 0, 'f', 3));
    QCOMPARE(window->figureText("LinkHealthMissing"), QStringLiteral("1"));
    QCOMPARE(window->figureText("LinkHealthUartState"), QStringLiteral("not available"));
    main->toggleDock(dock);
}

void TestLinkHealth::telemetryFramesLeftOutAreCountedExactly()
{
    RxFrameWatcher *watcher = app()->frameWatcher();
    auto protocol = std::make_unique<RxProtocol>();
    QVERIFY(protocol->Load(DORVANE_SAMPLES_DIR "/devsim-telemetry.dvprx", app()->context()));
    RxFrameRoles roles;
    roles.sequenceField = 2; // the u16 counter
    protocol->SetRoles(roles);
    QVERIFY(watcher->setProtocol(std::move(protocol)));
    watcher->setPacketMode(false);
    QVector<quint16> counters;
    QObject receiver;
    connect(watcher, &RxFrameWatcher::frameArrived, &receiver,
            [&counters](const QByteArray &payload) { counters << firstValue(payload).value.GetUShort(); });
    watcher->startTimingCycle();

    DevSimProcess *devsim = startDevSim(
        {QStringLiteral("--mode"), QStringLiteral("telemetry"), QStringLiteral("--rate"),
         QStringLiteral("1000"), QStringLiteral("--drop"), QStringLiteral("10"), QStringLiteral("--garbage"),
         QStringLiteral("10"), QStringLiteral("--seed"), QStringLiteral("7")});
    QVERIFY2(devsim, "dorvane-devsim did not start");
    QVERIFY(openClient(devsim->tcpPort()));
    QVERIFY(QTest::qWaitFor([&counters] { return counters.size() >= 800; }, 10000));
    app()->channelProxy()->close();
    QVERIFY(QTest::qWaitFor(
        [&] {
            return watcher->roleCounts().checkedFrames == counters.size() && watcher->pendingBytes() < 15;
        },
        3000));

    // The counter tells what was left out between the frames that came.
    qint64 expectedGaps = 0;
    qint64 repeats = 0;
    for (int i = 1; i < counters.size(); ++i) {
        const quint16 step = quint16(counters.at(i) - counters.at(i - 1));
        if (step == 0)
            ++repeats;
        else
            expectedGaps += step - 1;
    }
    const RxFrameWatcher::RoleCounts c = watcher->roleCounts();
    QVERIFY(c.sequence);
    QVERIFY(!c.checksum);
    QCOMPARE(c.sequenceRepeats, repeats);
    QCOMPARE(c.sequenceGaps, expectedGaps);
    // About a tenth was dropped: the figure is not trivially zero.
    QVERIFY2(expectedGaps > counters.size() / 20, qPrintable(QString::number(expectedGaps)));
    watcher->stopTimingCycle();
}

void TestLinkHealth::framesWithABadChecksumAreCountedAndNotPlotted()
{
    // The protocol as a file without roles; the roles are chosen in the window.
    RxProtocol plain;
    const char *names[] = {"head 1", "head 2", "counter", "value", "crc", "tail"};
    const int types[] = {10, 10, 11, 10, 11, 10};
    const char *params[] = {"0xAA", "0x55", "1", "1", "1", "0x0D"};
    const RxValueMetaInfo::FieldFlag flags[]
        = {RxValueMetaInfo::HeadFlag, RxValueMetaInfo::HeadFlag, RxValueMetaInfo::NoFlag,
           RxValueMetaInfo::NoFlag,   RxValueMetaInfo::NoFlag,   RxValueMetaInfo::TailFlag};
    for (int i = 0; i < 6; ++i) {
        RxField *field = plain.AddField(-1);
        field->SetName(names[i]);
        field->SetTypeId(types[i]);
        field->GetValueMetaInfo()->SetParamList(params[i]);
        field->GetValueMetaInfo()->SetFlag(flags[i]);
        field->GetValueMetaInfo()->SetGraphId(i == 3 ? 0 : -1);
    }
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("checked.dvprx"));
    QVERIFY(plain.Save(path.toStdString(), app()->context()));

    RxFrameWindow *window = app()->mainWindow()->rxFrameWindow();
    QVERIFY(window->open(path));
    {
        // The dialog behind "Roles…", driven by its combo boxes.
        RxRolesDialog dialog(*window->protocol(), window);
        QPushButton *ok = dialog.findChild<QDialogButtonBox *>()->button(QDialogButtonBox::Ok);
        dialog.checksumBox()->setChecked(true);
        dialog.modelCombo()->setCurrentIndex(Crc16Modbus);
        // A 16-bit checksum does not fit the 8-bit value field.
        dialog.checksumFieldCombo()->setCurrentIndex(3);
        QVERIFY(!ok->isEnabled());
        dialog.checksumFieldCombo()->setCurrentIndex(4);
        dialog.firstCoveredCombo()->setCurrentIndex(2);
        dialog.sequenceCombo()->setCurrentIndex(3); // "None" first, then the fields
        QVERIFY(ok->isEnabled());
        window->protocol()->SetRoles(dialog.roles());
    }
    const RxFrameRoles &roles = window->protocol()->GetRoles();
    QVERIFY(roles.hasChecksum);
    QCOMPARE(roles.checksum.field, 4);
    QCOMPARE(roles.checksum.firstCoveredField, 2);
    QCOMPARE(roles.sequenceField, 2);
    QCOMPARE(QString::fromStdString(roles.checksum.model.name), QStringLiteral("CRC_16_MODBUS"));

    // A peer of our own sends 50 frames; every seventh checksum is wrong.
    QTcpServer server;
    QVERIFY(server.listen(QHostAddress::LocalHost));
    QByteArray stream;
    int corrupted = 0;
    for (int i = 0; i < 50; ++i) {
        const bool bad = i % 7 == 0;
        corrupted += bad;
        stream += checkedFrame(quint16(100 + i), bad);
    }
    QVERIFY(window->startParsing());
    app()->linkHealth()->reset();
    QVERIFY(openClient(server.serverPort()));
    QTRY_VERIFY_WITH_TIMEOUT(server.hasPendingConnections(), 3000);
    QTcpSocket *peer = server.nextPendingConnection();
    peer->write(stream);
    QVERIFY(peer->waitForBytesWritten(3000));
    QVERIFY(QTest::qWaitFor([window] { return window->decodedFrames() >= 42; }, 5000));
    QTest::qWait(100);
    QCOMPARE(window->decodedFrames(), qint64(50 - corrupted));
    const RxFrameWatcher::RoleCounts c = app()->frameWatcher()->roleCounts();
    QCOMPARE(c.checkedFrames, qint64(50));
    QCOMPARE(c.checksumFailures, qint64(corrupted));
    // Frames 7 to 42 that were bad are a gap of one count each; 0 and 49
    // have no good frame before or after them.
    QCOMPARE(c.sequenceGaps, qint64(corrupted - 2));
    QCOMPARE(c.sequenceRepeats, qint64(0));
    window->refreshNow();
    QVERIFY2(window->countText().contains(QStringLiteral("checksum failures 8")),
             qPrintable(window->countText()));
    QCOMPARE(app()->linkHealth()->figures().checksumFailures, qint64(8));
    // Nothing of a bad frame reached the plot.
    QCOMPARE(window->plot()->lineCount(), 1);
    QCOMPARE(window->plot()->series(0).size(), 50 - corrupted);
}

DORVANE_APP_TEST_MAIN(TestLinkHealth)

#include "tst_linkhealth.moc"
