#include "types/hostendian.h"

namespace detail {
std::atomic<int> g_hostEndian{NativeEndian()};
} // namespace detail

void SetHostEndian(Endianness endian)
{
    detail::g_hostEndian.store(endian, std::memory_order_relaxed);
}

Endianness GetHostEndian()
{
    return HostEndian();
}
