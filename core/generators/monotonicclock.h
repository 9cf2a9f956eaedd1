#pragma once

#include <dorvane/core_export.h>

#include <cstdint>

// The monotonic time, in nanoseconds, that the wave values read.
std::int64_t MonotonicNanoseconds();

// Replaces the time source (null restores the steady clock), so that the timing of the waves
// can be checked without sleeping.
using MonotonicClockFunction = std::int64_t (*)();
DORVANE_CORE_EXPORT void SetMonotonicClock(MonotonicClockFunction clock);
