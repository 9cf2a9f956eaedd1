#pragma once

#include "windows/channel/channelpage.h"

#include <dorvane/app_export.h>
#include <dorvane/channelparams.h>

class QCheckBox;
class QComboBox;
class QHostInfo;
class QLabel;
class QLineEdit;
class QListWidget;
class QSpinBox;

// Chooses a UDP socket, a TCP client or a TCP server with its addresses and
// opens or closes it through the application's channel proxy. It follows the
// proxy's state, so a channel that closes by itself is shown closed. The
// parameters of the last network channel opened are kept in the "network"
// settings section.
class DORVANE_APP_EXPORT NetChannelWidget : public ChannelPage
{
    Q_OBJECT

public:
    // Values of the protocol type items.
    enum ProtocolType { UdpProtocol = 0, TcpClientProtocol = 1, TcpServerProtocol = 2 };

    NetChannelWidget(ApplicationOptions &options, ChannelProxy &channel, QWidget *parent = nullptr);
    ~NetChannelWidget() override;

    void loadNetSettings();
    void saveNetSettings();
    void applyProtocolType(int type);
    NetChannelParams buildNetParams() const;
    void toggleNetChannel();
    void showOpened();
    void showClosed();
    void setParamsEnabled(bool on);

    int protocolType() const;
    // The client a TCP server sends to; empty for "All Clients".
    QString sendTarget() const;

private:
    void buildControls();
    void fillAddressLists();
    void onHostLookedUp(const QHostInfo &host);
    void onProxyStateChanged(ChannelType type, ChanneState state);
    void onAutoLocalHostToggled(bool checked);
    void updateButtonText();
    void showBoundPort();
    void onClientConnected(const QString &address);
    void onClientDisconnected(const QString &address);
    void onClientWaiting(const QString &address);
    void onSendTargetChanged();
    void resetSendTarget();

    QComboBox *m_protocolType = nullptr;
    QCheckBox *m_autoLocalHost = nullptr;
    QLabel *m_localLabel = nullptr;
    QComboBox *m_localAddress = nullptr;
    QSpinBox *m_localPort = nullptr;
    bool m_portChosenBySystem = false;
    QLabel *m_remoteLabel = nullptr;
    QComboBox *m_remoteAddress = nullptr;
    QSpinBox *m_remotePort = nullptr;
    QLabel *m_multicastLabel = nullptr;
    QLineEdit *m_multicastAddress = nullptr;
    QWidget *m_clientGroup = nullptr;
    QListWidget *m_clientList = nullptr;
    QComboBox *m_sendTarget = nullptr;
    QCheckBox *m_autoReconnect = nullptr;
};
