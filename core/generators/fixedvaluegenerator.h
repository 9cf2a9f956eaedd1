#pragma once

#include <dorvane/paramlist.h>

#include "types/numberconversion.h"

// A constant: the first parameter.
template<typename T>
class FixedValueGenerator
{
public:
    using ValueType = T;
    static constexpr bool kConstant = true;

    bool Setup(const ParamList &params)
    {
        if (params.Count() < 1 || params.ParamAt(0).type != ParamList::Number) {
            return false;
        }
        m_value = ConvertParam<T>(params.ParamAt(0).value);
        return true;
    }

    T Next() { return m_value; }
    void Reset() {}

private:
    T m_value{};
};
