#include "udptransport.h"

#include "endpoint.h"

#include <QNetworkDatagram>
#include <QUdpSocket>

namespace {

// Datagrams the workbench reads whole; longer sends are cut at this size.
const int kMaxDatagram = 8192;

class UdpEndpoint : public Endpoint
{
public:
    UdpEndpoint(QUdpSocket *socket, const QHostAddress &address, quint16 port, QObject *parent)
        : Endpoint(QStringLiteral("udp %1:%2").arg(address.toString()).arg(port), parent)
        , m_socket(socket)
        , m_address(address)
        , m_port(port)
    {
    }

    void send(const QByteArray &bytes) override
    {
        for (int offset = 0; offset < bytes.size(); offset += kMaxDatagram) {
            const QByteArray part = bytes.mid(offset, kMaxDatagram);
            if (m_socket->writeDatagram(part, m_address, m_port) != part.size())
                countDropped(part.size());
        }
    }

    bool is(const QHostAddress &address, quint16 port) const
    {
        return m_address == address && m_port == port;
    }
    void deliver(const QByteArray &bytes) { emit bytesReceived(bytes); }

private:
    QUdpSocket *m_socket;
    QHostAddress m_address;
    quint16 m_port;
};

} // namespace

UdpTransport::UdpTransport(QObject *parent)
    : QObject(parent)
    , m_socket(new QUdpSocket(this))
{
    connect(m_socket, &QUdpSocket::readyRead, this, &UdpTransport::readPending);
}

UdpTransport::~UdpTransport() = default;

bool UdpTransport::bind(int port)
{
    if (!m_socket->bind(QHostAddress::LocalHost, quint16(port))) {
        m_error = QStringLiteral("cannot bind UDP 127.0.0.1:%1: %2").arg(port).arg(m_socket->errorString());
        return false;
    }
    return true;
}

int UdpTransport::port() const
{
    return m_socket->localPort();
}

Endpoint *UdpTransport::addPeer(const QHostAddress &address, quint16 port)
{
    return peer(address, port);
}

Endpoint *UdpTransport::peer(const QHostAddress &address, quint16 port)
{
    for (int i = 0; i < m_peers.size(); ++i) {
        auto *known = static_cast<UdpEndpoint *>(m_peers.at(i));
        if (known->is(address, port)) {
            m_peers.move(i, m_peers.size() - 1);
            return known;
        }
    }
    if (m_peers.size() >= MaxPeers)
        delete m_peers.takeFirst();
    auto *endpoint = new UdpEndpoint(m_socket, address, port, this);
    m_peers.append(endpoint);
    emit endpointAdded(endpoint);
    return endpoint;
}

void UdpTransport::readPending()
{
    while (m_socket->hasPendingDatagrams()) {
        const QNetworkDatagram datagram = m_socket->receiveDatagram();
        if (!datagram.isValid())
            continue;
        auto *endpoint
            = static_cast<UdpEndpoint *>(peer(datagram.senderAddress(), quint16(datagram.senderPort())));
        endpoint->deliver(datagram.data());
    }
}
