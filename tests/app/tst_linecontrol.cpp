// Serial line control in the channel window on real pseudo-terminals: the
// toggles, the break and the flow-control box reach the port, what a
// pseudo-terminal cannot do is said in the status bar, the choices outlive
// the window, and a device that goes away and returns under the same link
// (socat's link=) is reopened while the status bar says "Reconnecting …", as
// is a TCP client whose server goes and returns.
#include "apptestsupport.h"
#include "socatlink.h"

#include "shell/applicationoptions.h"
#include "shell/mainwindow.h"
#include "windows/channel/channelwindow.h"
#include "windows/channel/netchannelwidget.h"
#include "windows/channel/serialchannelwidget.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFileInfo>
#include <QLabel>
#include <QProcess>
#include <QPushButton>
#include <QSpinBox>
#include <QStackedWidget>
#include <QTcpServer>

#include <memory>

namespace {

ChannelProxy *proxy()
{
    return Application::instance()->channelProxy();
}

ChannelWindow *channelWindow()
{
    return Application::instance()->mainWindow()->channelWindow();
}

void choosePort(ChannelWindow *window, const QString &path)
{
    child<QComboBox>(window->serialWidget(), "cbxPortName")->setEditText(path);
}

QPushButton *openButton(ChannelWindow *window)
{
    return child<QPushButton>(window->serialWidget(), "btnSerialPortControl");
}

} // namespace

class TestLineControl : public QObject
{
    Q_OBJECT

private slots:
    void init() { QVERIFY(QTest::qWaitForWindowExposed(Application::instance()->mainWindow())); }

    void cleanup()
    {
        proxy()->close();
        SerialChannelWidget *serial = channelWindow()->serialWidget();
        if (serial->hasOpenLook())
            serial->setOpenLook(false);
        if (channelWindow()->netWidget()->hasOpenLook())
            channelWindow()->netWidget()->showClosed();
        channelWindow()->pages()->setCurrentIndex(0);
        channelWindow()->updateChannelStatus(false);
        // Every case starts from the lines raised and no flow control.
        child<QCheckBox>(serial, "chkRts")->setChecked(true);
        child<QCheckBox>(serial, "chkDtr")->setChecked(true);
        child<QCheckBox>(serial, "chkAutoReconnect")->setChecked(false);
        child<QComboBox>(serial, "cbxFlowControl")->setCurrentIndex(0);
    }

    void pseudoTerminalTakesTogglesAndSaysWhatItCannotDo()
    {
        PseudoTerminal pty;
        if (!pty.isOpen())
            DORVANE_PEER_MISSING("no pseudo-terminal available (openpty failed)");
        ChannelWindow *window = channelWindow();
        SerialChannelWidget *serial = window->serialWidget();
        MessageBoxCatcher boxes;
        auto *flow = child<QComboBox>(serial, "cbxFlowControl");
        QVERIFY(flow->isVisible());
        flow->setCurrentIndex(flow->findData(2)); // XON/XOFF
        choosePort(window, pty.slavePath());
        auto *breakButton = child<QPushButton>(serial, "btnSendBreak");
        QVERIFY(!breakButton->isEnabled());
        QTest::mouseClick(openButton(window), Qt::LeftButton);
        QVERIFY(proxy()->isOpen());
        QVERIFY(breakButton->isEnabled());

        // The flow control chosen is the terminal's.
        const termios tio = terminalSettings(pty.slavePath());
        QVERIFY((tio.c_iflag & IXON) && (tio.c_iflag & IXOFF));
        QVERIFY(!(tio.c_cflag & CRTSCTS));

        // A pseudo-terminal has no modem lines: the lamps say they are not
        // known and the status bar says why.
        QTRY_VERIFY2(window->lineNote().startsWith(QStringLiteral("Not on this port: Modem lines")),
                     qPrintable(window->lineNote()));
        QVERIFY(!child<QLabel>(serial, "lampCts")->property("lit").toBool());

        // Each toggle reaches the port, which refuses it, and the refusal
        // is told rather than swallowed.
        QTest::mouseClick(child<QCheckBox>(serial, "chkRts"), Qt::LeftButton);
        QTRY_VERIFY(!proxy()->requestToSend());
        QTRY_VERIFY2(window->lineNote().contains(QStringLiteral("RTS")), qPrintable(window->lineNote()));
        QTest::mouseClick(child<QCheckBox>(serial, "chkDtr"), Qt::LeftButton);
        QTRY_VERIFY(!proxy()->dataTerminalReady());
        QTRY_VERIFY2(window->lineNote().contains(QStringLiteral("DTR")), qPrintable(window->lineNote()));
        QTest::mouseClick(breakButton, Qt::LeftButton);
        QTRY_VERIFY2(window->lineNote().contains(QStringLiteral("Break")), qPrintable(window->lineNote()));
        QVERIFY2(window->lineNote().endsWith(QStringLiteral("Break (a pseudo-terminal has no break line)")),
                 qPrintable(window->lineNote()));
        // The error counters belong to the link figures, not here.
        QVERIFY(!window->lineNote().contains(QStringLiteral("Error counters")));

        // The port still carries bytes after all of that.
        const QByteArray sent("\x01\x02", 2);
        proxy()->write(sent.constData(), sent.size());
        QCOMPARE(readMaster(pty.master(), 2), sent);
        QCOMPARE(boxes.count(), 0);

        // Closed, nothing is said about a port that is no longer open.
        QTest::mouseClick(openButton(window), Qt::LeftButton);
        QVERIFY(!proxy()->isOpen());
        QVERIFY(window->lineNote().isEmpty());
        QVERIFY(!breakButton->isEnabled());
    }

    void lineChoicesOutliveTheWindow()
    {
        const Services services = applicationServices();
        {
            ChannelWindow first(services);
            SerialChannelWidget *serial = first.serialWidget();
            // Kept as soon as changed, without a port being opened.
            child<QCheckBox>(serial, "chkRts")->setChecked(false);
            child<QCheckBox>(serial, "chkAutoReconnect")->setChecked(true);
            child<QSpinBox>(serial, "spinBreakDuration")->setValue(400);
        }
        {
            ChannelWindow second(services);
            SerialChannelWidget *serial = second.serialWidget();
            QVERIFY(!child<QCheckBox>(serial, "chkRts")->isChecked());
            QVERIFY(child<QCheckBox>(serial, "chkDtr")->isChecked());
            QVERIFY(child<QCheckBox>(serial, "chkAutoReconnect")->isChecked());
            QCOMPARE(child<QSpinBox>(serial, "spinBreakDuration")->value(), 400);
            // The open request carries them.
            const SerialChannelParams params = serial->serialParams();
            QVERIFY(!params.requestToSend);
            QVERIFY(params.dataTerminalReady);
            QVERIFY(params.autoReconnect);
        }
        // On disk, beside the port's other keys.
        const YAML::Node stored
            = YAML::LoadFile(Application::instance()->options()->appSettingsFile.toLocal8Bit().toStdString());
        QCOMPARE(stored["serialPort"]["requestToSend"].as<bool>(), false);
        QCOMPARE(stored["serialPort"]["breakDuration"].as<int>(), 400);
    }

    void replugReopensWithinASecondSayingReconnecting()
    {
        if (!missingProgram(QStringLiteral("socat")).isEmpty())
            DORVANE_PEER_MISSING("socat is not installed (Debian package socat)");
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const QString device = dir.filePath(QStringLiteral("dv-adapter"));
        const QString peer = dir.filePath(QStringLiteral("dv-device"));
        auto first = std::make_unique<SocatLink>(device, peer);
        QVERIFY(first->start());

        ChannelWindow *window = channelWindow();
        SerialChannelWidget *serial = window->serialWidget();
        child<QCheckBox>(serial, "chkAutoReconnect")->setChecked(true);
        choosePort(window, device);
        MessageBoxCatcher boxes;
        QTest::mouseClick(openButton(window), Qt::LeftButton);
        QVERIFY(proxy()->isOpen());
        const QString profile = window->statusText();

        first.reset();
        QTRY_COMPARE_WITH_TIMEOUT(window->statusText(), QStringLiteral("Reconnecting …"), 5000);
        // Still the open look: "Close" ends the waiting.
        QCOMPARE(openButton(window)->text(), QStringLiteral("Close"));
        QVERIFY(!proxy()->isOpen());

        SocatLink second(device, peer);
        QVERIFY(second.start());
        QElapsedTimer back;
        back.start();
        QTRY_VERIFY_WITH_TIMEOUT(proxy()->isOpen(), 3000);
        QVERIFY2(back.elapsed() <= 1000, qPrintable(QString::number(back.elapsed())));
        QTRY_COMPARE(window->statusText(), profile);
        QCOMPARE(openButton(window)->text(), QStringLiteral("Close"));
        // The loss was said in the status bar, never in a box.
        QCOMPARE(boxes.count(), 0);

        // The reopened port carries bytes.
        QSignalSpy arrived(proxy(), &ChannelProxy::bytesArrived);
        QVERIFY(::write(second.peer(), "back", 4) == 4);
        QTRY_VERIFY(!arrived.isEmpty());

        // Closing while it waits for the device stops the waiting for good.
        second.stop();
        QTRY_COMPARE_WITH_TIMEOUT(window->statusText(), QStringLiteral("Reconnecting …"), 5000);
        QTest::mouseClick(openButton(window), Qt::LeftButton);
        QVERIFY(!proxy()->isReconnecting());
        QCOMPARE(openButton(window)->text(), QStringLiteral("Open"));
        QTRY_COMPARE(window->statusText(), QStringLiteral("No Active Channel"));
    }

    void tcpClientConnectsAgainWhenItsServerReturns()
    {
        QTcpServer server;
        QVERIFY(server.listen(QHostAddress::LocalHost));
        const quint16 port = server.serverPort();
        ChannelWindow *window = channelWindow();
        NetChannelWidget *net = window->netWidget();
        window->pages()->setCurrentIndex(1);
        auto *type = child<QComboBox>(net, "cbxProtocolType");
        type->setCurrentIndex(type->findData(int(NetChannelWidget::TcpClientProtocol)));
        auto *reconnect = child<QCheckBox>(net, "chkAutoReconnect");
        QVERIFY(reconnect->isVisible());
        reconnect->setChecked(true);
        child<QComboBox>(net, "cbxRemoteAddress")->setCurrentText(QStringLiteral("127.0.0.1"));
        child<QSpinBox>(net, "spinRemotePort")->setValue(port);
        auto *button = child<QPushButton>(net, "btnNetChannelControl");
        MessageBoxCatcher boxes;
        QTest::mouseClick(button, Qt::LeftButton);
        QTRY_VERIFY(proxy()->isOpen());
        QTRY_VERIFY(server.hasPendingConnections());
        delete server.nextPendingConnection();

        // The server goes: the window waits for it instead of giving up.
        server.close();
        QTRY_COMPARE_WITH_TIMEOUT(window->statusText(), QStringLiteral("Reconnecting …"), 5000);
        QCOMPARE(button->text(), QStringLiteral("Disconnect"));
        QVERIFY(server.listen(QHostAddress::LocalHost, port));
        QTRY_VERIFY_WITH_TIMEOUT(proxy()->isOpen(), 15000);
        QTRY_VERIFY(window->statusText().startsWith(QStringLiteral("Tcp Client")));
        QCOMPARE(button->text(), QStringLiteral("Disconnect"));
        QCOMPARE(boxes.count(), 0);

        QTest::mouseClick(button, Qt::LeftButton);
        QVERIFY(!proxy()->isOpen());
        QVERIFY(!proxy()->isReconnecting());
        QCOMPARE(button->text(), QStringLiteral("Connect"));
        reconnect->setChecked(false);
        window->pages()->setCurrentIndex(0);
    }
};

DORVANE_APP_TEST_MAIN(TestLineControl)
#include "tst_linecontrol.moc"
