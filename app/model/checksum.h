#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <dorvane/app_export.h>
#include <dorvane/crcparameters.h>

#include <cstdint>

// The arithmetic behind the transmit window's calculator and checksum bars.

// Parameters of an 8-bit CRC model.
struct Crc8Params
{
    std::uint8_t poly;
    std::uint8_t init;
    std::uint8_t xorout;
    bool refin;
    bool refout;
};

// Parameters of a 16-bit CRC model.
struct Crc16Params
{
    std::uint16_t poly;
    std::uint16_t init;
    std::uint16_t xorout;
    bool refin;
    bool refout;
};

// The CRC models in the order the checksum bar offers them.
enum CrcModel : int {
    Crc8 = 0,
    Crc16Arc = 1,
    Crc16Xmodem = 2,
    Crc16Modbus = 3,
    Crc32 = 4,
    Crc32Posix = 5,
};

DORVANE_APP_EXPORT QStringList crcModelNames();
// Bits of the model's checksum: 8, 16 or 32; 0 for an unknown model.
DORVANE_APP_EXPORT int crcModelWidth(int model);
// The model's catalogue parameters under its name; width 0 for an unknown model.
DORVANE_APP_EXPORT CrcParameters crcModelParameters(int model);
// The catalogue model with that name and those parameters, -1 for none.
DORVANE_APP_EXPORT int crcModelOf(const CrcParameters &parameters);

DORVANE_APP_EXPORT std::uint8_t crc8(const Crc8Params &params, const QByteArray &bytes);
DORVANE_APP_EXPORT std::uint16_t crc16(const Crc16Params &params, const QByteArray &bytes);
DORVANE_APP_EXPORT std::uint32_t crc32(const QByteArray &bytes);
DORVANE_APP_EXPORT std::uint32_t crc32Posix(const QByteArray &bytes);
DORVANE_APP_EXPORT std::uint32_t computeCrc(int model, const QByteArray &bytes);

// The checksum as upper-case hex pairs, always the model's full width (a
// 16-bit 0x00AB is "00 AB"), least significant byte first when littleEndian.
DORVANE_APP_EXPORT QString checksumText(std::uint32_t value, int widthBits, bool littleEndian);

// The bytes of a decimal number as upper-case hex pairs: an integer (read as
// unsigned, else signed 64-bit) cut to size bytes, or a number with a point
// as a float (size 4) or a double (size 8). "Nan" when the text is not a
// number. littleEndian false reverses the bytes.
DORVANE_APP_EXPORT QString numberToHex(const QString &text, int size, bool littleEndian);

// Whether an integer text fits size bytes, unsigned or, when negative, as a
// two's complement number; texts with a point and non-numbers count as fitting
// (numberToHex says "Nan" for those).
DORVANE_APP_EXPORT bool numberFits(const QString &text, int size);
