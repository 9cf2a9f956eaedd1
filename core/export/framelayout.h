#pragma once

#include "types/valuelimits.h"

#include <dorvane/coretypes.h>
#include <dorvane/crcparameters.h>

#include <string>
#include <vector>

class RxProtocol;
class TxProtocol;

// One enabled field as it lies in a frame, the common ground of the generators.
struct LayoutItem
{
    enum Role : int {
        Value,    // one element, decoded
        Elements, // several elements of the field's type (Array, DateTime)
        Bytes,    // a block: bytes the frame carries but nobody decodes
        HeadFlag, // constants that mark the head
        TailFlag, // constants that mark the tail
    };

    int fieldIndex = 0; // position in the protocol's field list, disabled fields counted
    std::string name;   // the field's name, unchanged
    int typeId = 3;
    int width = 4;
    Endianness endian = LittleEndian;
    Role role = Value;
    int count = 1;  // elements
    int offset = 0; // from the start of the frame
    int size = 4;
    float coefficient = 1.0f;
    std::string pattern; // flags: the constants' bytes in wire order

    bool IsFlag() const { return role == HeadFlag || role == TailFlag; }
};

struct FrameLayout
{
    std::vector<LayoutItem> items;
    int size = 0;
    // The leading run of head flags and the trailing run of tail flags, their bytes end to end;
    // frames are found by the head pattern.
    int headItems = 0;
    int tailItems = 0;
    std::string head;
    std::string tail;
    // Index into items of the checksum field, -1 without; it covers [crcBegin, crcEnd).
    int checksumItem = -1;
    int crcBegin = 0;
    int crcEnd = 0;
    CrcParameters crc;
};

// Frames larger than this are refused: no device frame comes near it, and generated code that
// spells out larger ones would be of no use.
constexpr int kMaxExportFrameSize = 16 * 1024 * 1024;

// The frame of one value column of a transmit protocol, sized as the frame stream sizes it.
bool BuildLayout(const TxProtocol *protocol, int column, FrameLayout &layout, std::string &error);
// The frame of a receive protocol, as the frame parser cuts and decodes it.
bool BuildLayout(const RxProtocol *protocol, FrameLayout &layout, std::string &error);
// Places the checksum; the field must be an integer field of the model's width.
bool PlaceChecksum(FrameLayout &layout, const FrameChecksum &checksum, std::string &error);

// What both generators start from: the layout of a transmit protocol's value
// column or of a receive protocol, with the checksum placed when one is given.
bool PrepareLayout(const TxProtocol *protocol, int column, const FrameChecksum *checksum, FrameLayout &layout,
                   std::string &error);
bool PrepareLayout(const RxProtocol *protocol, int column, const FrameChecksum *checksum, FrameLayout &layout,
                   std::string &error);

bool IsFloatType(int typeId);
bool IsSignedType(int typeId);
// The type's first name in the registry ("unsigned short").
const char *TypeName(int typeId);
