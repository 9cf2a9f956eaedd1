#pragma once

#include <dorvane/coretypes.h>
#include <dorvane/paramlist.h>

#include "generators/valuelist.h"
#include "types/hostendian.h"

#include <vector>

// The listed values, all at once.
template<typename T>
class ArrayValueGenerator
{
public:
    using ValueType = T;
    static constexpr bool kConstant = true;

    bool Setup(const ParamList &params, std::vector<T> &elements)
    {
        m_order = HostEndian();
        return MakeValueList(params, elements);
    }

    // Idempotent: the elements are brought into the order, not blindly reversed.
    void ApplyEndian(std::vector<T> &elements, Endianness endian)
    {
        if (endian == m_order) {
            return;
        }
        for (T &element : elements) {
            element = ReverseBytes(element);
        }
        m_order = endian;
    }

    void Update(std::vector<T> &, Endianness) {}
    void Reset() {}

private:
    Endianness m_order = LittleEndian;
};
