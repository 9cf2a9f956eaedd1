#include "serialportchannel.h"
#include "handoff.h"
#include "serialline.h"

#include <QDir>
#include <QFileInfo>
#include <QTimer>

#include <cstddef>

namespace {

// The port's stop-bit and parity settings with their text in the profile;
// a value not in its table is refused when the channel is configured.
struct Named
{
    int value;
    const char *text;
};

constexpr Named kStopBits[]
    = {{QSerialPort::OneStop, "1"}, {QSerialPort::TwoStop, "2"}, {QSerialPort::OneAndHalfStop, "1.5"}};
constexpr Named kParities[] = {{QSerialPort::NoParity, "N"},
                               {QSerialPort::EvenParity, "E"},
                               {QSerialPort::OddParity, "O"},
                               {QSerialPort::SpaceParity, "S"},
                               {QSerialPort::MarkParity, "M"}};

template<std::size_t N>
const char *nameOf(const Named (&table)[N], int value)
{
    for (const Named &entry : table) {
        if (entry.value == value)
            return entry.text;
    }
    return nullptr;
}

template<std::size_t N>
QString textOf(const Named (&table)[N], int value)
{
    const char *text = nameOf(table, value);
    return QLatin1String(text ? text : "-");
}

bool isValidSerialRecord(const SerialChannelParams &p)
{
    const bool dataBits = p.dataBits >= QSerialPort::Data5 && p.dataBits <= QSerialPort::Data8;
    const bool flow = p.flowControl >= NoFlowControl && p.flowControl <= XonXoffFlowControl;
    return p.baudRate > 0 && dataBits && flow && nameOf(kStopBits, p.stopBits) && nameOf(kParities, p.parity);
}

// The modem lines change slowly to a person, quickly to a protocol; ten
// readings a second show a handshake without costing the worker anything.
constexpr int kPinPollMs = 100;
constexpr int kCounterPollMs = 1000;
// A returning device is looked for this often, so it is reopened well
// within a second of its return.
constexpr int kReconnectPollMs = 200;
constexpr int kMaxBreakMs = 5000;

const char *lineName(quint32 pin)
{
    return pin == PinRts ? "RTS" : "DTR";
}

// The /dev/serial/by-id link that points at the device, if any: a replugged
// adapter may come back under another ttyUSB number but keeps this name.
QString byIdLinkOf(const QString &device)
{
    const QString target = QFileInfo(device).canonicalFilePath();
    if (target.isEmpty())
        return QString();
    const QDir byId(QStringLiteral("/dev/serial/by-id"));
    const QFileInfoList links = byId.entryInfoList(QDir::System | QDir::Files | QDir::NoDotAndDotDot);
    for (const QFileInfo &link : links) {
        if (link.isSymLink() && link.canonicalFilePath() == target)
            return link.absoluteFilePath();
    }
    return QString();
}

} // namespace

SerialPortChannel::SerialPortChannel(QObject *parent)
    : Channel(parent)
    , m_port(new QSerialPort(this))
    , m_pinPoll(new QTimer(this))
    , m_counterPoll(new QTimer(this))
    , m_reconnect(new QTimer(this))
    , m_breakEnd(new QTimer(this))
{
    m_pinPoll->setInterval(kPinPollMs);
    connect(m_pinPoll, &QTimer::timeout, this, &SerialPortChannel::pollPins);
    m_counterPoll->setInterval(kCounterPollMs);
    connect(m_counterPoll, &QTimer::timeout, this, &SerialPortChannel::pollCounters);
    m_reconnect->setInterval(kReconnectPollMs);
    connect(m_reconnect, &QTimer::timeout, this, &SerialPortChannel::tryReopen);
    m_breakEnd->setSingleShot(true);
    m_breakEnd->setTimerType(Qt::PreciseTimer);
    connect(m_breakEnd, &QTimer::timeout, this, &SerialPortChannel::endBreak);
}

bool SerialPortChannel::configure(const ChannelParams &params)
{
    setParams(params);
    const auto *serial = dynamic_cast<const SerialChannelParams *>(&params);
    if (params.type != SerialPort || !serial)
        return false;
    // Values outside the port's enumerations are refused rather than cast.
    if (!isValidSerialRecord(*serial))
        return false;

    // QSerialPort takes a path beginning with '/' as it is, so any tty opens;
    // it reports such a port by its name below /dev, the profile by the path.
    m_givenName = serial->portName;
    m_portPath = serial->portName.startsWith(QLatin1Char('/')) ? serial->portName : QString();
    m_autoReconnect = serial->autoReconnect;
    m_requestedBaud = serial->baudRate;
    m_driven.store((serial->requestToSend ? PinRts : 0u) | (serial->dataTerminalReady ? PinDtr : 0u));
    m_port->setPortName(serial->portName);
    m_port->setBaudRate(serial->baudRate, QSerialPort::AllDirections);
    m_port->setDataBits(static_cast<QSerialPort::DataBits>(serial->dataBits));
    m_port->setStopBits(static_cast<QSerialPort::StopBits>(serial->stopBits));
    m_port->setParity(static_cast<QSerialPort::Parity>(serial->parity));
    m_port->setFlowControl(static_cast<QSerialPort::FlowControl>(serial->flowControl));
    updateProfile();
    return createPeriodTimer(params.timing);
}

QString SerialPortChannel::profile() const
{
    return m_profile.get();
}

void SerialPortChannel::updateProfile()
{
    const QString name = m_portPath.isEmpty() ? m_port->portName() : m_portPath;
    m_profile.set(QStringLiteral("%1,%2,%3,")
                      .arg(name)
                      .arg(m_port->baudRate(QSerialPort::AllDirections))
                      .arg(int(m_port->dataBits()))
                  + textOf(kStopBits, m_port->stopBits()) + QLatin1Char(',')
                  + textOf(kParities, m_port->parity()));
}

qint64 SerialPortChannel::pendingWrite() const
{
    return m_port->bytesToWrite();
}

QString SerialPortChannel::devicePath() const
{
    QString device = m_portPath.isEmpty() ? m_port->portName() : m_portPath;
#ifndef Q_OS_WIN
    if (!device.startsWith(QLatin1Char('/')))
        device.prepend(QStringLiteral("/dev/"));
#endif
    return device;
}

bool SerialPortChannel::open()
{
    if (m_port->isOpen())
        return isOpen();
    return openPort();
}

bool SerialPortChannel::openPort()
{
    const bool ok = m_port->open(QIODevice::ReadWrite);
    setOpen(ok);
    if (ok) {
        connect(m_port, &QSerialPort::readyRead, this, &SerialPortChannel::readAll);
        connect(m_port, &QSerialPort::errorOccurred, this, &SerialPortChannel::onError);
        afterOpen();
    }
    return ok;
}

void SerialPortChannel::afterOpen()
{
    m_told.clear();
    m_haveCounters = false;
    const int fd = int(m_port->handle());
    // The system raises both lines on open; a line asked to be low is
    // lowered, and a device that cannot do that is said to.
    const quint32 driven = m_driven.load();
    for (const quint32 pin : {PinRts, PinDtr}) {
        if (pin == PinRts && m_port->flowControl() == QSerialPort::HardwareControl)
            continue;
        const QString reason = serialline::setModemLine(fd, pin, driven & pin);
        if (!reason.isEmpty() && !(driven & pin))
            unavailable(QLatin1String(lineName(pin)), reason);
    }
    qint32 actual = 0;
    if (serialline::baudRate(fd, &actual).isEmpty() && actual > 0 && actual != m_requestedBaud)
        handoff::post([&] { emit baudRateMismatch(m_requestedBaud, actual); });
    if (m_byIdLink.isEmpty())
        m_byIdLink = byIdLinkOf(devicePath());
    pollPins();
    if (!m_told.contains(QStringLiteral("Modem lines")))
        m_pinPoll->start();
    pollCounters();
    if (!m_told.contains(QStringLiteral("Error counters")))
        m_counterPoll->start();
    updateProfile();
}

void SerialPortChannel::stopWatching()
{
    m_pinPoll->stop();
    m_counterPoll->stop();
    m_breakEnd->stop();
}

void SerialPortChannel::close()
{
    m_reconnect->stop();
    setReconnecting(false);
    if (!m_port->isOpen())
        return;
    stopWatching();
    setOpen(false);
    m_port->disconnect(this);
    m_port->close();
}

bool SerialPortChannel::write(const char *data, qint64 size)
{
    if (!isOpen() || !data || size <= 0)
        return false;
    if (m_port->write(data, size) <= 0)
        return false;
    reportWritten(data, size);
    return true;
}

void SerialPortChannel::setLine(quint32 pin, bool on)
{
    if (pin != PinRts && pin != PinDtr)
        return;
    if (on)
        m_driven.fetch_or(pin);
    else
        m_driven.fetch_and(~pin);
    // A closed port takes the state when it opens.
    if (!m_port->isOpen())
        return;
    const QString what = QLatin1String(lineName(pin));
    if (pin == PinRts && m_port->flowControl() == QSerialPort::HardwareControl) {
        m_told.remove(what);
        unavailable(what, tr("RTS/CTS flow control drives RTS"));
        return;
    }
    const QString reason = serialline::setModemLine(int(m_port->handle()), pin, on);
    if (!reason.isEmpty()) {
        // Asked for by the user, so said every time.
        m_told.remove(what);
        unavailable(what, reason);
        return;
    }
    pollPins();
}

void SerialPortChannel::sendBreak(int durationMs)
{
    if (!m_port->isOpen())
        return;
    const QString reason = serialline::setBreak(int(m_port->handle()), true);
    if (!reason.isEmpty()) {
        m_told.remove(QStringLiteral("Break"));
        unavailable(QStringLiteral("Break"), reason);
        return;
    }
    m_breakEnd->start(qBound(1, durationMs, kMaxBreakMs));
}

void SerialPortChannel::endBreak()
{
    if (m_port->isOpen())
        serialline::setBreak(int(m_port->handle()), false);
}

void SerialPortChannel::pollPins()
{
    if (!m_port->isOpen())
        return;
    quint32 pins = 0;
    const QString reason = serialline::modemLines(int(m_port->handle()), &pins);
    if (!reason.isEmpty()) {
        m_pinPoll->stop();
        unavailable(QStringLiteral("Modem lines"), reason);
        return;
    }
    if (m_pins.exchange(pins) != pins)
        handoff::post([&] { emit pinsChanged(pins); });
}

void SerialPortChannel::pollCounters()
{
    if (!m_port->isOpen())
        return;
    UartErrorCounts counts;
    const QString reason = serialline::errorCounts(int(m_port->handle()), &counts);
    if (!reason.isEmpty()) {
        m_counterPoll->stop();
        unavailable(QStringLiteral("Error counters"), tr("not available (%1)").arg(reason));
        return;
    }
    const bool changed = !m_haveCounters || counts.frame != m_counters.frame
                         || counts.overrun != m_counters.overrun || counts.parity != m_counters.parity
                         || counts.brk != m_counters.brk || counts.bufferOverrun != m_counters.bufferOverrun;
    m_haveCounters = true;
    m_counters = counts;
    if (changed)
        handoff::post([&] { emit uartErrorCountsChanged(counts); });
}

void SerialPortChannel::unavailable(const QString &what, const QString &reason)
{
    if (m_told.contains(what))
        return;
    m_told.insert(what);
    handoff::post([&] { emit lineUnavailable(what, reason); });
}

void SerialPortChannel::readAll()
{
    const QByteArray bytes = m_port->readAll();
    if (!bytes.isEmpty())
        reportArrived(bytes);
}

void SerialPortChannel::onError(QSerialPort::SerialPortError error)
{
    // A device that went away (an unplugged adapter, a hung-up terminal) is
    // closed so that the application sees the truth. The close runs once the
    // port has left its own notification, which it must not be deleted from.
    // A terminal that was hung up reads as end of file, which the port reports
    // as a read error, again on every notification; either way the device is
    // gone and the port would otherwise keep the worker spinning.
    if (error != QSerialPort::ResourceError && error != QSerialPort::ReadError)
        return;
    if (m_lossPending)
        return;
    m_lossPending = true;
    QMetaObject::invokeMethod(this, &SerialPortChannel::onDeviceLost, Qt::QueuedConnection);
}

void SerialPortChannel::onDeviceLost()
{
    m_lossPending = false;
    if (!m_port->isOpen())
        return;
    // Said in the user's words, with the system's own as the detail (a
    // hung-up line reads "Inappropriate ioctl for device").
    const QString message = tr("%1 was disconnected (%2)").arg(devicePath(), m_port->errorString());
    stopWatching();
    setOpen(false);
    m_port->disconnect(this);
    m_port->close();
    handoff::post([&] {
        emit stateChanged(SerialPort, Closed);
        emit channelError(message);
    });
    if (m_autoReconnect) {
        setReconnecting(true);
        m_reconnect->start();
    }
}

void SerialPortChannel::tryReopen()
{
    // The path as given first (a symlink such as one made by udev or socat
    // follows the device), then the by-id link, which names the same adapter
    // under whatever number it returns with.
    QStringList candidates{m_givenName};
    if (!m_byIdLink.isEmpty())
        candidates.append(m_byIdLink);
    for (const QString &candidate : qAsConst(candidates)) {
        QString path = candidate;
#ifndef Q_OS_WIN
        if (!path.startsWith(QLatin1Char('/')))
            path.prepend(QStringLiteral("/dev/"));
#endif
        if (!QFileInfo::exists(path))
            continue;
        const bool byId = candidate == m_byIdLink && candidate != m_givenName;
        const QString name = byId ? QFileInfo(path).canonicalFilePath() : candidate;
        m_port->setPortName(name);
        m_portPath = name.startsWith(QLatin1Char('/')) ? name : QString();
        if (openPort()) {
            m_reconnect->stop();
            handoff::post([&] { emit stateChanged(SerialPort, Opened); });
            setReconnecting(false);
            return;
        }
        m_port->clearError();
    }
}
