#include "tcpclientchannel.h"

#include "arrivalgate.h"
#include "handoff.h"
#include "netlimits.h"

#include <QDebug>
#include <QHostAddress>
#include <QMetaEnum>
#include <QTcpSocket>
#include <QTimer>

#include <QLoggingCategory>

namespace {
// Socket states go to a debug category that is off unless asked for
// (QT_LOGGING_RULES="dorvane.channel.tcpclient.debug=true"), so a user's
// terminal is not filled with them.
Q_LOGGING_CATEGORY(lcTcpClient, "dorvane.channel.tcpclient", QtWarningMsg)
} // namespace

namespace {

// Reconnecting starts quickly, for a peer that restarts, and slows down to
// a pace that costs a dead peer nothing.
constexpr int kFirstRetryMs = 500;
constexpr int kLastRetryMs = 10000;

} // namespace

TcpClientChannel::TcpClientChannel(QObject *parent)
    : Channel(parent)
    , m_socket(new QTcpSocket(this))
    , m_retry(new QTimer(this))
{
    m_socket->setReadBufferSize(NetLimits::kReadBufferSize);
    m_retry->setSingleShot(true);
    connect(m_retry, &QTimer::timeout, this, &TcpClientChannel::connectNow);
}

bool TcpClientChannel::configure(const ChannelParams &params)
{
    const auto *net = dynamic_cast<const NetChannelParams *>(&params);
    if (params.type != TcpClient || !net)
        return false;
    setParams(params);
    if (!net->localAddress.isEmpty()) {
        const QHostAddress local(net->localAddress);
        // A text that is no address must not quietly bind to every interface.
        if (local.isNull() || !m_socket->bind(local, net->localPort, QAbstractSocket::DefaultForPlatform))
            return false;
    }
    m_net = *net;
    m_autoReconnect = net->autoReconnect;
    connect(m_socket, &QAbstractSocket::stateChanged, this, &TcpClientChannel::onStateChanged);
    connect(m_socket, &QAbstractSocket::errorOccurred, this, &TcpClientChannel::onError);
    connect(m_socket, &QIODevice::readyRead, this, &TcpClientChannel::readAvailable);
    connect(gateArrivals(), &ArrivalGate::reopened, this, &TcpClientChannel::readAvailable);
    updateProfile();
    return createPeriodTimer(params.timing);
}

QString TcpClientChannel::profile() const
{
    return m_profile.get();
}

void TcpClientChannel::updateProfile()
{
    m_profile.set(QStringLiteral("Tcp Client%1:%2 -> %3:%4")
                      .arg(m_socket->localAddress().toString())
                      .arg(m_socket->localPort())
                      .arg(m_net.remoteAddress)
                      .arg(m_net.remotePort));
}

bool TcpClientChannel::open()
{
    m_closed = false;
    connectNow();
    return isOpen();
}

void TcpClientChannel::connectNow()
{
    // A socket that is already connecting or connected keeps its connection.
    if (m_socket->state() == QAbstractSocket::UnconnectedState
        || m_socket->state() == QAbstractSocket::BoundState)
        m_socket->connectToHost(m_net.remoteAddress, m_net.remotePort, QIODevice::ReadWrite,
                                QAbstractSocket::AnyIPProtocol);
}

qint64 TcpClientChannel::pendingWrite() const
{
    return m_socket->bytesToWrite();
}

void TcpClientChannel::close()
{
    m_closed = true;
    m_retry->stop();
    setReconnecting(false);
    m_socket->close();
    m_socket->disconnectFromHost();
    // Bytes the peer has not taken would keep the socket closing after the
    // channel is gone, and its end would never be reported: what is still
    // unsent is dropped, so the socket is unconnected before close returns.
    if (m_socket->state() != QAbstractSocket::UnconnectedState)
        m_socket->abort();
    setOpen(false);
    updateProfile();
}

bool TcpClientChannel::write(const char *data, qint64 size)
{
    if (!data || size <= 0 || m_socket->state() != QAbstractSocket::ConnectedState)
        return false;
    if (m_socket->bytesToWrite() >= NetLimits::kMaxPendingWrite)
        return false;
    if (m_socket->write(data, size) < 1)
        return false;
    reportWritten(data, size);
    return true;
}

void TcpClientChannel::onStateChanged(QAbstractSocket::SocketState state)
{
    qCDebug(lcTcpClient).noquote()
        << QStringLiteral("TCP client socket state: ")
               + QString::fromLatin1(QMetaEnum::fromType<QAbstractSocket::SocketState>().valueToKey(state));
    updateProfile();
    if (state == QAbstractSocket::ConnectedState) {
        setOpen(true);
        m_retryMs = kFirstRetryMs;
        handoff::post([&] { emit stateChanged(TcpClient, Opened); });
        setReconnecting(false);
    } else if (state == QAbstractSocket::UnconnectedState) {
        // What the peer sent before it left is still reported.
        if (m_socket->bytesAvailable() > 0) {
            reportArrived(m_socket->readAll());
        }
        const bool wasOpen = isOpen();
        setOpen(false);
        // Each failed attempt of a reconnect is not a new close.
        if (wasOpen || !isReconnecting())
            handoff::post([&] { emit stateChanged(TcpClient, Closed); });
        if (m_autoReconnect && !m_closed) {
            setReconnecting(true);
            m_retry->start(m_retryMs);
            m_retryMs = qMin(2 * m_retryMs, kLastRetryMs);
        }
    }
}

void TcpClientChannel::onError(QAbstractSocket::SocketError error)
{
    // A peer that closes its end is the normal end of a connection, reported
    // by the state alone.
    if (error == QAbstractSocket::RemoteHostClosedError)
        return;
    // The first failure is told; the attempts of a reconnect are not.
    if (isReconnecting())
        return;
    handoff::post([&] { emit channelError(m_socket->errorString()); });
}

void TcpClientChannel::readAvailable()
{
    if (m_socket->bytesAvailable() <= 0 || !mayRead())
        return;
    const QByteArray bytes = m_socket->readAll();
    if (!bytes.isEmpty())
        reportArrived(bytes);
}
