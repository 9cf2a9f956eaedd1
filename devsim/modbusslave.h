#pragma once

#include <QByteArray>
#include <QVector>

// The register map and answers of a Modbus RTU slave: function 3 (read
// holding registers) and function 6 (write single register). Frames carry
// CRC-16/MODBUS, low byte first. Faults are answered as a real slave answers
// them: exception 1 for a function it does not serve, 2 for registers beyond
// its map, 3 for a bad quantity or frame length. Frames for another unit,
// and broadcasts (unit 0), get no answer; a broadcast write is still done.
class ModbusSlave
{
public:
    enum Exception : quint8 { IllegalFunction = 1, IllegalDataAddress = 2, IllegalDataValue = 3 };

    // Requests of functions 3 and 6: unit, function, two 16-bit words, CRC.
    static constexpr int FixedRequestSize = 8;

    ModbusSlave(quint8 unit, int registerCount);

    quint8 unit() const { return m_unit; }
    int registerCount() const { return m_registers.size(); }
    quint16 registerValue(int address) const { return m_registers.value(address); }
    void setRegister(int address, quint16 value);

    // The answer to one whole frame whose CRC is correct; empty when the
    // slave keeps silent.
    QByteArray answer(const QByteArray &frame);

    // The length of the request that starts the buffer when its function
    // has a fixed-length request (3 and 6: eight bytes), else 0.
    static int fixedRequestLength(const QByteArray &buffer);
    static bool hasValidCrc(const QByteArray &frame);
    static QByteArray withCrc(QByteArray frame);

private:
    QByteArray exception(quint8 function, Exception code) const;

    quint8 m_unit;
    QVector<quint16> m_registers;
};
