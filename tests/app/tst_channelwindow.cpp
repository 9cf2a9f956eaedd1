// The channel window on real parts: a pseudo-terminal opened as a serial
// port, TCP and UDP sockets on 127.0.0.1, and the settings file on disk.
#include "apptestsupport.h"

#include "shell/applicationoptions.h"
#include "shell/mainwindow.h"
#include "windows/channel/channelwindow.h"
#include "windows/channel/netchannelwidget.h"
#include "windows/channel/serialchannelwidget.h"

#include <dorvane/Channel.h>

#include <QCheckBox>
#include <QComboBox>
#include <QDockWidget>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QStackedWidget>
#include <QStyleOptionSpinBox>
#include <QTcpServer>
#include <QTcpSocket>

#include <poll.h>

#include <yaml-cpp/yaml.h>

namespace {

ChannelProxy *proxy()
{
    return Application::instance()->channelProxy();
}

ChannelWindow *channelWindow()
{
    return Application::instance()->mainWindow()->channelWindow();
}

YAML::Node settingsOnDisk()
{
    return YAML::LoadFile(Application::instance()->options()->appSettingsFile.toLocal8Bit().toStdString());
}

QPushButton *serialButton()
{
    return child<QPushButton>(channelWindow()->serialWidget(), "btnSerialPortControl");
}

QPushButton *netButton()
{
    return child<QPushButton>(channelWindow()->netWidget(), "btnNetChannelControl");
}

void selectData(QComboBox *box, int value)
{
    box->setCurrentIndex(box->findData(value));
}

// Reads what the port wrote, from the master side of the terminal.
void setSerialPort(const QString &path)
{
    child<QComboBox>(channelWindow()->serialWidget(), "cbxPortName")->setEditText(path);
}

void selectProtocol(NetChannelWidget *widget, int type)
{
    selectData(child<QComboBox>(widget, "cbxProtocolType"), type);
}

// The window's network page set to a protocol that binds the given local
// address, on a port the system chooses.
NetChannelWidget *selectLocalEnd(int type, const QString &address)
{
    NetChannelWidget *net = channelWindow()->netWidget();
    selectProtocol(net, type);
    child<QComboBox>(net, "cbxLocalAddress")->setCurrentText(address);
    child<QSpinBox>(net, "spinLocalPort")->setValue(0);
    return net;
}

// A port of 127.0.0.1 on which nothing listens (for as long as a test
// needs it); 0 when none could be found.
quint16 portNobodyListensOn()
{
    QTcpServer probe;
    return probe.listen(QHostAddress::LocalHost, 0) ? probe.serverPort() : 0;
}

} // namespace

class TestChannelWindow : public QObject
{
    Q_OBJECT

private slots:
    void init() { QVERIFY(QTest::qWaitForWindowExposed(Application::instance()->mainWindow())); }

    void cleanup()
    {
        proxy()->close();
        if (channelWindow()->serialWidget()->hasOpenLook())
            channelWindow()->serialWidget()->setOpenLook(false);
        if (channelWindow()->netWidget()->hasOpenLook())
            channelWindow()->netWidget()->showClosed();
        channelWindow()->pages()->setCurrentIndex(0);
    }

    void serialPortOpensAPseudoTerminalAndIsRemembered()
    {
        PseudoTerminal pty;
        if (!pty.isOpen())
            DORVANE_PEER_MISSING("no pseudo-terminal available (openpty failed)");
        SerialChannelWidget *serial = channelWindow()->serialWidget();
        setSerialPort(pty.slavePath());
        auto *baud = child<QComboBox>(serial, "cbxBaudRate");
        baud->setCurrentIndex(baud->findText(QStringLiteral("115200")));
        selectData(child<QComboBox>(serial, "cbxStopBits"), 2);
        selectData(child<QComboBox>(serial, "cbxParity"), 2);

        QTest::mouseClick(serialButton(), Qt::LeftButton);
        QVERIFY(proxy()->isOpen());
        QCOMPARE(serialButton()->text(), QStringLiteral("Close"));
        QVERIFY(!child<QComboBox>(serial, "cbxPortName")->isEnabled());
        QVERIFY(!child<QRadioButton>(serial, "rbHiresTimer")->isEnabled());
        QCOMPARE(channelWindow()->statusText(), proxy()->channelProfile());
        QVERIFY2(channelWindow()->statusText().endsWith(QLatin1String(",115200,8,2,E")),
                 qPrintable(channelWindow()->statusText()));

        // Really open: what is written comes out at the other end.
        proxy()->write("ping", 4);
        QCOMPARE(readMaster(pty.master(), 4), QByteArray("ping"));

        const YAML::Node section = settingsOnDisk()["serialPort"];
        QVERIFY(section.IsMap());
        QCOMPARE(QString::fromStdString(section["name"].as<std::string>()), pty.slavePath());
        QCOMPARE(section["baudrate"].as<int>(), 115200);
        QCOMPARE(section["dataBits"].as<int>(), 8);
        QCOMPARE(section["stopBits"].as<int>(), 2);
        QCOMPARE(section["parity"].as<int>(), 2);

        QTest::mouseClick(serialButton(), Qt::LeftButton);
        QVERIFY(!proxy()->isOpen());
        QCOMPARE(serialButton()->text(), QStringLiteral("Open"));
        QVERIFY(child<QComboBox>(serial, "cbxPortName")->isEnabled());
        QCOMPARE(channelWindow()->statusText(), QStringLiteral("No Active Channel"));
    }

    void serialOpenWhileTheNetworkPageShowsIsMirroredThere()
    {
        PseudoTerminal pty;
        if (!pty.isOpen())
            DORVANE_PEER_MISSING("no pseudo-terminal available (openpty failed)");
        ChannelWindow *window = channelWindow();
        NetChannelWidget *net = window->netWidget();
        QTest::mouseClick(child<QPushButton>(window, "NetChannelButton"), Qt::LeftButton);
        QCOMPARE(window->pages()->currentIndex(), 1);
        auto *remote = child<QComboBox>(net, "cbxRemoteAddress");
        remote->setCurrentText(QStringLiteral("192.0.2.7"));

        setSerialPort(pty.slavePath());
        serialButton()->click();
        QVERIFY(proxy()->isOpen());

        QVERIFY(net->hasOpenLook());
        QCOMPARE(netButton()->text(), QStringLiteral("Close"));
        QVERIFY(!child<QComboBox>(net, "cbxProtocolType")->isEnabled());
        QVERIFY(!remote->isEnabled());
        const YAML::Node network = settingsOnDisk()["network"];
        QVERIFY(network.IsMap());
        QCOMPARE(network["remoteAddress"].as<std::string>(), std::string("192.0.2.7"));

        // Closing from the network page closes the port and both pages say so.
        QTest::mouseClick(netButton(), Qt::LeftButton);
        QVERIFY(!proxy()->isOpen());
        QCOMPARE(serialButton()->text(), QStringLiteral("Open"));
        QVERIFY(child<QComboBox>(window->serialWidget(), "cbxPortName")->isEnabled());
        QCOMPARE(window->statusText(), QStringLiteral("No Active Channel"));
    }

    void customBaudRateIsTypedStoredAndRestored()
    {
        PseudoTerminal pty;
        if (!pty.isOpen())
            DORVANE_PEER_MISSING("no pseudo-terminal available (openpty failed)");
        SerialChannelWidget *serial = channelWindow()->serialWidget();
        auto *baud = child<QComboBox>(serial, "cbxBaudRate");
        baud->setCurrentIndex(baud->count() - 1);
        QVERIFY(baud->isEditable());
        QVERIFY(baud->currentText().isEmpty());
        baud->setEditText(QStringLiteral("250000"));
        setSerialPort(pty.slavePath());

        QTest::mouseClick(serialButton(), Qt::LeftButton);
        QVERIFY2(proxy()->isOpen(), "a pseudo-terminal takes any rate");
        QCOMPARE(settingsOnDisk()["serialPort"]["baudrate"].as<int>(), 250000);
        QTest::mouseClick(serialButton(), Qt::LeftButton);

        SerialChannelWidget restored(*dvApp->options(), *dvApp->channelProxy());
        auto *restoredBaud = child<QComboBox>(&restored, "cbxBaudRate");
        QCOMPARE(restoredBaud->currentText(), QStringLiteral("250000"));
        QVERIFY(restoredBaud->isEditable());
        QCOMPARE(restored.baudRate(), 250000);

        // A standard rate makes the box a plain list again.
        baud->setCurrentIndex(baud->findText(QStringLiteral("9600")));
        QVERIFY(!baud->isEditable());
    }

    void badBaudRateIsRefusedWithAMessage_data()
    {
        QTest::addColumn<QString>("rate");
        QTest::newRow("zero") << QStringLiteral("0");
        QTest::newRow("text") << QStringLiteral("fast");
        QTest::newRow("negative") << QStringLiteral("-9600");
        QTest::newRow("empty") << QString();
    }

    void badBaudRateIsRefusedWithAMessage()
    {
        QFETCH(QString, rate);
        PseudoTerminal pty;
        if (!pty.isOpen())
            DORVANE_PEER_MISSING("no pseudo-terminal available (openpty failed)");
        SerialChannelWidget *serial = channelWindow()->serialWidget();
        auto *baud = child<QComboBox>(serial, "cbxBaudRate");
        baud->setCurrentIndex(baud->count() - 1);
        baud->setEditText(rate);
        setSerialPort(pty.slavePath());

        MessageBoxCatcher boxes;
        QTest::mouseClick(serialButton(), Qt::LeftButton);
        QVERIFY(boxes.waitForBox());
        QVERIFY2(boxes.texts().at(0).contains(QLatin1String("baud rate")), qPrintable(boxes.texts().at(0)));
        QCOMPARE(boxes.titles().at(0), QStringLiteral("Dorvane"));
        QVERIFY(!proxy()->isOpen());
        QCOMPARE(serialButton()->text(), QStringLiteral("Open"));
        baud->setCurrentIndex(baud->findText(QStringLiteral("9600")));
    }

    void failedSerialOpenTellsWhy()
    {
        const QString missing = QStringLiteral("/dev/dorvane-no-such-port");
        setSerialPort(missing);
        MessageBoxCatcher boxes;
        QTest::mouseClick(serialButton(), Qt::LeftButton);
        QVERIFY(boxes.waitForBox());
        const QString text = boxes.texts().at(0);
        QVERIFY2(text.contains(missing), qPrintable(text));
        // The system's reason follows the port name.
        QVERIFY2(text.section(missing, 1).size() > 3, qPrintable(text));
        QCOMPARE(boxes.icons().at(0), QMessageBox::Warning);
        QVERIFY(!proxy()->isOpen());
        QCOMPARE(serialButton()->text(), QStringLiteral("Open"));
        QVERIFY(!channelWindow()->statusError().isEmpty());
        QCOMPARE(channelWindow()->statusText(), QStringLiteral("No Active Channel"));
    }

    void portThatGoesAwayClosesBothPages()
    {
        PseudoTerminal pty;
        if (!pty.isOpen())
            DORVANE_PEER_MISSING("no pseudo-terminal available (openpty failed)");
        setSerialPort(pty.slavePath());
        QTest::mouseClick(serialButton(), Qt::LeftButton);
        QVERIFY(proxy()->isOpen());

        MessageBoxCatcher boxes;
        pty.hangUp();
        QTRY_COMPARE_WITH_TIMEOUT(serialButton()->text(), QStringLiteral("Open"), 5000);
        QVERIFY(!channelWindow()->netWidget()->hasOpenLook());
        QCOMPARE(channelWindow()->statusText(), QStringLiteral("No Active Channel"));
        QVERIFY(child<QComboBox>(channelWindow()->serialWidget(), "cbxPortName")->isEnabled());
        // The user is told which device went away, the system's words after.
        QVERIFY(boxes.waitForBox());
        const QString said = pty.slavePath() + QStringLiteral(" was disconnected (");
        QVERIFY2(boxes.texts().at(0).startsWith(said), qPrintable(boxes.texts().at(0)));
        QVERIFY2(channelWindow()->statusError().startsWith(said), qPrintable(channelWindow()->statusError()));
    }

    void devicesArriveAndLeaveTheList()
    {
        SerialChannelWidget serial(*dvApp->options(), *dvApp->channelProxy());
        auto *port = child<QComboBox>(&serial, "cbxPortName");
        const int before = port->count();
        serial.addDevice(QStringLiteral("/dev/ttyDORVANE7"));
        QCOMPARE(port->count(), before + 1);
        QCOMPARE(port->currentText(), QStringLiteral("ttyDORVANE7"));
        // An unknown port has no identifiers to show.
        QCOMPARE(child<QLabel>(&serial, "lblVenderId")->text(), QStringLiteral("N/A"));
        QCOMPARE(child<QLabel>(&serial, "lblProductId")->text(), QStringLiteral("N/A"));
        serial.addDevice(QStringLiteral("ttyDORVANE7"));
        QCOMPARE(port->count(), before + 1);
        serial.removeDevice(QStringLiteral("/dev/ttyDORVANE7"));
        QCOMPARE(port->count(), before);
        QCOMPARE(port->findText(QStringLiteral("ttyDORVANE7")), -1);
    }

    void storedTcpServerStartsWithServerControls()
    {
        YAML::Node section(YAML::NodeType::Map);
        section["channelType"] = 2;
        section["localAddress"] = "127.0.0.1";
        section["localPort"] = 6123;
        section["remoteAddress"] = "192.0.2.1";
        section["remotePort"] = 7000;
        section["multicastAddress"] = "";
        Application::instance()->options()->setSection("network", section, false);

        NetChannelWidget net(*dvApp->options(), *dvApp->channelProxy());
        QCOMPARE(child<QComboBox>(&net, "cbxProtocolType")->currentText(), QStringLiteral("TCP Server"));
        QCOMPARE(child<QComboBox>(&net, "cbxLocalAddress")->currentText(), QStringLiteral("127.0.0.1"));
        QCOMPARE(child<QSpinBox>(&net, "spinLocalPort")->value(), 6123);
        QCOMPARE(child<QSpinBox>(&net, "spinRemotePort")->value(), 7000);
        for (const char *shown : {"lblLocalHost", "cbxLocalAddress", "spinLocalPort", "listWidget"})
            QVERIFY2(!child<QWidget>(&net, shown)->isHidden(), shown);
        for (const char *hidden : {"chkAutoLocalHost", "lblRemoteHost", "cbxRemoteAddress", "spinRemotePort",
                                   "lblMulticastAddress", "txtMulticastAddress"})
            QVERIFY2(child<QWidget>(&net, hidden)->isHidden(), hidden);
        QCOMPARE(child<QPushButton>(&net, "btnNetChannelControl")->text(), QStringLiteral("Open"));
    }

    void tcpClientLeavesTheLocalEndToTheSystem()
    {
        NetChannelWidget net(*dvApp->options(), *dvApp->channelProxy());
        child<QComboBox>(&net, "cbxLocalAddress")->setCurrentText(QStringLiteral("127.0.0.1"));
        child<QSpinBox>(&net, "spinLocalPort")->setValue(4000);
        child<QComboBox>(&net, "cbxRemoteAddress")->setCurrentText(QStringLiteral("localhost"));
        child<QSpinBox>(&net, "spinRemotePort")->setValue(4001);
        selectProtocol(&net, NetChannelWidget::TcpClientProtocol);

        QVERIFY(child<QWidget>(&net, "cbxLocalAddress")->isHidden());
        QVERIFY(child<QWidget>(&net, "spinLocalPort")->isHidden());
        QVERIFY(!child<QWidget>(&net, "cbxRemoteAddress")->isHidden());
        QCOMPARE(child<QPushButton>(&net, "btnNetChannelControl")->text(), QStringLiteral("Connect"));
        const NetChannelParams params = net.buildNetParams();
        QCOMPARE(params.type, TcpClient);
        QVERIFY(params.localAddress.isEmpty());
        QCOMPARE(params.localPort, quint16(0));
        QCOMPARE(params.remoteAddress, QStringLiteral("localhost"));
        QCOMPARE(params.remotePort, quint16(4001));

        selectProtocol(&net, NetChannelWidget::UdpProtocol);
        QCOMPARE(net.buildNetParams().type, Udp);
        QCOMPARE(net.buildNetParams().localAddress, QStringLiteral("127.0.0.1"));
        QVERIFY(!child<QWidget>(&net, "txtMulticastAddress")->isHidden());
        QCOMPARE(child<QPushButton>(&net, "btnNetChannelControl")->text(), QStringLiteral("Open"));
    }

    void tcpClientWhosePeerDropsReturnsToConnect()
    {
        QTcpServer peer;
        QVERIFY(peer.listen(QHostAddress::LocalHost, 0));
        ChannelWindow *window = channelWindow();
        NetChannelWidget *net = window->netWidget();
        window->pages()->setCurrentIndex(1);
        selectProtocol(net, NetChannelWidget::TcpClientProtocol);
        child<QComboBox>(net, "cbxRemoteAddress")->setCurrentText(QStringLiteral("127.0.0.1"));
        child<QSpinBox>(net, "spinRemotePort")->setValue(peer.serverPort());

        MessageBoxCatcher boxes;
        QTest::mouseClick(netButton(), Qt::LeftButton);
        QTRY_COMPARE_WITH_TIMEOUT(netButton()->text(), QStringLiteral("Disconnect"), 5000);
        QVERIFY(proxy()->isOpen());
        QVERIFY(!child<QComboBox>(net, "cbxProtocolType")->isEnabled());
        QVERIFY2(window->statusText().startsWith(QLatin1String("Tcp Client")),
                 qPrintable(window->statusText()));
        QCOMPARE(serialButton()->text(), QStringLiteral("Close"));
        QCOMPARE(settingsOnDisk()["network"]["channelType"].as<int>(), 1);

        QTRY_VERIFY(peer.hasPendingConnections());
        QTcpSocket *accepted = peer.nextPendingConnection();
        accepted->close();

        QTRY_COMPARE_WITH_TIMEOUT(netButton()->text(), QStringLiteral("Connect"), 5000);
        QVERIFY(!proxy()->isOpen());
        QVERIFY(child<QComboBox>(net, "cbxProtocolType")->isEnabled());
        QVERIFY(child<QComboBox>(net, "cbxRemoteAddress")->isEnabled());
        QCOMPARE(serialButton()->text(), QStringLiteral("Open"));
        // A peer closing its end is normal: said in the status, no warning.
        QCOMPARE(
            window->statusText(),
            QStringLiteral("No Active Channel (127.0.0.1:%1 closed the connection)").arg(peer.serverPort()));
        QTest::qWait(100);
        QCOMPARE(boxes.count(), 0);
        QVERIFY(window->statusError().isEmpty());
        selectProtocol(net, NetChannelWidget::UdpProtocol);
        QCOMPARE(window->statusText(), QStringLiteral("No Active Channel"));
    }

    void staleChannelErrorGoesWithAnyChange_data()
    {
        QTest::addColumn<QString>("change");
        QTest::newRow("remote port") << QStringLiteral("port");
        QTest::newRow("remote address") << QStringLiteral("address");
        QTest::newRow("protocol type") << QStringLiteral("type");
        QTest::newRow("timing") << QStringLiteral("timing");
        QTest::newRow("serial page") << QStringLiteral("page");
    }

    void staleChannelErrorGoesWithAnyChange()
    {
        QFETCH(QString, change);
        const quint16 closedPort = portNobodyListensOn();
        QVERIFY(closedPort != 0);
        ChannelWindow *window = channelWindow();
        NetChannelWidget *net = window->netWidget();
        QTest::mouseClick(child<QPushButton>(window, "NetChannelButton"), Qt::LeftButton);
        selectProtocol(net, NetChannelWidget::TcpClientProtocol);
        child<QComboBox>(net, "cbxRemoteAddress")->setCurrentText(QStringLiteral("127.0.0.1"));
        auto *port = child<QSpinBox>(net, "spinRemotePort");
        port->setValue(closedPort);
        {
            MessageBoxCatcher boxes;
            QTest::mouseClick(netButton(), Qt::LeftButton);
            QVERIFY(boxes.waitForBox());
        }
        QTRY_VERIFY(!window->statusError().isEmpty());

        if (change == QLatin1String("port")) {
            port->setFocus();
            QTest::keyClick(port, Qt::Key_Up);
        } else if (change == QLatin1String("address")) {
            QTest::keyClicks(child<QComboBox>(net, "cbxRemoteAddress")->lineEdit(), QStringLiteral("1"));
        } else if (change == QLatin1String("type")) {
            selectProtocol(net, NetChannelWidget::TcpServerProtocol);
        } else if (change == QLatin1String("timing")) {
            QTest::mouseClick(child<QRadioButton>(net, "rbCoarseTimer"), Qt::LeftButton);
            child<QRadioButton>(net, "rbPreciseTimer")->setChecked(true);
        } else {
            QTest::mouseClick(child<QPushButton>(window, "ComChannelButton"), Qt::LeftButton);
        }
        QVERIFY2(window->statusError().isEmpty(), qPrintable(window->statusError()));
        QCOMPARE(window->statusText(), QStringLiteral("No Active Channel"));
    }

    void portNumbersFitTheDefaultDock()
    {
        ChannelWindow *window = channelWindow();
        NetChannelWidget *net = window->netWidget();
        QTest::mouseClick(child<QPushButton>(window, "NetChannelButton"), Qt::LeftButton);
        selectProtocol(net, NetChannelWidget::UdpProtocol);
        QTest::qWait(50);
        for (const char *name : {"spinLocalPort", "spinRemotePort"}) {
            auto *box = child<QSpinBox>(net, name);
            box->setValue(40123);
            QApplication::processEvents();
            // The field inside the frame, beside the arrows, holds all five
            // digits; the box ends inside the dock.
            QStyleOptionSpinBox option;
            option.initFrom(box);
            option.subControls = QStyle::SC_SpinBoxEditField | QStyle::SC_SpinBoxUp | QStyle::SC_SpinBoxDown;
            option.frame = true;
            const QRect field
                = box->style()->subControlRect(QStyle::CC_SpinBox, &option, QStyle::SC_SpinBoxEditField, box);
            const int digits = box->fontMetrics().horizontalAdvance(QStringLiteral("40123"));
            QVERIFY2(field.width() >= digits + 2,
                     qPrintable(QStringLiteral("%1: field %2 px for %3 px of digits, box %4 px")
                                    .arg(QLatin1String(name))
                                    .arg(field.width())
                                    .arg(digits)
                                    .arg(box->width())));
            const QPoint end = box->mapTo(window, QPoint(box->width(), 0));
            QVERIFY2(end.x() <= window->width(), qPrintable(QString::number(end.x())));
        }
        // The default window's dock, not one a test widened.
        auto *dock
            = Application::instance()->mainWindow()->findChild<QDockWidget *>(QStringLiteral("ChannelDock"));
        QVERIFY(dock);
        QVERIFY2(dock->width() <= 240, qPrintable(QString::number(dock->width())));
    }

    void refusedConnectionIsShownToTheUser()
    {
        const quint16 closedPort = portNobodyListensOn();
        QVERIFY(closedPort != 0);
        ChannelWindow *window = channelWindow();
        NetChannelWidget *net = window->netWidget();
        selectProtocol(net, NetChannelWidget::TcpClientProtocol);
        child<QComboBox>(net, "cbxRemoteAddress")->setCurrentText(QStringLiteral("127.0.0.1"));
        child<QSpinBox>(net, "spinRemotePort")->setValue(closedPort);

        MessageBoxCatcher boxes;
        QTest::mouseClick(netButton(), Qt::LeftButton);
        QVERIFY(boxes.waitForBox());
        QVERIFY(!boxes.texts().at(0).isEmpty());
        QCOMPARE(boxes.titles().at(0), QStringLiteral("Dorvane"));
        QTRY_COMPARE(window->statusError(), boxes.texts().at(0));
        QCOMPARE(window->statusText(), QStringLiteral("No Active Channel"));
        QCOMPARE(netButton()->text(), QStringLiteral("Connect"));
        QVERIFY(!proxy()->isOpen());
    }

    void tcpServerListsItsClients()
    {
        NetChannelWidget *net
            = selectLocalEnd(NetChannelWidget::TcpServerProtocol, QStringLiteral("127.0.0.1"));
        QTest::mouseClick(netButton(), Qt::LeftButton);
        QVERIFY(proxy()->isOpen());
        QCOMPARE(netButton()->text(), QStringLiteral("Close"));
        // The system chose the port; the profile names it.
        const quint16 port = quint16(proxy()->channelProfile().section(QLatin1Char(':'), -1).toUInt());
        QVERIFY2(port != 0, qPrintable(proxy()->channelProfile()));
        // The port field and the status show the port the system chose.
        auto *portField = child<QSpinBox>(net, "spinLocalPort");
        QCOMPARE(portField->value(), int(port));
        QCOMPARE(channelWindow()->statusText(), QStringLiteral("Tcp Server 127.0.0.1:%1").arg(port));

        auto *list = child<QListWidget>(net, "listWidget");
        QTcpSocket client;
        client.connectToHost(QHostAddress::LocalHost, port);
        QVERIFY(client.waitForConnected(3000));
        const QString peerText = QStringLiteral("127.0.0.1:%1").arg(client.localPort());
        QTRY_COMPARE(list->count(), 1);
        QCOMPARE(list->item(0)->text(), peerText);

        client.disconnectFromHost();
        QTRY_COMPARE(list->count(), 0);

        QTest::mouseClick(netButton(), Qt::LeftButton);
        QVERIFY(!proxy()->isOpen());
        QCOMPARE(netButton()->text(), QStringLiteral("Open"));
        // Closed, the choice is the system's again.
        QCOMPARE(portField->value(), 0);
    }

    void failedUdpOpenTellsWhy()
    {
        // An address that is not one of this host's cannot be bound.
        selectLocalEnd(NetChannelWidget::UdpProtocol, QStringLiteral("192.0.2.250"));
        MessageBoxCatcher boxes;
        QTest::mouseClick(netButton(), Qt::LeftButton);
        QVERIFY(boxes.waitForBox());
        QVERIFY2(boxes.texts().at(0).contains(QLatin1String("192.0.2.250")), qPrintable(boxes.texts().at(0)));
        QVERIFY(!proxy()->isOpen());
        QCOMPARE(netButton()->text(), QStringLiteral("Open"));
    }
};

DORVANE_APP_TEST_MAIN(TestChannelWindow)

#include "tst_channelwindow.moc"
