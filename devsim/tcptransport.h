#pragma once

#include <QObject>
#include <QString>

class Endpoint;
class QTcpServer;

// A TCP port on 127.0.0.1; every accepted connection is an endpoint of its
// own, destroyed when the client disconnects.
class TcpTransport : public QObject
{
    Q_OBJECT

public:
    // More clients are turned away: a device has few masters.
    static constexpr int MaxClients = 16;

    explicit TcpTransport(QObject *parent = nullptr);
    ~TcpTransport() override;

    // Port 0 picks a free one; port() tells which.
    bool listen(int port);
    int port() const;
    QString errorString() const { return m_error; }

signals:
    void endpointAdded(Endpoint *endpoint);

private:
    void acceptPending();

    QTcpServer *m_server;
    int m_clients = 0;
    QString m_error;
};
