#include "udpchannel.h"

#include "arrivalgate.h"
#include "netlimits.h"

#include <QNetworkDatagram>
#include <QSocketNotifier>
#include <QTimer>
#include <QUdpSocket>

#ifdef Q_OS_LINUX
#include <cerrno>
#include <fcntl.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

// Datagrams taken by one recvmmsg call, each into a slot as large as the
// largest datagram, so none is cut: 1 MiB for the reader.
constexpr int kSlots = 16;
constexpr int kSlotSize = 65536;

} // namespace
#endif

UdpChannel::UdpChannel(QObject *parent)
    : Channel(parent)
    , m_socket(new QUdpSocket(this))
{
}

UdpChannel::~UdpChannel()
{
    stopFastReader();
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
#ifdef Q_OS_LINUX
    // Read from a second descriptor of the same socket, with a notifier of
    // its own: QUdpSocket asks the system three times per datagram (is one
    // pending, how large, read it), recvmmsg once per sixteen. The socket's
    // own notifier falls silent after its first readyRead, as nobody reads
    // through it.
    m_readFd = ::fcntl(int(m_socket->socketDescriptor()), F_DUPFD_CLOEXEC, 0);
#endif
    if (m_readFd < 0)
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
    // Made here, on the worker thread, where the notifier must live.
    if (m_readFd >= 0 && !m_readNotifier) {
        m_slots.resize(size_t(kSlots) * kSlotSize);
        m_readNotifier = new QSocketNotifier(m_readFd, QSocketNotifier::Read, this);
        connect(m_readNotifier, &QSocketNotifier::activated, this, &UdpChannel::readDatagrams);
        readDatagrams();
    }
    return true;
}

void UdpChannel::stopFastReader()
{
    delete m_readNotifier;
    m_readNotifier = nullptr;
#ifdef Q_OS_LINUX
    if (m_readFd >= 0)
        ::close(m_readFd);
#endif
    m_readFd = -1;
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
    stopFastReader();
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
#ifdef Q_OS_LINUX
    if (m_readNotifier) {
        readDatagramsInBulk();
        return;
    }
#endif
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

#ifdef Q_OS_LINUX
void UdpChannel::readDatagramsInBulk()
{
    const ArrivalBatch batch(this);
    mmsghdr messages[kSlots];
    iovec iov[kSlots];
    for (int taken = 0; taken < NetLimits::kDatagramsPerPass;) {
        if (!mayRead()) {
            // The descriptor stays readable; the gate calls again when the
            // receiver has caught up.
            m_readNotifier->setEnabled(false);
            return;
        }
        for (int i = 0; i < kSlots; ++i) {
            iov[i].iov_base = m_slots.data() + size_t(i) * kSlotSize;
            iov[i].iov_len = kSlotSize;
            messages[i] = mmsghdr{};
            messages[i].msg_hdr.msg_iov = &iov[i];
            messages[i].msg_hdr.msg_iovlen = 1;
        }
        const int count = ::recvmmsg(m_readFd, messages, kSlots, MSG_DONTWAIT, nullptr);
        if (count <= 0)
            break;
        for (int i = 0; i < count; ++i)
            reportArrived(QByteArray(static_cast<const char *>(iov[i].iov_base), int(messages[i].msg_len)));
        taken += count;
        if (count < kSlots)
            break;
    }
    m_readNotifier->setEnabled(true);
}
#endif
