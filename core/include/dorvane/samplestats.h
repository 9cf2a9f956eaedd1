#pragma once

#include <dorvane/core_export.h>

#include <cstddef>
#include <cstdint>
#include <vector>

// Figures of a series of durations (periods, gaps, round trips), in microseconds.
// Count, minimum, maximum and mean cover every sample added since the last reset;
// percentiles and the histogram cover the most recent retained ones (all of them
// until the retention cap is reached, then a ring of the newest).
class DORVANE_CORE_EXPORT SampleStats
{
public:
    struct Summary
    {
        std::uint64_t count = 0;
        std::int64_t min = 0;
        std::int64_t max = 0;
        double mean = 0.0;
        std::int64_t p50 = 0;
        std::int64_t p99 = 0;
    };

    static constexpr std::size_t kDefaultRetained = 1u << 20;

    explicit SampleStats(std::size_t retained = kDefaultRetained);

    void add(std::int64_t us);
    void reset();

    std::uint64_t count() const { return m_count; }
    bool empty() const { return m_count == 0; }
    // One pass over the retained samples for the percentiles: cheap enough for a few
    // refreshes a second, not for every sample.
    Summary summary() const;
    // The q-quantile (0..1) of the retained samples by the nearest-rank rule.
    std::int64_t percentile(double q) const;
    // Counts of retained samples in `bins` equal bins over [low, high); samples outside
    // are clamped into the first or last bin.
    std::vector<std::uint64_t> histogram(std::int64_t low, std::int64_t high, int bins) const;
    // The retained samples, oldest first.
    std::vector<std::int64_t> retainedSamples() const;

private:
    std::size_t m_cap;
    std::vector<std::int64_t> m_ring;
    std::size_t m_next = 0; // where the next sample goes once the ring is full
    std::uint64_t m_count = 0;
    std::int64_t m_min = 0;
    std::int64_t m_max = 0;
    double m_sum = 0.0;
};
