#pragma once

#include <dorvane/core_export.h>

#include <cstddef>
#include <cstdint>
#include <string>

// A CRC model in the catalogue's terms. Widths of 8, 16 and 32 bits are supported: a checksum
// always fills one integer field of the frame.
struct CrcParameters
{
    std::string name;
    int width = 16;
    std::uint32_t poly = 0;
    std::uint32_t init = 0;
    bool refin = false;
    bool refout = false;
    std::uint32_t xorout = 0;
};

// The CRC of the bytes under the model, bit by bit as the catalogue defines it.
DORVANE_CORE_EXPORT std::uint32_t ComputeCrc(const CrcParameters &model, const unsigned char *data,
                                             std::size_t size);
// The model's check value: its CRC over the ASCII text "123456789".
DORVANE_CORE_EXPORT std::uint32_t CrcCheckValue(const CrcParameters &model);

// Where a frame carries its checksum: the field that holds it (an index into the protocol's
// field list) and the first field it covers; the checksum covers every byte from that field up
// to the checksum field itself.
struct FrameChecksum
{
    CrcParameters model;
    int field = -1;
    int firstCoveredField = 0;
};
