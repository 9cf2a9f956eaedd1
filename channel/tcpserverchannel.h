#pragma once

#include "channel.h"
#include "sharedtext.h"

#include <QList>
#include <QSet>

class QTcpServer;
class QTcpSocket;

// A listening socket with up to three clients. What arrives from a client is
// reported with its "address:port" as the chunk's source; write() goes to
// every client, writeTo() to one. Clients beyond the limit wait, named by
// waiting(), until a place frees.
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
    // A client that connected while three are served; connected() follows
    // when it is admitted.
    void waiting(QString address);

public slots:
    bool open() override;
    void close() override;
    bool write(const char *data, qint64 size) override;
    bool writeTo(const QString &client, const QByteArray &bytes) override;
    // write() goes to this client alone; empty: to every client.
    void setSendTarget(const QString &client) { m_target = client; }

public:
    qint64 pendingWrite() const override;

private:
    class BoundedTcpServer;

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
    QString peerOf(const QTcpSocket *socket) const;
    void updateProfile();

    static constexpr int kClientLimit = 3;

    NetChannelParams m_net{TcpServer};
    BoundedTcpServer *m_server;
    QSet<QTcpSocket *> m_announced; // waiting clients already named
    QList<Client> m_clients;        // in order of arrival
    SharedText m_profile;
    QString m_target; // worker thread only, like the writes
};
