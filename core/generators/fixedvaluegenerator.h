#pragma once

#include <dorvane/paramlist.h>

#include "generators/numberparams.h"
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
        if (!HasNumberParams(params, 1)) {
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
