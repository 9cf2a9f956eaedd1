#pragma once

#include <cstdint>
#include <limits>
#include <string>
#include <type_traits>

// Parameter numbers in C notation: unsigned 64-bit with automatic base ("0x" hexadecimal,
// leading "0" octal, optional sign, trailing characters ignored). No digits or a value out of
// the 64-bit range give 0.
std::uint64_t ParseUInt64(const std::string &text);

// Floating parameters, read independently of the process locale (the application may set a
// locale whose decimal separator is a comma). Failures give 0.
long double ParseLongDouble(const std::string &text);

// A parameter converted to the element type of a field: integers narrowed from 64 bits,
// floating values narrowed from long double.
template<typename T>
inline T ConvertParam(const std::string &text)
{
    if constexpr (std::is_floating_point<T>::value) {
        return static_cast<T>(ParseLongDouble(text));
    } else {
        return static_cast<T>(ParseUInt64(text));
    }
}

// The integer conversion used for counts and periods.
inline int ConvertInt(const std::string &text)
{
    return static_cast<int>(ParseUInt64(text));
}

// Truncation toward zero that saturates at the range of the target instead of being undefined;
// NaN gives 0.
template<typename I>
inline I SaturatingTruncate(double value)
{
    static_assert(std::is_integral<I>::value && std::is_signed<I>::value, "signed target");
    if (value != value) {
        return 0;
    }
    // Both limits are powers of two, exactly representable as double.
    const double upper = -static_cast<double>(std::numeric_limits<I>::min());
    const double lower = static_cast<double>(std::numeric_limits<I>::min());
    if (value >= upper) {
        return std::numeric_limits<I>::max();
    }
    if (value < lower) {
        return std::numeric_limits<I>::min();
    }
    return static_cast<I>(value);
}

// A computed double stored into an element of type T: narrowed for floating types, for
// integers truncated to 64 bits whose low bits form the value.
template<typename T>
inline T FromDouble(double value)
{
    if constexpr (std::is_floating_point<T>::value) {
        return static_cast<T>(value);
    } else {
        return static_cast<T>(SaturatingTruncate<std::int64_t>(value));
    }
}
