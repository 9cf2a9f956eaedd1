#pragma once

#include "rxparser/rxvalue.h"

#include <cstring>
#include <string>
#include <utility>

// A head or tail tag: constants of type T that must appear byte for byte. The pattern already
// holds the constants in the field's byte order.
template<typename T>
class RxTagValue final : public RxValue
{
public:
    RxTagValue(Kind kind, Endianness endian, std::string pattern)
        : RxValue(endian, pattern.size(), kind)
        , m_pattern(std::move(pattern))
    {
    }

    bool Parse(const char *data, int available) override
    {
        return data && Fits(available) && std::memcmp(data, m_pattern.data(), m_pattern.size()) == 0;
    }

    Variant GetValue() const override { return Variant(0); }
    const char *GetData() const override { return m_pattern.data(); }

private:
    std::string m_pattern;
};
