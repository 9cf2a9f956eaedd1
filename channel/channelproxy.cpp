#include <dorvane/channelproxy.h>

#include "channel.h"
#include "handoff.h"
#include "serialportchannel.h"
#include "tcpclientchannel.h"
#include "tcpserverchannel.h"
#include "udpchannel.h"

#include <limits>

ChannelProxy::ChannelProxy(QObject *parent)
    : QObject(parent)
{
    qRegisterMetaType<ChannelType>("ChannelType");
    qRegisterMetaType<ChanneState>("ChanneState");
}

ChannelProxy::~ChannelProxy()
{
    close();
}

bool ChannelProxy::open(const ChannelParams &params)
{
    close();

    Channel *channel = createChannel(params.type);
    if (!channel)
        return false;
    if (!channel->configure(params)) {
        delete channel;
        return false;
    }

    m_channel = channel;
    m_channel->moveToThread(&m_thread);
    connectEvents();
    m_thread.start(params.timing == HighResolutionTiming ? QThread::HighestPriority
                                                         : QThread::InheritPriority);
    {
        const handoff::Posting posting;
        emit sigOpen();
    }
    handoff::takeOver();
    return m_channel->isOpen();
}

void ChannelProxy::close()
{
    // A high-resolution loop must not hold the blocking close until its next tick.
    if (m_channel)
        m_channel->requestLeave();
    {
        const handoff::Posting posting;
        emit sigClose();
    }
    handoff::takeOver();
    dropChannel();
}

void ChannelProxy::dropChannel()
{
    if (!m_channel)
        return;
    m_thread.quit();
    m_thread.wait();
    handoff::takeOver();
    // The channel was deleted on the worker when the thread finished.
    m_channel = nullptr;
}

bool ChannelProxy::isOpen() const
{
    return m_channel && m_channel->isOpen();
}

bool ChannelProxy::write(const char *data, qint64 size)
{
    if (!m_channel || !data || size <= 0)
        return true;
    if (QThread::currentThread() == m_channel->thread())
        m_channel->write(data, size);
    else {
        const handoff::Posting posting;
        emit sigWrite(QByteArray(data, int(qMin<qint64>(size, std::numeric_limits<int>::max()))));
    }
    return true;
}

void ChannelProxy::startPeriodSend(IPeriodSendCallback *callback, int period)
{
    if (m_channel)
        m_channel->setPeriodSend(callback, period);
    const handoff::Posting posting;
    emit sigStartPeriodSend();
}

void ChannelProxy::startPeriodSend(IPeriodSendCallback *, TimingStrategy, int)
{
}

void ChannelProxy::stopPeriodSend()
{
    if (m_channel)
        m_channel->requestStop();
    const handoff::Posting posting;
    emit sigStopPeriodSend();
}

void ChannelProxy::releasePeriodSendCallback(IPeriodSendCallback *callback)
{
    if (!m_channel || QThread::currentThread() == m_channel->thread())
        return;
    // A start still queued would otherwise run on without a callback.
    if (m_channel->releasePeriodSend(callback))
        stopPeriodSend();
}

bool ChannelProxy::isPeriodSendRun() const
{
    return m_channel && m_channel->isPeriodSendRun();
}

const ChannelParams &ChannelProxy::channelParams() const
{
    // Callers ask isOpen() first; without a channel they get a harmless default.
    static const ChannelParams none;
    return m_channel ? m_channel->params() : none;
}

QString ChannelProxy::channelProfile() const
{
    return m_channel ? m_channel->profile() : QString();
}

bool ChannelProxy::event(QEvent *event)
{
    handoff::takeOver();
    return QObject::event(event);
}

Channel *ChannelProxy::createChannel(ChannelType type) const
{
    switch (type) {
    case SerialPort:
        return new SerialPortChannel;
    case Udp:
        return new UdpChannel;
    case TcpClient:
        return new TcpClientChannel;
    case TcpServer:
        return new TcpServerChannel;
    }
    return nullptr;
}

void ChannelProxy::connectEvents()
{
    Channel *ch = m_channel;
    connect(this, &ChannelProxy::sigOpen, ch, &Channel::open, Qt::BlockingQueuedConnection);
    connect(this, &ChannelProxy::sigClose, ch, &Channel::close, Qt::BlockingQueuedConnection);
    connect(this, &ChannelProxy::sigStartPeriodSend, ch, &Channel::startPeriodSend);
    connect(this, &ChannelProxy::sigStopPeriodSend, ch, &Channel::stopPeriodSend);
    // Relayed without blocking: the worker may emit it while this thread waits
    // in a blocking open or close, and a blocking relay would then deadlock.
    connect(ch, &Channel::periodSendStateChanged, this, &ChannelProxy::periodSendStateChanged);
    connect(this, &ChannelProxy::sigWrite, ch, &Channel::writeBytes);
    connect(ch, &Channel::stateChanged, this, &ChannelProxy::stateChanged);
    connect(ch, &Channel::bytesWritten, this, &ChannelProxy::bytesWritten);
    if (const auto taken = ch->arrivalTaker()) {
        connect(ch, &Channel::bytesArrived, this,
                [this, taken](const QDateTime &dt, const QByteArray &bytes) {
                    taken(bytes.size());
                    emit bytesArrived(dt, bytes);
                });
    } else {
        connect(ch, &Channel::bytesArrived, this, &ChannelProxy::bytesArrived);
    }
    connect(ch, &Channel::channelError, this, &ChannelProxy::channelError);
    connect(&m_thread, &QThread::finished, ch, &QObject::deleteLater);
    if (auto *server = qobject_cast<TcpServerChannel *>(ch)) {
        connect(server, &TcpServerChannel::connected, this, &ChannelProxy::tcpClientConnected);
        connect(server, &TcpServerChannel::disconnected, this, &ChannelProxy::tcpClientDisconnected);
    }
}
