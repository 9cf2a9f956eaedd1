#pragma once

#include "channel.h"
#include "sharedtext.h"

#include <QList>

class QTcpServer;
class QTcpSocket;

// A listening socket with up to three clients. What arrives from any client
// is reported alike; writes go to every client.
class TcpServerChannel : public Channel
{
    Q_OBJECT
public:
    explicit TcpServerChannel(QObject *parent = nullptr);

    bool configure(const ChannelParams &params) override;
    QString profile() const override;

signals:
    // "address:port" of the client that came or went.
    void connected(QString address);
    void disconnected(QString address);

public slots:
    bool open() override;
    void close() override;
    bool write(const char *data, qint64 size) override;

private:
    struct Client
    {
        QTcpSocket *socket;
        QString peer;
    };

    void takePending();
    void adjustAccepting();
    void onClientGone(QTcpSocket *socket);
    void readClient(QTcpSocket *socket);
    void readAllClients();
    void retire(QTcpSocket *socket);
    void updateProfile();

    static constexpr int kClientLimit = 3;

    NetChannelParams m_net{TcpServer};
    QTcpServer *m_server;
    QList<Client> m_clients; // in order of arrival
    SharedText m_profile;
};
