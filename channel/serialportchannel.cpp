#include "serialportchannel.h"
#include "handoff.h"

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
    return p.baudRate > 0 && dataBits && nameOf(kStopBits, p.stopBits) && nameOf(kParities, p.parity);
}

} // namespace

SerialPortChannel::SerialPortChannel(QObject *parent)
    : Channel(parent)
    , m_port(new QSerialPort(this))
{
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
    m_portPath = serial->portName.startsWith(QLatin1Char('/')) ? serial->portName : QString();
    m_port->setPortName(serial->portName);
    m_port->setBaudRate(serial->baudRate, QSerialPort::AllDirections);
    m_port->setDataBits(static_cast<QSerialPort::DataBits>(serial->dataBits));
    m_port->setStopBits(static_cast<QSerialPort::StopBits>(serial->stopBits));
    m_port->setParity(static_cast<QSerialPort::Parity>(serial->parity));
    return createPeriodTimer(params.timing);
}

QString SerialPortChannel::profile() const
{
    const QString name = m_portPath.isEmpty() ? m_port->portName() : m_portPath;
    return QStringLiteral("%1,%2,%3,")
               .arg(name)
               .arg(m_port->baudRate(QSerialPort::AllDirections))
               .arg(int(m_port->dataBits()))
           + textOf(kStopBits, m_port->stopBits()) + QLatin1Char(',') + textOf(kParities, m_port->parity());
}

bool SerialPortChannel::open()
{
    if (m_port->isOpen())
        return isOpen();
    const bool ok = m_port->open(QIODevice::ReadWrite);
    setOpen(ok);
    if (ok) {
        connect(m_port, &QSerialPort::readyRead, this, &SerialPortChannel::readAll);
        connect(m_port, &QSerialPort::errorOccurred, this, &SerialPortChannel::onError);
    }
    return ok;
}

void SerialPortChannel::close()
{
    if (!m_port->isOpen())
        return;
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
    QString device = m_portPath.isEmpty() ? m_port->portName() : m_portPath;
#ifndef Q_OS_WIN
    if (!device.startsWith(QLatin1Char('/')))
        device.prepend(QStringLiteral("/dev/"));
#endif
    const QString message = tr("%1 was disconnected (%2)").arg(device, m_port->errorString());
    close();
    handoff::post([&] {
        emit stateChanged(SerialPort, Closed);
        emit channelError(message);
    });
}
