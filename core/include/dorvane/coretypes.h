#pragma once
// The closed vocabulary that every part of the protocol core shares.

#include <dorvane/core_export.h>

// Byte order of a field's values on the wire.
enum Endianness : int {
    BigEndian = 0,
    LittleEndian = 1,
};

// How a transmit value evolves from one frame to the next.
enum ValueGeneratorType : int {
    Fixed = 0,
    Random = 1,
    Sequence = 2,
    Scatter = 3,
    Array = 4,
    Block = 5,
    DateTime = 6,
    Sin = 7,
    Step = 8,
};

// The byte order of this process; values whose field order differs are byte-reversed.
DORVANE_CORE_EXPORT Endianness GetHostEndian();
