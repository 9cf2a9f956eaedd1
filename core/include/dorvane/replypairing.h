#pragma once

#include <dorvane/core_export.h>
#include <dorvane/samplestats.h>

#include <cstdint>

// Pairs requests with replies by their monotonic stamps (microseconds): each
// write is a request, and the first reply (a received frame or chunk) that
// arrives within the reply window after it answers it. A request that is
// followed by the next write before any reply came got no reply of its own:
// it is missing, so one lost reply never shifts the pairing of the later ones.
class DORVANE_CORE_EXPORT ReplyPairing
{
public:
    static constexpr std::int64_t kDefaultWindowUs = 1000000;

    explicit ReplyPairing(std::int64_t windowUs = kDefaultWindowUs);

    void SetWindowUs(std::int64_t windowUs);
    std::int64_t GetWindowUs() const { return m_windowUs; }

    void Request(std::int64_t us);
    // True when the reply answered a request.
    bool Reply(std::int64_t us);
    // Counts the waiting request as missing once its window closed before nowUs.
    void Expire(std::int64_t nowUs);
    // The run is over: a request still waiting is missing.
    void Finish();
    void Reset();

    const SampleStats &RoundTrips() const { return m_rtt; }
    std::uint64_t GetRequests() const { return m_requests; }
    std::uint64_t GetMissing() const { return m_missing; }
    // Replies that came while no request waited.
    std::uint64_t GetUnpaired() const { return m_unpaired; }
    bool IsWaiting() const { return m_waiting; }

private:
    std::int64_t m_windowUs;
    bool m_waiting = false;
    std::int64_t m_sentUs = 0;
    SampleStats m_rtt;
    std::uint64_t m_requests = 0;
    std::uint64_t m_missing = 0;
    std::uint64_t m_unpaired = 0;
};
