#include "udpchannel.h"

#include "arrivalgate.h"
#include "netlimits.h"

#include <QNetworkDatagram>
#include <QTimer>
#include <QUdpSocket>

UdpChannel::UdpChannel(QObject *parent)
    : Channel(parent)
    , m_socket(new QUdpSocket(this))
{
}

bool UdpChannel::configure(const ChannelParams &params)
{
    const auto *net = dynamic_cast<const NetChannelParams *>(&params);
    if (params.type != Udp || !net)
        return false;
    setParams(params);

    QHostAddress local(QHostAddress::Any);
    // A text that is no address must not quietly bind to every interface.
    if (!net->localAddress.isEmpty() && !local.setAddress(net->localAddress))
        return false;
    const QHostAddress group(net->multicastAddress);
    const bool multicast = !net->multicastAddress.isEmpty();
#ifndef Q_OS_WIN
    // Here a socket bound to a unicast address never receives what is sent to
    // a group, so a multicast socket binds to the wildcard address of the
    // group's family; the local address still picks the interface below.
    if (multicast && group.isMulticast())
        local = group.protocol() == QAbstractSocket::IPv6Protocol ? QHostAddress(QHostAddress::AnyIPv6)
                                                                  : QHostAddress(QHostAddress::AnyIPv4);
#endif
    if (!m_socket->bind(local, net->localPort, QAbstractSocket::ShareAddress))
        return false;
    // Room in the kernel for a burst while the reader waits for the
    // receiving thread; the system caps it at its own maximum.
    m_socket->setSocketOption(QAbstractSocket::ReceiveBufferSizeSocketOption, NetLimits::kDatagramBuffer);

    m_peerAddress = QHostAddress(net->remoteAddress);
    m_peerPort = net->remotePort;
    if (multicast) {
        m_interface = interfaceOf(net->localAddress);
        m_group = group;
        if (m_interface.isValid()) {
            m_socket->setMulticastInterface(m_interface);
            m_socket->joinMulticastGroup(m_group, m_interface);
        } else {
            m_socket->joinMulticastGroup(m_group);
        }
    }
    connect(m_socket, &QIODevice::readyRead, this, &UdpChannel::readDatagrams);
    connect(gateArrivals(), &ArrivalGate::reopened, this, &UdpChannel::readDatagrams);
    updateProfile();
    return createPeriodTimer(params.timing);
}

QString UdpChannel::profile() const
{
    return m_profile.get();
}

void UdpChannel::updateProfile()
{
    const bool multicast = m_group.isMulticast();
    m_profile.set(QStringLiteral("UDP %1:%2 -> %3%4:%5")
                      .arg(m_socket->localAddress().toString())
                      .arg(m_socket->localPort())
                      .arg(multicast ? QStringLiteral("(M)") : QString())
                      .arg(multicast ? m_group.toString() : m_peerAddress.toString())
                      .arg(m_peerPort));
}

bool UdpChannel::open()
{
    setOpen(true);
    return true;
}

void UdpChannel::close()
{
    if (QTimer *timer = periodTimer(); timer && timer->isActive())
        timer->stop();
    if (m_group.isMulticast() && m_socket->state() == QAbstractSocket::BoundState) {
        if (m_interface.isValid())
            m_socket->leaveMulticastGroup(m_group, m_interface);
        else
            m_socket->leaveMulticastGroup(m_group);
    }
    setOpen(false);
    m_socket->close();
    updateProfile();
}

bool UdpChannel::write(const char *data, qint64 size)
{
    // An unbound socket would bind itself anew on the first datagram, so a
    // closed channel would go on sending.
    if (!data || size <= 0 || m_socket->state() != QAbstractSocket::BoundState)
        return false;
    const QHostAddress &target = m_group.isMulticast() ? m_group : m_peerAddress;
    if (m_socket->writeDatagram(data, size, target, m_peerPort) < 1)
        return false;
    reportWritten(data, size);
    return true;
}

QNetworkInterface UdpChannel::interfaceOf(const QString &localAddress)
{
    const QHostAddress local(localAddress);
    const QList<QNetworkInterface> interfaces = QNetworkInterface::allInterfaces();
    for (const QNetworkInterface &candidate : interfaces) {
        const QList<QNetworkAddressEntry> entries = candidate.addressEntries();
        for (const QNetworkAddressEntry &entry : entries) {
            if (entry.ip() == local)
                return candidate;
        }
    }
    return QNetworkInterface();
}

void UdpChannel::readDatagrams()
{
    // A flood is read in bounded passes: whatever is left raises the next
    // notification once the thread has served its other events. A pass
    // crosses to the receiving thread as one batch.
    const ArrivalBatch batch(this);
    for (int pass = 0; pass < NetLimits::kDatagramsPerPass && m_socket->hasPendingDatagrams(); ++pass) {
        if (!mayRead())
            return;
        const QNetworkDatagram datagram = m_socket->receiveDatagram();
        if (datagram.isValid())
            reportArrived(datagram.data());
    }
}
