#include "tcpserverchannel.h"

#include "arrivalgate.h"
#include "handoff.h"
#include "netlimits.h"

#include <QHostAddress>
#include <QTcpServer>
#include <QTcpSocket>

#include <climits>

namespace {

QString peerText(const QTcpSocket *socket)
{
    return QStringLiteral("%1:%2").arg(socket->peerAddress().toString()).arg(socket->peerPort());
}

} // namespace

// Bounds what a client that connected but is not yet taken can buffer: such
// a socket reads from the kernel although nobody reads from it. It also keeps
// the order of the connections it holds, so that those left waiting can be
// named.
class TcpServerChannel::BoundedTcpServer : public QTcpServer
{
public:
    using QTcpServer::QTcpServer;

    QList<QTcpSocket *> waiting; // pending connections, in order of arrival

protected:
    void incomingConnection(qintptr descriptor) override
    {
        auto *socket = new QTcpSocket(this);
        socket->setReadBufferSize(NetLimits::kReadBufferSize);
        socket->setSocketDescriptor(descriptor);
        waiting.append(socket);
        addPendingConnection(socket);
    }
};

TcpServerChannel::TcpServerChannel(QObject *parent)
    : Channel(parent)
    , m_server(new BoundedTcpServer(this))
{
}

bool TcpServerChannel::configure(const ChannelParams &params)
{
    const auto *net = dynamic_cast<const NetChannelParams *>(&params);
    if (params.type != TcpServer || !net)
        return false;
    setParams(params);
    m_net = *net;
    m_server->setMaxPendingConnections(kClientLimit);
    connect(gateArrivals(), &ArrivalGate::reopened, this, &TcpServerChannel::readAllClients);
    updateProfile();
    return createPeriodTimer(params.timing);
}

QString TcpServerChannel::profile() const
{
    return m_profile.get();
}

void TcpServerChannel::updateProfile()
{
    m_profile.set(QStringLiteral("Tcp Server %1:%2")
                      .arg(m_server->serverAddress().toString())
                      .arg(m_server->serverPort()));
}

bool TcpServerChannel::open()
{
    if (m_server->isListening())
        close();
    QHostAddress local(QHostAddress::Any);
    // A text that is no address must not quietly listen on every interface.
    if (!m_net.localAddress.isEmpty() && !local.setAddress(m_net.localAddress))
        return false;
    if (m_server->listen(local, m_net.localPort)) {
        connect(m_server, &QTcpServer::newConnection, this, &TcpServerChannel::takePending,
                Qt::UniqueConnection);
        setOpen(true);
    }
    updateProfile();
    return isOpen();
}

void TcpServerChannel::close()
{
    m_server->close();
    // Clients still waiting are dropped with the server, never admitted.
    while (m_server->hasPendingConnections())
        delete m_server->nextPendingConnection();
    m_server->waiting.clear();
    m_announced.clear();
    const QList<Client> clients = m_clients;
    for (const Client &client : clients) {
        client.socket->disconnectFromHost();
        if (client.socket->state() != QAbstractSocket::UnconnectedState)
            client.socket->abort();
    }
    // Clients that left in the loop above have been reported already.
    for (const Client &client : qAsConst(m_clients)) {
        client.socket->disconnect(this);
        retire(client.socket);
        handoff::post([&] { emit disconnected(client.peer); });
    }
    m_clients.clear();
    setOpen(false);
    updateProfile();
}

bool TcpServerChannel::write(const char *data, qint64 size)
{
    if (m_clients.isEmpty() || !data || size <= 0)
        return false;
    if (!m_target.isEmpty())
        return writeTo(m_target, QByteArray::fromRawData(data, int(qMin<qint64>(size, INT_MAX))));
    qint64 accepted = 0;
    for (const Client &client : qAsConst(m_clients)) {
        QTcpSocket *socket = client.socket;
        // A client that does not read gets nothing more until it does.
        if (socket->state() != QAbstractSocket::ConnectedState
            || socket->bytesToWrite() >= NetLimits::kMaxPendingWrite)
            continue;
        const qint64 count = socket->write(data, size);
        if (count > 0)
            accepted += count;
    }
    if (accepted == 0)
        return false;
    reportWritten(data, size);
    return true;
}

bool TcpServerChannel::writeTo(const QString &client, const QByteArray &bytes)
{
    for (const Client &c : qAsConst(m_clients)) {
        if (c.peer != client)
            continue;
        if (bytes.isEmpty() || c.socket->state() != QAbstractSocket::ConnectedState
            || c.socket->bytesToWrite() >= NetLimits::kMaxPendingWrite)
            return false;
        if (c.socket->write(bytes) < 1)
            return false;
        reportWritten(bytes.constData(), bytes.size(), c.peer);
        return true;
    }
    return false;
}

qint64 TcpServerChannel::pendingWrite() const
{
    qint64 most = 0;
    for (const Client &client : m_clients)
        most = qMax(most, client.socket->bytesToWrite());
    return most;
}

void TcpServerChannel::takePending()
{
    while (m_clients.size() < kClientLimit && m_server->hasPendingConnections()) {
        QTcpSocket *socket = m_server->nextPendingConnection();
        if (!socket)
            break;
        m_server->waiting.removeOne(socket);
        m_announced.remove(socket);
        const Client client{socket, peerText(socket)};
        connect(socket, &QAbstractSocket::disconnected, this, [this, socket] { onClientGone(socket); });
        connect(socket, &QIODevice::readyRead, this, [this, socket] { readClient(socket); });
        m_clients.append(client);
        handoff::post([&] { emit connected(client.peer); });
        // A client that sent and left while it waited in the queue is still
        // heard, and must not hold a place that nobody will give back.
        if (socket->state() != QAbstractSocket::ConnectedState)
            onClientGone(socket);
        else if (socket->bytesAvailable() > 0)
            readClient(socket);
    }
    for (QTcpSocket *socket : qAsConst(m_server->waiting)) {
        if (m_announced.contains(socket))
            continue;
        m_announced.insert(socket);
        const QString peer = peerText(socket);
        handoff::post([&] { emit waiting(peer); });
    }
    adjustAccepting();
}

void TcpServerChannel::adjustAccepting()
{
    if (!m_server->isListening())
        return;
    // Connections beyond the limit are accepted but not taken: they wait in
    // the server's queue, where they can be named, up to the queue's own
    // limit; further ones wait in the system's backlog. Taking a pending
    // connection makes the server watch for more, so the state is set again
    // after every take.
    if (m_clients.size() + m_server->waiting.size() >= 2 * kClientLimit)
        m_server->pauseAccepting();
    else
        m_server->resumeAccepting();
}

void TcpServerChannel::onClientGone(QTcpSocket *socket)
{
    int index = -1;
    for (int i = 0; i < m_clients.size(); ++i) {
        if (m_clients.at(i).socket == socket) {
            index = i;
            break;
        }
    }
    if (index < 0)
        return;
    const QString peer = m_clients.at(index).peer;
    // What the client sent before it left is still reported.
    if (socket->bytesAvailable() > 0)
        reportArrived(socket->readAll(), peer);
    socket->disconnect(this);
    retire(socket);
    m_clients.removeAt(index);
    handoff::post([&] { emit disconnected(peer); });
    if (m_server->isListening()) {
        // The next waiting client may already sit in the server's queue.
        if (m_server->hasPendingConnections())
            QMetaObject::invokeMethod(this, &TcpServerChannel::takePending, Qt::QueuedConnection);
        adjustAccepting();
    }
}

void TcpServerChannel::readClient(QTcpSocket *socket)
{
    if (socket->bytesAvailable() <= 0 || !mayRead())
        return;
    const QByteArray bytes = socket->readAll();
    if (!bytes.isEmpty())
        reportArrived(bytes, peerOf(socket));
}

QString TcpServerChannel::peerOf(const QTcpSocket *socket) const
{
    for (const Client &client : m_clients) {
        if (client.socket == socket)
            return client.peer;
    }
    return QString();
}

void TcpServerChannel::readAllClients()
{
    for (const Client &client : qAsConst(m_clients))
        readClient(client.socket);
}

void TcpServerChannel::retire(QTcpSocket *socket)
{
    // Deleted from a later event, never inside its own signal. A queued call
    // rather than deleteLater: deferred deletes wait while a high-resolution
    // send loop runs, and a stream of short-lived clients would pile up.
    QMetaObject::invokeMethod(
        this, [socket] { delete socket; }, Qt::QueuedConnection);
}
