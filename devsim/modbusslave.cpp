#include "modbusslave.h"

#include "model/checksum.h"

namespace {

const int kFixedRequest = ModbusSlave::FixedRequestSize;
// At most 125 registers a read: the answer then fills a 256-byte RTU frame.
const int kMaxReadQuantity = 125;

quint16 word(const QByteArray &frame, int offset)
{
    return quint16((quint8(frame.at(offset)) << 8) | quint8(frame.at(offset + 1)));
}

quint16 crcOf(const QByteArray &bytes)
{
    return quint16(computeCrc(Crc16Modbus, bytes));
}

} // namespace

ModbusSlave::ModbusSlave(quint8 unit, int registerCount)
    : m_unit(unit)
    , m_registers(registerCount, 0)
{
}

void ModbusSlave::setRegister(int address, quint16 value)
{
    if (address >= 0 && address < m_registers.size())
        m_registers[address] = value;
}

int ModbusSlave::fixedRequestLength(const QByteArray &buffer)
{
    if (buffer.size() < 2)
        return 0;
    const quint8 function = quint8(buffer.at(1));
    return function == 3 || function == 6 ? kFixedRequest : 0;
}

bool ModbusSlave::hasValidCrc(const QByteArray &frame)
{
    if (frame.size() < 4)
        return false;
    const quint16 crc = crcOf(frame.left(frame.size() - 2));
    return quint8(frame.at(frame.size() - 2)) == (crc & 0xff)
           && quint8(frame.at(frame.size() - 1)) == (crc >> 8);
}

QByteArray ModbusSlave::withCrc(QByteArray frame)
{
    const quint16 crc = crcOf(frame);
    frame.append(char(crc & 0xff));
    frame.append(char(crc >> 8));
    return frame;
}

QByteArray ModbusSlave::exception(quint8 function, Exception code) const
{
    QByteArray frame;
    frame.append(char(m_unit));
    frame.append(char(function | 0x80));
    frame.append(char(code));
    return withCrc(frame);
}

QByteArray ModbusSlave::answer(const QByteArray &frame)
{
    if (frame.size() < 4)
        return QByteArray();
    const quint8 unit = quint8(frame.at(0));
    const bool broadcast = unit == 0;
    if (!broadcast && unit != m_unit)
        return QByteArray();
    const quint8 function = quint8(frame.at(1));

    QByteArray reply;
    switch (function) {
    case 3: {
        if (frame.size() != kFixedRequest) {
            reply = exception(function, IllegalDataValue);
            break;
        }
        const int start = word(frame, 2);
        const int quantity = word(frame, 4);
        if (quantity < 1 || quantity > kMaxReadQuantity) {
            reply = exception(function, IllegalDataValue);
            break;
        }
        if (start + quantity > m_registers.size()) {
            reply = exception(function, IllegalDataAddress);
            break;
        }
        reply.append(char(m_unit));
        reply.append(char(function));
        reply.append(char(quantity * 2));
        for (int i = start; i < start + quantity; ++i) {
            reply.append(char(m_registers.at(i) >> 8));
            reply.append(char(m_registers.at(i) & 0xff));
        }
        reply = withCrc(reply);
        break;
    }
    case 6: {
        if (frame.size() != kFixedRequest) {
            reply = exception(function, IllegalDataValue);
            break;
        }
        const int address = word(frame, 2);
        if (address >= m_registers.size()) {
            reply = exception(function, IllegalDataAddress);
            break;
        }
        m_registers[address] = word(frame, 4);
        reply = frame; // the answer to a write repeats the request
        break;
    }
    default:
        reply = exception(function, IllegalFunction);
        break;
    }
    return broadcast ? QByteArray() : reply;
}
