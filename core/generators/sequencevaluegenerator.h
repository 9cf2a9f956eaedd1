#pragma once

#include <dorvane/paramlist.h>

#include "generators/numberparams.h"
#include "types/numberconversion.h"

#include <type_traits>

// start, start + step, start + 2 step, ... in the arithmetic of T (integers wrap); with an
// end it restarts at start when it leaves the range between start and end.
template<typename T>
class SequenceValueGeneraotr
{
public:
    using ValueType = T;
    static constexpr bool kConstant = false;

    bool Setup(const ParamList &params)
    {
        if (!HasNumberParams(params, 2, 1)) {
            return false;
        }
        m_start = ConvertParam<T>(params.ParamAt(0).value);
        m_step = ConvertParam<T>(params.ParamAt(1).value);
        m_bounded = params.Count() == 3;
        if (m_bounded) {
            m_end = ConvertParam<T>(params.ParamAt(2).value);
        }
        m_current = m_start;
        return true;
    }

    T Next()
    {
        const T emitted = m_current;
        T next = Add(m_current, m_step);
        if (m_bounded) {
            if (m_start < m_end) {
                if (next > m_end || next < m_start) {
                    next = m_start;
                }
            } else if (m_end < m_start) {
                if (next < m_end || next > m_start) {
                    next = m_start;
                }
            }
        }
        m_current = next;
        return emitted;
    }

    void Reset() { m_current = m_start; }

private:
    static T Add(T a, T b)
    {
        if constexpr (std::is_integral<T>::value) {
            using U = typename std::make_unsigned<T>::type;
            return static_cast<T>(static_cast<U>(static_cast<U>(a) + static_cast<U>(b)));
        } else {
            return a + b;
        }
    }

    T m_start{};
    T m_end{};
    T m_step{};
    T m_current{};
    bool m_bounded = false;
};
