#pragma once

#include "channel.h"
#include "sharedtext.h"

#include <QHostAddress>
#include <QNetworkInterface>

#include <vector>

class QSocketNotifier;
class QUdpSocket;

// Datagrams to one unicast peer or one multicast group. The socket is bound
// when the channel is configured; open() only sets the open flag.
class UdpChannel : public Channel
{
    Q_OBJECT
public:
    explicit UdpChannel(QObject *parent = nullptr);
    ~UdpChannel() override;

    bool configure(const ChannelParams &params) override;
    QString profile() const override;

public slots:
    bool open() override;
    void close() override;
    bool write(const char *data, qint64 size) override;

private:
    static QNetworkInterface interfaceOf(const QString &localAddress);
    void readDatagrams();
    void readDatagramsInBulk();
    void stopFastReader();
    void updateProfile();

    QUdpSocket *m_socket;
    QHostAddress m_peerAddress;
    quint16 m_peerPort = 0;
    QHostAddress m_group;          // null when unicast
    QNetworkInterface m_interface; // invalid when none was found
    SharedText m_profile;
    int m_readFd = -1; // second descriptor of the socket for the bulk reader
    QSocketNotifier *m_readNotifier = nullptr;
    std::vector<char> m_slots;
};
