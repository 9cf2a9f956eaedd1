#pragma once

#include <dorvane/paramlist.h>

#include "generators/monotonicclock.h"
#include "generators/numberparams.h"
#include "types/numberconversion.h"

#include <cstdint>

// A square wave: the first value for one period, then the second, alternating every period
// (milliseconds). At most one toggle per Update; a longer gap is carried over.
template<typename T>
class HeavisideGenerator
{
public:
    using ValueType = T;
    static constexpr bool kConstant = false;

    // Parameters: period, first, second[, coefficient]. A period of 0 toggles on every Update;
    // a negative period has no wave.
    bool Setup(const ParamList &params)
    {
        if (!HasNumberParams(params, 3, 1)) {
            return false;
        }
        m_period = ConvertInt(params.ParamAt(0).value);
        if (m_period < 0) {
            return false;
        }
        m_first = ConvertParam<T>(params.ParamAt(1).value);
        m_second = ConvertParam<T>(params.ParamAt(2).value);
        m_coefficient
            = params.Count() == 4 ? static_cast<double>(ParseLongDouble(params.ParamAt(3).value)) : 1.0;
        m_firstOut = FromDouble<T>(static_cast<double>(m_first) * m_coefficient);
        m_secondOut = FromDouble<T>(static_cast<double>(m_second) * m_coefficient);
        return true;
    }

    T Next()
    {
        const std::int64_t now = MonotonicNanoseconds();
        if (m_restart) {
            m_startTime = now;
            m_restart = false;
        }
        const std::int64_t periodNs = static_cast<std::int64_t>(m_period) * 1000000;
        const std::int64_t elapsed = now - m_startTime + m_carry;
        if (elapsed >= periodNs) {
            m_carry = elapsed - periodNs;
            m_level = !m_level;
            m_startTime = now;
        }
        return m_level ? m_firstOut : m_secondOut;
    }

    void Reset()
    {
        m_level = true;
        m_restart = true;
        m_carry = 0;
    }

private:
    T m_first{};
    T m_second{};
    int m_period = 0;
    double m_coefficient = 1.0;
    bool m_level = true;
    bool m_restart = true;
    std::int64_t m_carry = 0;
    std::int64_t m_startTime = 0;
    T m_firstOut{};
    T m_secondOut{};
};
