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
    if (line.buffer.isEmpty())
        line.pending.start();
    line.buffer.append(bytes);
    // Requests sent back to back need no silence between them, and a whole
    // request with a good CRC is found behind noise or a broken frame (whose
    // bytes are then dropped, as a slave drops a frame with a wrong CRC).
    for (int at = 0; at + ModbusSlave::FixedRequestSize <= line.buffer.size();) {
        const QByteArray rest = line.buffer.mid(at);
        const int length = ModbusSlave::fixedRequestLength(rest);
        if (length == 0 || rest.size() < length || !ModbusSlave::hasValidCrc(rest.left(length))) {
            ++at;
            continue;
        }
        if (at > 0 && !TrafficLog::isQuiet())
            TrafficLog::note(QStringLiteral("%1 %2 %3 bytes before a request, ignored")
                                 .arg(TrafficLog::stamp(), endpoint->name())
                                 .arg(at));
        line.buffer.remove(0, at + length);
        line.pending.start();
        at = 0;
        serve(endpoint, rest.left(length));
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
    // A TCP segment or a pseudo-terminal read may split a request for longer
    // than a line's silence: the start of a fixed-length request waits for
    // its rest a while.
    const int length = ModbusSlave::fixedRequestLength(line.buffer);
    if ((line.buffer.size() < 2 || (length > 0 && line.buffer.size() < length))
        && line.pending.elapsed() < IncompleteWaitMs) {
        line.silence->start();
        return;
    }
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
