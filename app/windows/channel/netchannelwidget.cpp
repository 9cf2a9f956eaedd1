#include "windows/channel/netchannelwidget.h"

#include "model/settingsvalues.h"
#include "windows/common/grouplabel.h"
#include "windows/common/timingbuttons.h"

#include <dorvane/Channel.h>

#include <QAbstractSocket>
#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHostAddress>
#include <QHostInfo>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QTcpServer>
#include <QUdpSocket>
#include <QVBoxLayout>

namespace {

ChannelType channelTypeOf(int protocolType)
{
    switch (protocolType) {
    case NetChannelWidget::TcpClientProtocol:
        return TcpClient;
    case NetChannelWidget::TcpServerProtocol:
        return TcpServer;
    default:
        return Udp;
    }
}

QSpinBox *portBox(const char *name, QWidget *parent)
{
    auto *box = new QSpinBox(parent);
    box->setObjectName(QLatin1String(name));
    box->setRange(0, 65535);
    // Never narrower than five digits and the arrows, in any style: the
    // address beside it gives way first.
    box->setSizePolicy(QSizePolicy::Minimum, QSizePolicy::Fixed);
    box->setToolTip(QCoreApplication::translate("NetChannelWidget", "Port"));
    return box;
}

QComboBox *addressBox(const char *name, QWidget *parent)
{
    auto *box = new QComboBox(parent);
    box->setObjectName(QLatin1String(name));
    box->setEditable(true);
    box->setInsertPolicy(QComboBox::NoInsert);
    box->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    // Takes the width the port box beside it leaves, down to a few digits
    // in the 240 px dock of the default window.
    box->setMinimumContentsLength(5);
    return box;
}

// Why a socket does not bind or listen, in the system's words: the channel
// reports only that it failed, so the same request is tried once more here.
QString openErrorText(const NetChannelParams &params)
{
    const QHostAddress address(params.localAddress);
    if (address.isNull())
        return QCoreApplication::translate("NetChannelWidget", "\"%1\" is not an address of this host")
            .arg(params.localAddress);
    if (params.type == TcpServer) {
        QTcpServer server;
        if (server.listen(address, params.localPort))
            return QString();
        return server.errorString();
    }
    QUdpSocket socket;
    if (socket.bind(address, params.localPort, QAbstractSocket::ShareAddress))
        return QString();
    return socket.errorString();
}

} // namespace

NetChannelWidget::NetChannelWidget(ApplicationOptions &options, ChannelProxy &channel, QWidget *parent)
    : ChannelPage("network", options, channel, parent)
{
    buildControls();
    fillAddressLists();
    loadNetSettings();

    connect(m_protocolType, QOverload<int>::of(&QComboBox::currentIndexChanged), this,
            [this](int index) { applyProtocolType(m_protocolType->itemData(index).toInt()); });
    connect(m_autoLocalHost, &QCheckBox::toggled, this, &NetChannelWidget::onAutoLocalHostToggled);
    connect(m_control, &QPushButton::clicked, this, &NetChannelWidget::toggleNetChannel);
    connect(m_sendTarget, QOverload<int>::of(&QComboBox::currentIndexChanged), this,
            &NetChannelWidget::onSendTargetChanged);
    connect(m_autoReconnect, &QCheckBox::toggled, this, [this](bool on) {
        // Kept at once, like a choice of the window rather than of one channel.
        YAML::Node section = storedSettings();
        section
            = section.IsDefined() && section.IsMap() ? YAML::Clone(section) : YAML::Node(YAML::NodeType::Map);
        section["autoReconnect"] = on;
        storeSettings(section);
    });
    reportEditsOf({m_protocolType, m_autoLocalHost, m_localAddress, m_localPort, m_remoteAddress,
                   m_remotePort, m_multicastAddress});
    if (ChannelProxy *proxy = channelProxy()) {
        connect(proxy, &ChannelProxy::stateChanged, this, &NetChannelWidget::onProxyStateChanged);
        connect(proxy, &ChannelProxy::tcpClientConnected, this, &NetChannelWidget::onClientConnected);
        connect(proxy, &ChannelProxy::tcpClientDisconnected, this, &NetChannelWidget::onClientDisconnected);
        connect(proxy, &ChannelProxy::tcpClientWaiting, this, &NetChannelWidget::onClientWaiting);
        // A TCP client that reconnects shows the open look from its first
        // attempt on, so "Disconnect" stops the attempts.
        connect(proxy, &ChannelProxy::reconnectingChanged, this, [this, proxy](bool on) {
            if (on && !m_openLook && proxy->channelParams().type == TcpClient)
                showOpened();
        });
    }

    applyProtocolType(protocolType());
}

NetChannelWidget::~NetChannelWidget() = default;

void NetChannelWidget::buildControls()
{
    QVBoxLayout *layout = createBody();

    layout->addWidget(new GroupLabel(tr("Select Protocol"), this));
    auto *grid = new QGridLayout;
    grid->setContentsMargins(2, 2, 0, 6);
    grid->setHorizontalSpacing(6);
    grid->setVerticalSpacing(4);
    grid->setColumnStretch(0, 1);

    m_protocolType = new QComboBox(this);
    m_protocolType->setObjectName(QStringLiteral("cbxProtocolType"));
    m_protocolType->addItem(tr("UDP"), int(UdpProtocol));
    m_protocolType->addItem(tr("TCP Client"), int(TcpClientProtocol));
    m_protocolType->addItem(tr("TCP Server"), int(TcpServerProtocol));

    m_autoLocalHost = new QCheckBox(tr("Auto Local Host"), this);
    m_autoLocalHost->setObjectName(QStringLiteral("chkAutoLocalHost"));

    m_localLabel = new QLabel(tr("Local Host"), this);
    m_localLabel->setObjectName(QStringLiteral("lblLocalHost"));
    m_localAddress = addressBox("cbxLocalAddress", this);
    m_localPort = portBox("spinLocalPort", this);
    m_remoteLabel = new QLabel(tr("Remote Host"), this);
    m_remoteLabel->setObjectName(QStringLiteral("lblRemoteHost"));
    m_remoteAddress = addressBox("cbxRemoteAddress", this);
    m_remotePort = portBox("spinRemotePort", this);
    m_multicastLabel = new QLabel(tr("Multicast Address:"), this);
    m_multicastLabel->setObjectName(QStringLiteral("lblMulticastAddress"));
    m_multicastAddress = new QLineEdit(this);
    m_multicastAddress->setObjectName(QStringLiteral("txtMulticastAddress"));
    m_multicastAddress->setPlaceholderText(tr("empty for unicast"));

    // Every caption sits above its controls, like the host rows, so that
    // the page fits the narrow dock of the default window.
    grid->addWidget(new QLabel(tr("Protocol Type"), this), 0, 0, 1, 2);
    grid->addWidget(m_protocolType, 1, 0, 1, 2);
    grid->addWidget(m_autoLocalHost, 2, 0, 1, 2);
    grid->addWidget(m_localLabel, 3, 0, 1, 2);
    grid->addWidget(m_localAddress, 4, 0);
    grid->addWidget(m_localPort, 4, 1);
    grid->addWidget(m_remoteLabel, 5, 0, 1, 2);
    grid->addWidget(m_remoteAddress, 6, 0);
    grid->addWidget(m_remotePort, 6, 1);
    grid->addWidget(m_multicastLabel, 7, 0, 1, 2);
    grid->addWidget(m_multicastAddress, 8, 0, 1, 2);
    m_autoReconnect = new QCheckBox(tr("Auto Reconnect"), this);
    m_autoReconnect->setObjectName(QStringLiteral("chkAutoReconnect"));
    m_autoReconnect->setToolTip(tr("Connect again, after 0.5 s and up to every 10 s, when the connection "
                                   "fails or ends, until you disconnect"));
    grid->addWidget(m_autoReconnect, 9, 0, 1, 2);
    layout->addLayout(grid);

    addTimingGroup(layout);

    m_clientGroup = new QWidget(this);
    m_clientGroup->setObjectName(QStringLiteral("ClientListGroup"));
    auto *clients = new QVBoxLayout(m_clientGroup);
    clients->setContentsMargins(0, 0, 0, 6);
    clients->setSpacing(4);
    clients->addWidget(new GroupLabel(tr("Client List"), m_clientGroup));
    m_clientList = new QListWidget(this);
    m_clientList->setObjectName(QStringLiteral("listWidget"));
    m_clientList->setMaximumHeight(96);
    clients->addWidget(m_clientList);
    auto *target = new QHBoxLayout;
    target->setSpacing(6);
    target->addWidget(new QLabel(tr("Send To"), m_clientGroup));
    m_sendTarget = new QComboBox(m_clientGroup);
    m_sendTarget->setObjectName(QStringLiteral("cbxSendTarget"));
    m_sendTarget->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    m_sendTarget->addItem(tr("All Clients"), QString());
    m_sendTarget->setToolTip(tr("Where the server's sends go: every client, or one"));
    target->addWidget(m_sendTarget, 1);
    clients->addLayout(target);
    layout->addWidget(m_clientGroup);

    addControlButton(layout, "btnNetChannelControl");
}

void NetChannelWidget::fillAddressLists()
{
    const QStringList fixed
        = {QHostAddress(QHostAddress::AnyIPv4).toString(), QHostAddress(QHostAddress::LocalHost).toString()};
    for (QComboBox *box : {m_localAddress, m_remoteAddress})
        box->addItems(fixed);
    // The host's own addresses follow when the name lookup answers; a slow
    // resolver must not hold up the start of the program.
    QHostInfo::lookupHost(QHostInfo::localHostName(), this, &NetChannelWidget::onHostLookedUp);
}

void NetChannelWidget::onHostLookedUp(const QHostInfo &host)
{
    const QList<QHostAddress> addresses = host.addresses();
    for (const QHostAddress &address : addresses) {
        if (address.protocol() != QAbstractSocket::IPv4Protocol)
            continue;
        const QString text = address.toString();
        for (QComboBox *box : {m_localAddress, m_remoteAddress}) {
            if (box->findText(text, Qt::MatchExactly) < 0)
                box->addItem(text);
        }
    }
}

void NetChannelWidget::loadNetSettings()
{
    const YAML::Node section = storedSettings();
    // Without a stored channel the local end listens everywhere and the
    // peer is this host.
    if (!section.IsDefined() || !section.IsMap()) {
        m_remoteAddress->setCurrentIndex(1);
        return;
    }

    const int type = m_protocolType->findData(settingsInt(section, "channelType", 0));
    if (type >= 0)
        m_protocolType->setCurrentIndex(type);
    m_localAddress->setCurrentText(settingsString(section, "localAddress", QString()));
    m_remoteAddress->setCurrentText(settingsString(section, "remoteAddress", QString()));
    m_localPort->setValue(settingsInt(section, "localPort", 0));
    m_remotePort->setValue(settingsInt(section, "remotePort", 0));
    m_multicastAddress->setText(settingsString(section, "multicastAddress", QString()));
    const QSignalBlocker quiet(m_autoReconnect);
    m_autoReconnect->setChecked(settingsBool(section, "autoReconnect", false));
}

void NetChannelWidget::saveNetSettings()
{
    YAML::Node section(YAML::NodeType::Map);
    section["channelType"] = protocolType();
    section["localAddress"] = toSettingsText(m_localAddress->currentText());
    section["localPort"] = m_localPort->value();
    section["remoteAddress"] = toSettingsText(m_remoteAddress->currentText());
    section["remotePort"] = m_remotePort->value();
    section["multicastAddress"] = toSettingsText(m_multicastAddress->text().trimmed());
    section["autoReconnect"] = m_autoReconnect->isChecked();
    storeSettings(section);
}

void NetChannelWidget::applyProtocolType(int type)
{
    // Auto-local-host box, local label, address and port, remote label,
    // address and port, multicast label and address, client group and list.
    static const bool visible[3][11] = {
        {false, true, true, true, true, true, true, true, true, false, false},
        {false, false, false, false, true, true, true, false, false, false, false},
        {false, true, true, true, false, false, false, false, false, true, true},
    };
    if (type < UdpProtocol || type > TcpServerProtocol)
        type = UdpProtocol;
    QWidget *const controls[11] = {m_autoLocalHost,    m_localLabel,    m_localAddress, m_localPort,
                                   m_remoteLabel,      m_remoteAddress, m_remotePort,   m_multicastLabel,
                                   m_multicastAddress, m_clientGroup,   m_clientList};
    for (int i = 0; i < 11; ++i)
        controls[i]->setVisible(visible[type][i]);
    // Only a TCP client connects again by itself.
    m_autoReconnect->setVisible(type == TcpClientProtocol);

    if (type == TcpClientProtocol) {
        const bool blocked = m_autoLocalHost->blockSignals(true);
        m_autoLocalHost->setChecked(true);
        m_autoLocalHost->blockSignals(blocked);
    }
    updateButtonText();
}

void NetChannelWidget::onAutoLocalHostToggled(bool checked)
{
    m_localLabel->setVisible(!checked);
    m_localAddress->setVisible(!checked);
    m_localPort->setVisible(!checked);
}

int NetChannelWidget::protocolType() const
{
    return m_protocolType->currentData().toInt();
}

NetChannelParams NetChannelWidget::buildNetParams() const
{
    NetChannelParams params(channelTypeOf(protocolType()));
    params.timing = m_timing->strategy();
    params.localAddress = m_localAddress->currentText().trimmed();
    params.localPort = quint16(m_localPort->value());
    params.remoteAddress = m_remoteAddress->currentText().trimmed();
    params.remotePort = quint16(m_remotePort->value());
    params.multicastAddress = m_multicastAddress->text().trimmed();
    params.autoReconnect = params.type == TcpClient && m_autoReconnect->isChecked();
    if (params.type == TcpClient && m_autoLocalHost->isChecked()) {
        params.localAddress.clear();
        params.localPort = 0;
    }
    return params;
}

void NetChannelWidget::toggleNetChannel()
{
    ChannelProxy *proxy = channelProxy();
    if (!proxy)
        return;
    // A TCP client still trying to connect again is closed too.
    if (proxy->isOpen() || proxy->isReconnecting()) {
        proxy->close();
        if (!proxy->isOpen())
            showClosed();
        return;
    }
    const NetChannelParams params = buildNetParams();
    if (proxy->open(params)) {
        showOpened();
        return;
    }
    // A TCP client reports its connection later, through the proxy's state,
    // and its failure through the proxy's error signal.
    if (params.type == TcpClient)
        return;
    QString reason = openErrorText(params);
    if (reason.isEmpty())
        reason = tr("the address or port was refused");
    const QString message
        = params.type == TcpServer
              ? tr("Unable to listen on %1:%2: %3").arg(params.localAddress).arg(params.localPort).arg(reason)
              : tr("Unable to open the UDP socket on %1:%2: %3")
                    .arg(params.localAddress)
                    .arg(params.localPort)
                    .arg(reason);
    reportOpenFailure(message);
}

void NetChannelWidget::showOpened()
{
    // Every channel starts sending to all clients.
    if (!m_openLook)
        resetSendTarget();
    m_openLook = true;
    saveNetSettings();
    showBoundPort();
    setParamsEnabled(false);
    updateButtonText();
    emit channelOpenStateChanged(true);
}

void NetChannelWidget::showBoundPort()
{
    // Port 0 lets the system choose: the field shows the port it chose while
    // the server listens, and the choice is left to the system again after.
    ChannelProxy *proxy = channelProxy();
    if (!proxy || !proxy->isOpen() || proxy->channelParams().type != TcpServer || m_localPort->value() != 0)
        return;
    const QString profile = proxy->channelProfile();
    bool ok = false;
    const int port = profile.mid(profile.lastIndexOf(QLatin1Char(':')) + 1).toInt(&ok);
    if (!ok || port <= 0)
        return;
    const QSignalBlocker quiet(m_localPort);
    m_localPort->setValue(port);
    m_portChosenBySystem = true;
}

void NetChannelWidget::showClosed()
{
    m_openLook = false;
    if (m_portChosenBySystem) {
        const QSignalBlocker quiet(m_localPort);
        m_localPort->setValue(0);
        m_portChosenBySystem = false;
    }
    // Clients of a closed server are gone, whether or not each one said so.
    m_clientList->clear();
    resetSendTarget();
    updateButtonText();
    setParamsEnabled(true);
    emit channelOpenStateChanged(false);
}

void NetChannelWidget::updateButtonText()
{
    // The open look names the channel that is open (a serial port opened
    // elsewhere is closed with "Close"); the closed look the one selected.
    ChannelProxy *proxy = channelProxy();
    const ChannelType type = m_openLook && proxy && proxy->isOpen() ? proxy->channelParams().type
                                                                    : channelTypeOf(protocolType());
    if (type == TcpClient)
        m_control->setText(m_openLook ? tr("Disconnect") : tr("Connect"));
    else
        m_control->setText(m_openLook ? tr("Close") : tr("Open"));
}

void NetChannelWidget::onProxyStateChanged(ChannelType type, ChanneState state)
{
    ChannelProxy *proxy = channelProxy();
    // Signals are queued from the channel's thread: a state that the proxy
    // has left by the time it arrives is stale and not shown. A page that
    // already shows the state (the open was answered at once) leaves it be,
    // so the settings file is written once per open.
    if (state == Opened) {
        if (!m_openLook && proxy && proxy->isOpen())
            showOpened();
    } else if (state == Closed) {
        // A channel that reconnects keeps the open look until the user
        // closes it.
        if (proxy && proxy->channelParams().autoReconnect)
            return;
        if (m_openLook && (!proxy || !proxy->isOpen())) {
            showClosed();
            // The user did not close it (that look is already gone): the
            // peer ended the connection.
            if (type == TcpClient) {
                const NetChannelParams params = buildNetParams();
                emit channelEnded(
                    tr("%1:%2 closed the connection").arg(params.remoteAddress).arg(params.remotePort));
            }
        }
    }
}

void NetChannelWidget::setParamsEnabled(bool on)
{
    m_protocolType->setEnabled(on);
    m_autoLocalHost->setEnabled(on);
    m_localAddress->setEnabled(on);
    m_remoteAddress->setEnabled(on);
    m_localPort->setEnabled(on);
    m_remotePort->setEnabled(on);
    m_multicastAddress->setEnabled(on);
    m_timing->setEnabled(on);
    m_autoReconnect->setEnabled(on);
}

QString NetChannelWidget::sendTarget() const
{
    return m_sendTarget->currentData().toString();
}

void NetChannelWidget::onClientConnected(const QString &address)
{
    // A client that waited is now served.
    const QString waiting = tr("%1 (waiting)").arg(address);
    qDeleteAll(m_clientList->findItems(waiting, Qt::MatchFixedString));
    m_clientList->addItem(address);
    if (m_sendTarget->findData(address) < 0)
        m_sendTarget->addItem(address, address);
}

void NetChannelWidget::onClientDisconnected(const QString &address)
{
    qDeleteAll(m_clientList->findItems(address, Qt::MatchFixedString));
    const int index = m_sendTarget->findData(address);
    if (index < 0)
        return;
    // Never to another client by accident: sends to a client that left
    // go nowhere until the user chooses again, as the server was told.
    if (index == m_sendTarget->currentIndex()) {
        const QSignalBlocker quiet(m_sendTarget);
        m_sendTarget->setItemText(index, tr("%1 (gone)").arg(address));
        return;
    }
    m_sendTarget->removeItem(index);
}

void NetChannelWidget::onClientWaiting(const QString &address)
{
    auto *item = new QListWidgetItem(tr("%1 (waiting)").arg(address), m_clientList);
    item->setForeground(palette().color(QPalette::Disabled, QPalette::Text));
    item->setToolTip(tr("Three clients are served; this one waits until one of them leaves"));
}

void NetChannelWidget::onSendTargetChanged()
{
    // Items of clients that left go once another choice is made.
    for (int i = m_sendTarget->count() - 1; i > 0; --i) {
        if (i != m_sendTarget->currentIndex() && m_sendTarget->itemText(i).endsWith(tr(" (gone)"))) {
            const QSignalBlocker quiet(m_sendTarget);
            m_sendTarget->removeItem(i);
        }
    }
    if (ChannelProxy *proxy = channelProxy())
        proxy->setSendTarget(sendTarget());
}

void NetChannelWidget::resetSendTarget()
{
    const QSignalBlocker quiet(m_sendTarget);
    while (m_sendTarget->count() > 1)
        m_sendTarget->removeItem(1);
    m_sendTarget->setCurrentIndex(0);
}
