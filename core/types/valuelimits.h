#pragma once

// No single value may occupy more than this in a frame: a parameter text must never make the
// library allocate without bound.
constexpr long long kMaxValueBytes = 16LL * 1024 * 1024;

// Width in bytes of the registered data type ids, 0 for an id that is not registered.
constexpr int TypeWidth(int typeId)
{
    switch (typeId) {
    case 1:
    case 10:
        return 1;
    case 2:
    case 11:
        return 2;
    case 3:
    case 12:
    case 20:
        return 4;
    case 21:
        return 8;
    default:
        return 0;
    }
}
