#pragma once

#include <dorvane/paramlist.h>

#include "generators/valuelist.h"

#include <cstddef>
#include <vector>

// The listed values in order, cyclically.
template<typename T>
class ScatterValueGenerator
{
public:
    using ValueType = T;
    static constexpr bool kConstant = false;

    bool Setup(const ParamList &params) { return MakeValueList(params, m_values); }

    T Next()
    {
        const T value = m_values[m_next];
        m_next = m_next + 1 == m_values.size() ? 0 : m_next + 1;
        return value;
    }

    void Reset() { m_next = 0; }

private:
    std::vector<T> m_values;
    std::size_t m_next = 0;
};
