#include <dorvane/channelproxy.h>

#include "channel.h"
#include "handoff.h"
#include "serialportchannel.h"
#include "tcpclientchannel.h"
#include "tcpserverchannel.h"
#include "transferqueue.h"
#include "udpchannel.h"

#include <limits>

ChannelProxy::ChannelProxy(QObject *parent)
    : QObject(parent)
{
    qRegisterMetaType<ChannelType>("ChannelType");
    qRegisterMetaType<ChanneState>("ChanneState");
    qRegisterMetaType<ChannelChunk>("ChannelChunk");
    qRegisterMetaType<UartErrorCounts>("UartErrorCounts");
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
    if (m_spinMarginUs >= 0)
        m_channel->setSpinMarginUs(m_spinMarginUs);
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

namespace {

// A value handed to the worker must share no data with the caller: the
// sanitizer does not see the reference counts of copies made while a request
// is posted, so a shared buffer freed by the caller later would read as a race.
template<typename T>
T unshared(const T &value)
{
    T copy(value);
    copy.detach();
    return copy;
}

} // namespace

template<typename Call>
void ChannelProxy::queueToChannel(Call &&call)
{
    const handoff::Posting posting;
    QMetaObject::invokeMethod(m_channel, std::forward<Call>(call), Qt::QueuedConnection);
}

bool ChannelProxy::writeTo(const QString &client, const char *data, qint64 size)
{
    auto *server = qobject_cast<TcpServerChannel *>(m_channel);
    if (!server)
        return false;
    if (!data || size <= 0)
        return true;
    QByteArray bytes(data, int(qMin<qint64>(size, std::numeric_limits<int>::max())));
    if (QThread::currentThread() == server->thread())
        server->writeTo(client, bytes);
    else
        queueToChannel(
            [server, to = unshared(client), bytes = std::move(bytes)] { server->writeTo(to, bytes); });
    return true;
}

void ChannelProxy::setSendTarget(const QString &client)
{
    auto *server = qobject_cast<TcpServerChannel *>(m_channel);
    if (!server)
        return;
    // Queued like the writes, so that every write queued before it still
    // goes where it was meant to.
    queueToChannel([server, to = unshared(client)] { server->setSendTarget(to); });
}

quint64 ChannelProxy::writePaced(const QByteArray &bytes, int charDelayMs, int lineDelayMs)
{
    if (!m_channel)
        return 0;
    const quint64 id = ++m_lastSendId;
    TransferQueue *queue = m_channel->transfers();
    queueToChannel([queue, id, copy = unshared(bytes), charDelayMs, lineDelayMs] {
        queue->sendPaced(id, copy, charDelayMs, lineDelayMs);
    });
    return id;
}

quint64 ChannelProxy::sendFile(const QString &path, int chunkSize, int delayMs)
{
    if (!m_channel)
        return 0;
    const quint64 id = ++m_lastSendId;
    TransferQueue *queue = m_channel->transfers();
    queueToChannel([queue, id, file = unshared(path), chunkSize, delayMs] {
        queue->sendFile(id, file, chunkSize, delayMs);
    });
    return id;
}

void ChannelProxy::cancelSend(quint64 id)
{
    if (!m_channel)
        return;
    TransferQueue *queue = m_channel->transfers();
    queueToChannel([queue, id] { queue->cancel(id); });
}

void ChannelProxy::setRequestToSend(bool on)
{
    if (auto *serial = qobject_cast<SerialPortChannel *>(m_channel))
        queueToChannel([serial, on] { serial->setLine(PinRts, on); });
}

void ChannelProxy::setDataTerminalReady(bool on)
{
    if (auto *serial = qobject_cast<SerialPortChannel *>(m_channel))
        queueToChannel([serial, on] { serial->setLine(PinDtr, on); });
}

bool ChannelProxy::requestToSend() const
{
    auto *serial = qobject_cast<SerialPortChannel *>(m_channel);
    return serial && (serial->driven() & PinRts);
}

bool ChannelProxy::dataTerminalReady() const
{
    auto *serial = qobject_cast<SerialPortChannel *>(m_channel);
    return serial && (serial->driven() & PinDtr);
}

quint32 ChannelProxy::serialPins() const
{
    auto *serial = qobject_cast<SerialPortChannel *>(m_channel);
    return serial ? serial->pins() : 0;
}

void ChannelProxy::sendBreak(int durationMs)
{
    if (auto *serial = qobject_cast<SerialPortChannel *>(m_channel))
        queueToChannel([serial, durationMs] { serial->sendBreak(durationMs); });
}

bool ChannelProxy::isReconnecting() const
{
    return m_channel && m_channel->isReconnecting();
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

int ChannelProxy::periodSendPeriod() const
{
    return m_channel ? m_channel->period() : 0;
}

void ChannelProxy::setSpinMarginUs(int us)
{
    m_spinMarginUs = qMax(us, 0);
    if (m_channel)
        m_channel->setSpinMarginUs(m_spinMarginUs);
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
    // Sends in progress end, reported as cut short, before the device closes.
    connect(this, &ChannelProxy::sigClose, ch, &Channel::abortTransfers, Qt::BlockingQueuedConnection);
    connect(this, &ChannelProxy::sigClose, ch, &Channel::close, Qt::BlockingQueuedConnection);
    connect(this, &ChannelProxy::sigStartPeriodSend, ch, &Channel::startPeriodSend);
    connect(this, &ChannelProxy::sigStopPeriodSend, ch, &Channel::stopPeriodSend);
    // Relayed without blocking: the worker may emit it while this thread waits
    // in a blocking open or close, and a blocking relay would then deadlock.
    connect(ch, &Channel::periodSendStateChanged, this, &ChannelProxy::periodSendStateChanged);
    connect(this, &ChannelProxy::sigWrite, ch, &Channel::writeBytes);
    connect(ch, &Channel::stateChanged, this, &ChannelProxy::stateChanged);
    connect(ch, &Channel::chunkWritten, this, [this](const ChannelChunk &chunk) {
        emit bytesWritten(chunk.time, chunk.bytes);
        emit chunkWritten(chunk);
    });
    connect(ch, &Channel::chunksArrived, this,
            [this, taken = ch->arrivalTaker()](const QVector<ChannelChunk> &chunks) {
                for (const ChannelChunk &chunk : chunks) {
                    if (taken)
                        taken(chunk.bytes.size());
                    emit bytesArrived(chunk.time, chunk.bytes);
                    emit chunkArrived(chunk);
                }
            });
    connect(ch, &Channel::channelError, this, &ChannelProxy::channelError);
    connect(ch, &Channel::reconnectingChanged, this, &ChannelProxy::reconnectingChanged);
    connect(ch->transfers(), &TransferQueue::progress, this, &ChannelProxy::sendProgress);
    connect(ch->transfers(), &TransferQueue::finished, this, &ChannelProxy::sendFinished);
    connect(&m_thread, &QThread::finished, ch, &QObject::deleteLater);
    if (auto *server = qobject_cast<TcpServerChannel *>(ch)) {
        connect(server, &TcpServerChannel::connected, this, &ChannelProxy::tcpClientConnected);
        connect(server, &TcpServerChannel::disconnected, this, &ChannelProxy::tcpClientDisconnected);
        connect(server, &TcpServerChannel::waiting, this, &ChannelProxy::tcpClientWaiting);
    }
    if (auto *serial = qobject_cast<SerialPortChannel *>(ch)) {
        connect(serial, &SerialPortChannel::pinsChanged, this, &ChannelProxy::serialPinsChanged);
        connect(serial, &SerialPortChannel::lineUnavailable, this, &ChannelProxy::serialLineUnavailable);
        connect(serial, &SerialPortChannel::baudRateMismatch, this, &ChannelProxy::baudRateMismatch);
        connect(serial, &SerialPortChannel::uartErrorCountsChanged, this,
                &ChannelProxy::uartErrorCountsChanged);
    }
}
