#include "model/checksum.h"

#include <algorithm>
#include <cstring>

namespace {

const Crc8Params kCrc8 = {0x07, 0x00, 0x00, false, false};
const Crc16Params kCrc16Arc = {0x8005, 0x0000, 0x0000, true, true};
const Crc16Params kCrc16Xmodem = {0x1021, 0x0000, 0x0000, false, false};
const Crc16Params kCrc16Modbus = {0x8005, 0xFFFF, 0x0000, true, true};

template<typename T>
T reflect(T value, int bits)
{
    T out = 0;
    for (int i = 0; i < bits; ++i) {
        out = T((out << 1) | (value & 1));
        value = T(value >> 1);
    }
    return out;
}

// One table-free CRC of width bits over the bytes; the reflected form shifts
// right with the bit-reversed polynomial.
template<typename T>
T crcBits(int bits, T poly, T init, T xorout, bool refin, bool refout, const QByteArray &bytes)
{
    const T top = T(T(1) << (bits - 1));
    const T mask = T(bits == int(sizeof(T) * 8) ? T(~T(0)) : T((T(1) << bits) - 1));
    T crc = init;
    if (refin) {
        const T reversed = reflect<T>(poly, bits);
        crc = reflect<T>(crc, bits);
        for (const char byte : bytes) {
            crc = T(crc ^ std::uint8_t(byte));
            for (int i = 0; i < 8; ++i)
                crc = T((crc & 1) ? T((crc >> 1) ^ reversed) : T(crc >> 1));
        }
        if (!refout)
            crc = reflect<T>(crc, bits);
    } else {
        for (const char byte : bytes) {
            crc = T(crc ^ T(T(std::uint8_t(byte)) << (bits - 8)));
            for (int i = 0; i < 8; ++i)
                crc = T(((crc & top) ? T((crc << 1) ^ poly) : T(crc << 1)) & mask);
        }
        if (refout)
            crc = reflect<T>(crc, bits);
    }
    return T((crc ^ xorout) & mask);
}

} // namespace

QStringList crcModelNames()
{
    return {QStringLiteral("CRC_8"),         QStringLiteral("CRC_16_ARC"), QStringLiteral("CRC_16_XMODEM"),
            QStringLiteral("CRC_16_MODBUS"), QStringLiteral("CRC_32"),     QStringLiteral("CRC_32_POSIX")};
}

CrcParameters crcModelParameters(int model)
{
    const QStringList names = crcModelNames();
    CrcParameters p;
    p.width = 0;
    if (model < 0 || model >= names.size())
        return p;
    p.name = names.at(model).toStdString();
    switch (model) {
    case Crc8:
        p = {p.name, 8, kCrc8.poly, kCrc8.init, kCrc8.refin, kCrc8.refout, kCrc8.xorout};
        break;
    case Crc16Arc:
    case Crc16Xmodem:
    case Crc16Modbus: {
        const Crc16Params &c = model == Crc16Arc      ? kCrc16Arc
                               : model == Crc16Xmodem ? kCrc16Xmodem
                                                      : kCrc16Modbus;
        p = {p.name, 16, c.poly, c.init, c.refin, c.refout, c.xorout};
        break;
    }
    case Crc32:
        p = {p.name, 32, 0x04C11DB7u, 0xFFFFFFFFu, true, true, 0xFFFFFFFFu};
        break;
    default:
        p = {p.name, 32, 0x04C11DB7u, 0x00000000u, false, false, 0xFFFFFFFFu};
        break;
    }
    return p;
}

int crcModelOf(const CrcParameters &parameters)
{
    for (int model = 0; model < crcModelNames().size(); ++model) {
        const CrcParameters p = crcModelParameters(model);
        if (p.name == parameters.name && p.width == parameters.width && p.poly == parameters.poly
            && p.init == parameters.init && p.refin == parameters.refin && p.refout == parameters.refout
            && p.xorout == parameters.xorout)
            return model;
    }
    return -1;
}

int crcModelWidth(int model)
{
    switch (model) {
    case Crc8:
        return 8;
    case Crc16Arc:
    case Crc16Xmodem:
    case Crc16Modbus:
        return 16;
    case Crc32:
    case Crc32Posix:
        return 32;
    }
    return 0;
}

std::uint8_t crc8(const Crc8Params &p, const QByteArray &bytes)
{
    return crcBits<std::uint8_t>(8, p.poly, p.init, p.xorout, p.refin, p.refout, bytes);
}

std::uint16_t crc16(const Crc16Params &p, const QByteArray &bytes)
{
    return crcBits<std::uint16_t>(16, p.poly, p.init, p.xorout, p.refin, p.refout, bytes);
}

std::uint32_t crc32(const QByteArray &bytes)
{
    return crcBits<std::uint32_t>(32, 0x04C11DB7u, 0xFFFFFFFFu, 0xFFFFFFFFu, true, true, bytes);
}

std::uint32_t crc32Posix(const QByteArray &bytes)
{
    return crcBits<std::uint32_t>(32, 0x04C11DB7u, 0, 0xFFFFFFFFu, false, false, bytes);
}

std::uint32_t computeCrc(int model, const QByteArray &bytes)
{
    switch (model) {
    case Crc8:
        return crc8(kCrc8, bytes);
    case Crc16Arc:
        return crc16(kCrc16Arc, bytes);
    case Crc16Xmodem:
        return crc16(kCrc16Xmodem, bytes);
    case Crc16Modbus:
        return crc16(kCrc16Modbus, bytes);
    case Crc32:
        return crc32(bytes);
    case Crc32Posix:
        return crc32Posix(bytes);
    }
    return 0;
}

namespace {

QString hexPairs(QByteArray bytes, bool littleEndian)
{
    // The bytes come least significant first.
    if (!littleEndian)
        std::reverse(bytes.begin(), bytes.end());
    return QString::fromLatin1(bytes.toHex(' ').toUpper());
}

} // namespace

QString checksumText(std::uint32_t value, int widthBits, bool littleEndian)
{
    QByteArray bytes;
    for (int i = 0; i < std::max(1, widthBits / 8); ++i)
        bytes.append(char((value >> (8 * i)) & 0xFF));
    return hexPairs(bytes, littleEndian);
}

QString numberToHex(const QString &input, int size, bool littleEndian)
{
    const QString text = input.trimmed();
    bool ok = false;
    QByteArray bytes;
    if (!text.contains(QLatin1Char('.'))) {
        quint64 value = text.toULongLong(&ok);
        if (!ok)
            value = quint64(text.toLongLong(&ok));
        if (!ok)
            return QStringLiteral("Nan");
        const int kept = std::clamp(size, 1, 8);
        for (int i = 0; i < kept; ++i)
            bytes.append(char((value >> (8 * i)) & 0xFF));
    } else if (size != 8) {
        const float value = text.toFloat(&ok);
        if (!ok)
            return QStringLiteral("Nan");
        bytes.resize(int(sizeof value));
        std::memcpy(bytes.data(), &value, sizeof value);
    } else {
        const double value = text.toDouble(&ok);
        if (!ok)
            return QStringLiteral("Nan");
        bytes.resize(int(sizeof value));
        std::memcpy(bytes.data(), &value, sizeof value);
    }
    // The host is little endian: the copied bytes already come least significant first.
    return hexPairs(bytes, littleEndian);
}

bool numberFits(const QString &input, int size)
{
    const QString text = input.trimmed();
    if (text.contains(QLatin1Char('.')) || size >= 8)
        return true;
    const int bits = 8 * std::clamp(size, 1, 8);
    bool ok = false;
    const quint64 value = text.toULongLong(&ok);
    if (ok)
        return value <= (quint64(1) << bits) - 1;
    const qint64 negative = text.toLongLong(&ok);
    if (!ok)
        return true;
    return negative >= -(qint64(1) << (bits - 1));
}
