#pragma once

#include <dorvane/paramlist.h>

#include "generators/monotonicclock.h"
#include "generators/numberparams.h"
#include "types/numberconversion.h"

#include <cmath>
#include <cstdint>

// A sine wave between low and high with a period in milliseconds, starting at its minimum.
template<typename T>
class SineWaveGenerator
{
public:
    using ValueType = T;
    static constexpr bool kConstant = false;

    // Parameters: period, low, high[, coefficient]. A period of 0 or below has no wave.
    bool Setup(const ParamList &params)
    {
        if (!HasNumberParams(params, 3, 1)) {
            return false;
        }
        m_period = ConvertInt(params.ParamAt(0).value);
        if (m_period <= 0) {
            return false;
        }
        m_low = ConvertParam<T>(params.ParamAt(1).value);
        m_high = ConvertParam<T>(params.ParamAt(2).value);
        m_coefficient
            = params.Count() == 4 ? static_cast<double>(ParseLongDouble(params.ParamAt(3).value)) : 1.0;
        // Range and middle in double: wide or reversed integer bounds cannot wrap.
        const double low = static_cast<double>(m_low);
        const double high = static_cast<double>(m_high);
        m_amplitude = (high - low) / 2.0;
        m_middle = (high + low) / 2.0;
        m_angularStep = 6.2831852 / m_period;
        m_phase = 0.75 * m_period;
        return true;
    }

    T Next()
    {
        const std::int64_t now = MonotonicNanoseconds();
        if (m_restart) {
            m_startTime = now;
            m_restart = false;
            m_lastTick = -1;
        }
        const std::int64_t tick = (now - m_startTime) / 1000000;
        // The wave moves in whole milliseconds; within one the value stays.
        if (tick != m_lastTick) {
            m_lastTick = tick;
            const double v
                = (std::sin((static_cast<double>(tick) + m_phase) * m_angularStep) * m_amplitude + m_middle)
                  * m_coefficient;
            m_current = FromDouble<T>(v);
        }
        return m_current;
    }

    void Reset() { m_restart = true; }

private:
    T m_low{};
    T m_high{};
    int m_period = 0;
    double m_coefficient = 1.0;
    double m_amplitude = 0.0;
    double m_middle = 0.0;
    double m_angularStep = 0.0;
    double m_phase = 0.0;
    bool m_restart = true;
    std::int64_t m_startTime = 0;
    std::int64_t m_lastTick = -1;
    T m_current{};
};
