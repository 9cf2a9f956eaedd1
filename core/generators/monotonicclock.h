#pragma once

#include <dorvane/core_export.h>

#include <cstdint>

// The monotonic time, in nanoseconds, that the wave values read. Inside a FrameClock scope the
// clock is read once, on first use, and every value of that frame on this thread sees the same
// instant.
std::int64_t MonotonicNanoseconds();

// Marks the update of one frame on the current thread.
class FrameClock
{
public:
    FrameClock();
    ~FrameClock();

    FrameClock(const FrameClock &) = delete;
    FrameClock &operator=(const FrameClock &) = delete;

private:
    bool m_outer;
};

// Replaces the time source (null restores the steady clock), so that the timing of the waves
// can be checked without sleeping.
using MonotonicClockFunction = std::int64_t (*)();
DORVANE_CORE_EXPORT void SetMonotonicClock(MonotonicClockFunction clock);
