#pragma once

#include <dorvane/coretypes.h>

#include <atomic>
#include <cstring>
#include <type_traits>

namespace detail {
// Written by Context::Initialize, read by every value on every frame (possibly on a worker
// thread), hence atomic.
extern std::atomic<int> g_hostEndian;
} // namespace detail

inline Endianness HostEndian()
{
    return static_cast<Endianness>(detail::g_hostEndian.load(std::memory_order_relaxed));
}

void SetHostEndian(Endianness endian);

// The byte order that this machine actually has.
constexpr Endianness NativeEndian()
{
#if defined(__BYTE_ORDER__) && defined(__ORDER_BIG_ENDIAN__) && __BYTE_ORDER__ == __ORDER_BIG_ENDIAN__
    return BigEndian;
#else
    return LittleEndian;
#endif
}

template<typename T>
inline T ReverseBytes(T value)
{
    static_assert(std::is_trivially_copyable<T>::value, "bytes of a scalar only");
    if constexpr (sizeof(T) == 1) {
        return value;
    } else {
        unsigned char bytes[sizeof(T)];
        std::memcpy(bytes, &value, sizeof(T));
        for (std::size_t i = 0; i < sizeof(T) / 2; ++i) {
            unsigned char tmp = bytes[i];
            bytes[i] = bytes[sizeof(T) - 1 - i];
            bytes[sizeof(T) - 1 - i] = tmp;
        }
        T result;
        std::memcpy(&result, bytes, sizeof(T));
        return result;
    }
}

// The value as its bytes appear in the given byte order.
template<typename T>
inline T InByteOrder(T value, Endianness endian)
{
    return endian == HostEndian() ? value : ReverseBytes(value);
}
