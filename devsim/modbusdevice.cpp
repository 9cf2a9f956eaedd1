#include "modbusdevice.h"

#include "endpoint.h"
#include "trafficlog.h"

#include <QTimer>

ModbusDevice::ModbusDevice(quint8 unit, int registerCount, QObject *parent)
    : Device(parent)
    , m_slave(unit, registerCount)
{
}

QString ModbusDevice::describe() const
{
    return QStringLiteral("modbus: RTU slave, unit %1, %2 holding registers (functions 3 and 6)")
        .arg(m_slave.unit())
        .arg(m_slave.registerCount());
}

void ModbusDevice::onAttached(Endpoint *endpoint)
{
    Line &line = m_lines[endpoint];
    line.silence = new QTimer(endpoint);
    line.silence->setSingleShot(true);
    line.silence->setInterval(SilenceMs);
    connect(line.silence, &QTimer::timeout, this, [this, endpoint] { frameEnded(endpoint); });
    connect(endpoint, &QObject::destroyed, this, [this, endpoint] { m_lines.remove(endpoint); });
}

void ModbusDevice::onReceived(Endpoint *endpoint, const QByteArray &bytes)
{
    Line &line = m_lines[endpoint];
    line.buffer.append(bytes);
    // Requests sent back to back need no silence between them.
    for (;;) {
        const int length = ModbusSlave::fixedRequestLength(line.buffer);
        if (length == 0 || line.buffer.size() < length || !ModbusSlave::hasValidCrc(line.buffer.left(length)))
            break;
        const QByteArray frame = line.buffer.left(length);
        line.buffer.remove(0, length);
        serve(endpoint, frame);
    }
    if (line.buffer.size() > MaxFrame) {
        TrafficLog::note(QStringLiteral("%1 %2 %3 bytes without a frame, dropped")
                             .arg(TrafficLog::stamp(), endpoint->name())
                             .arg(line.buffer.size()));
        line.buffer.clear();
    }
    if (line.buffer.isEmpty())
        line.silence->stop();
    else
        line.silence->start();
}

void ModbusDevice::frameEnded(Endpoint *endpoint)
{
    Line &line = m_lines[endpoint];
    const QByteArray frame = line.buffer;
    line.buffer.clear();
    if (frame.isEmpty())
        return;
    if (!ModbusSlave::hasValidCrc(frame)) {
        if (!TrafficLog::isQuiet())
            TrafficLog::note(QStringLiteral("%1 %2 frame of %3 bytes with a wrong CRC, ignored")
                                 .arg(TrafficLog::stamp(), endpoint->name())
                                 .arg(frame.size()));
        return;
    }
    serve(endpoint, frame);
}

void ModbusDevice::serve(Endpoint *endpoint, const QByteArray &frame)
{
    const QByteArray reply = m_slave.answer(frame);
    if (!reply.isEmpty())
        answer(endpoint, reply);
}
