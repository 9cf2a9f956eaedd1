#include "generators/monotonicclock.h"

#include <atomic>
#include <chrono>

namespace {
std::atomic<MonotonicClockFunction> g_clock{nullptr};
} // namespace

std::int64_t MonotonicNanoseconds()
{
    if (const MonotonicClockFunction clock = g_clock.load(std::memory_order_relaxed)) {
        return clock();
    }
    return std::chrono::duration_cast<std::chrono::nanoseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

void SetMonotonicClock(MonotonicClockFunction clock)
{
    g_clock.store(clock, std::memory_order_relaxed);
}
