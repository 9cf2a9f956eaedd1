#pragma once

#include <QHostAddress>
#include <QList>
#include <QObject>
#include <QString>

class Endpoint;
class QUdpSocket;

// A UDP port on 127.0.0.1. Each address and port that sends a datagram
// becomes an endpoint; answers go back to it, one datagram per send.
class UdpTransport : public QObject
{
    Q_OBJECT

public:
    // Peers beyond this replace the one heard from longest ago.
    static constexpr int MaxPeers = 16;

    explicit UdpTransport(QObject *parent = nullptr);
    ~UdpTransport() override;

    bool bind(int port);
    int port() const;
    QString errorString() const { return m_error; }

    // A peer known before it sends anything (telemetry to a fixed port).
    Endpoint *addPeer(const QHostAddress &address, quint16 port);

signals:
    void endpointAdded(Endpoint *endpoint);

private:
    void readPending();
    Endpoint *peer(const QHostAddress &address, quint16 port);

    QUdpSocket *m_socket;
    QList<Endpoint *> m_peers; // most recently heard last
    QString m_error;
};
