#pragma once

#include <dorvane/coretypes.h>
#include <dorvane/paramlist.h>

#include "generators/valuelist.h"
#include "types/hostendian.h"
#include "types/numberconversion.h"
#include "types/valuelimits.h"

#include <cstddef>
#include <vector>

// count copies of one fill value.
template<typename T>
class BlockGenerator
{
public:
    using ValueType = T;
    static constexpr bool kConstant = true;

    bool Setup(const ParamList &params, std::vector<T> &elements)
    {
        m_count = BlockCount(params);
        if (m_count < 1
            || static_cast<std::size_t>(m_count) > static_cast<std::size_t>(kMaxValueBytes) / sizeof(T)) {
            return false;
        }
        m_fill = T{};
        if (params.Count() == 2 && params.ParamAt(1).type == ParamList::Number) {
            m_fill = ConvertParam<T>(params.ParamAt(1).value);
        }
        m_order = HostEndian();
        elements.assign(static_cast<std::size_t>(m_count), m_fill);
        return true;
    }

    void ApplyEndian(std::vector<T> &elements, Endianness endian)
    {
        if (endian == m_order) {
            return;
        }
        m_fill = ReverseBytes(m_fill);
        elements.assign(static_cast<std::size_t>(m_count), m_fill);
        m_order = endian;
    }

    void Update(std::vector<T> &, Endianness) {}
    void Reset() {}

private:
    T m_fill{};
    int m_count = 0;
    Endianness m_order = LittleEndian;
};
