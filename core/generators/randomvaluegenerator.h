#pragma once

#include <dorvane/paramlist.h>

#include "generators/numberparams.h"
#include "generators/randomengine.h"
#include "types/numberconversion.h"

#include <cstdint>
#include <random>
#include <type_traits>
#include <utility>

// Uniformly distributed values from low to high inclusive.
template<typename T>
class RandomValueGenerator
{
public:
    using ValueType = T;
    static constexpr bool kConstant = false;

    bool Setup(const ParamList &params)
    {
        if (!HasNumberParams(params, 2)) {
            return false;
        }
        m_low = ConvertParam<T>(params.ParamAt(0).value);
        m_high = ConvertParam<T>(params.ParamAt(1).value);
        if (m_low > m_high) {
            std::swap(m_low, m_high);
        }
        if constexpr (std::is_integral<T>::value) {
            m_distribution = Distribution(m_low, m_high);
        }
        m_engine = &RandomEngine<T>();
        return true;
    }

    T Next()
    {
        std::mt19937 &engine = *m_engine;
        if constexpr (std::is_integral<T>::value) {
            return static_cast<T>(m_distribution(engine));
        } else if constexpr (std::is_same<T, float>::value) {
            const float u = static_cast<float>(engine() >> 8) * (1.0f / 16777216.0f);
            return m_low + (m_high - m_low) * u;
        } else {
            const std::uint64_t first = engine();
            const std::uint64_t second = engine();
            const double u = static_cast<double>((second << 21) | (first >> 11)) * (1.0 / 9007199254740992.0);
            return m_low + (m_high - m_low) * u;
        }
    }

    void Reset() {}

private:
    using Distribution = std::uniform_int_distribution<long long>;

    T m_low{};
    T m_high{};
    Distribution m_distribution;
    std::mt19937 *m_engine = nullptr;
};
