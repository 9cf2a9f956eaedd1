#include "tcptransport.h"

#include "endpoint.h"
#include "trafficlog.h"

#include <QTcpServer>
#include <QTcpSocket>

namespace {

// A client that does not read is not buffered for without end.
const qint64 kMaxUnsent = 1024 * 1024;

class TcpEndpoint : public Endpoint
{
public:
    TcpEndpoint(QTcpSocket *socket, QObject *parent)
        : Endpoint(QStringLiteral("tcp %1:%2").arg(socket->peerAddress().toString()).arg(socket->peerPort()),
                   parent)
        , m_socket(socket)
    {
        socket->setParent(this);
        connect(socket, &QTcpSocket::readyRead, this, [this] { emit bytesReceived(m_socket->readAll()); });
    }

    void send(const QByteArray &bytes) override
    {
        if (m_socket->state() != QAbstractSocket::ConnectedState
            || m_socket->bytesToWrite() + bytes.size() > kMaxUnsent) {
            countDropped(bytes.size());
            return;
        }
        m_socket->write(bytes);
    }

    QTcpSocket *socket() const { return m_socket; }

private:
    QTcpSocket *m_socket;
};

} // namespace

TcpTransport::TcpTransport(QObject *parent)
    : QObject(parent)
    , m_server(new QTcpServer(this))
{
    connect(m_server, &QTcpServer::newConnection, this, &TcpTransport::acceptPending);
}

TcpTransport::~TcpTransport() = default;

bool TcpTransport::listen(int port)
{
    if (!m_server->listen(QHostAddress::LocalHost, quint16(port))) {
        m_error
            = QStringLiteral("cannot listen on TCP 127.0.0.1:%1: %2").arg(port).arg(m_server->errorString());
        return false;
    }
    return true;
}

int TcpTransport::port() const
{
    return m_server->serverPort();
}

void TcpTransport::acceptPending()
{
    while (QTcpSocket *socket = m_server->nextPendingConnection()) {
        if (m_clients >= MaxClients) {
            TrafficLog::note(QStringLiteral("%1 tcp: refused %2, %3 clients already")
                                 .arg(TrafficLog::stamp(), socket->peerAddress().toString())
                                 .arg(m_clients));
            socket->abort();
            socket->deleteLater();
            continue;
        }
        auto *endpoint = new TcpEndpoint(socket, this);
        ++m_clients;
        TrafficLog::note(QStringLiteral("%1 %2 connected").arg(TrafficLog::stamp(), endpoint->name()));
        connect(socket, &QTcpSocket::disconnected, endpoint, [this, endpoint] {
            TrafficLog::note(QStringLiteral("%1 %2 disconnected").arg(TrafficLog::stamp(), endpoint->name()));
            --m_clients;
            endpoint->deleteLater();
        });
        emit endpointAdded(endpoint);
    }
}
