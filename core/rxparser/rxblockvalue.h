#pragma once

#include "rxparser/rxvalue.h"

// A run of elements of type T that the frame carries but nobody reads.
template<typename T>
class RxBlockValue final : public RxValue
{
public:
    RxBlockValue(Endianness endian, std::size_t count)
        : RxValue(endian, count * sizeof(T), Skipped)
    {
    }

    bool Parse(const char *data, int available) override { return data && Fits(available); }
    Variant GetValue() const override { return Variant(0); }
    const char *GetData() const override { return nullptr; }
};
