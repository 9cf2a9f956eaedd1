#pragma once

#include "rxparser/rxvalue.h"
#include "types/hostendian.h"

#include <cstring>

// A measured value: one element of type T, read unaligned in the field's byte order.
template<typename T>
class RxFixedValue final : public RxValue
{
public:
    explicit RxFixedValue(Endianness endian)
        : RxValue(endian, sizeof(T), Measured)
        , m_value()
    {
    }

    bool Parse(const char *data, int available) override
    {
        if (!data || !Fits(available)) {
            return false;
        }
        T raw;
        std::memcpy(&raw, data, sizeof(T));
        m_value = InByteOrder(raw, GetEndian());
        return true;
    }

    Variant GetValue() const override { return Variant(m_value); }
    const char *GetData() const override { return reinterpret_cast<const char *>(&m_value); }

private:
    T m_value;
};
