#include "generators/monotonicclock.h"

#include <atomic>
#include <chrono>

#if defined(__GNUC__) && !defined(_WIN32)
// The library is linked at load time, so the cheap static TLS model is available.
#define DORVANE_FAST_TLS __attribute__((tls_model("initial-exec")))
#else
#define DORVANE_FAST_TLS
#endif

namespace {

std::atomic<MonotonicClockFunction> g_clock{nullptr};

struct FrameTime
{
    bool active = false;
    bool read = false;
    std::int64_t now = 0;
};

thread_local FrameTime t_frame DORVANE_FAST_TLS;

std::int64_t ReadClock()
{
    if (const MonotonicClockFunction clock = g_clock.load(std::memory_order_relaxed)) {
        return clock();
    }
    return std::chrono::duration_cast<std::chrono::nanoseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

} // namespace

std::int64_t MonotonicNanoseconds()
{
    FrameTime &frame = t_frame;
    if (!frame.active) {
        return ReadClock();
    }
    if (!frame.read) {
        frame.now = ReadClock();
        frame.read = true;
    }
    return frame.now;
}

FrameClock::FrameClock()
    : m_outer(!t_frame.active)
{
    if (m_outer) {
        t_frame.active = true;
        t_frame.read = false;
    }
}

FrameClock::~FrameClock()
{
    if (m_outer) {
        t_frame.active = false;
    }
}

void SetMonotonicClock(MonotonicClockFunction clock)
{
    g_clock.store(clock, std::memory_order_relaxed);
}
