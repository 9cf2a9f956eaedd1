#pragma once

#include <dorvane/core_export.h>
#include <dorvane/samplestats.h>

#include <cstddef>
#include <cstdint>
#include <string>

// How well periodic sending keeps its period, from the monotonic µs stamps of
// its writes, and how far apart received chunks come.
//
// Ticks are due at whole multiples of the requested period from the first
// write. Each write serves the latest due tick at or before it that no write
// has served yet (a write that comes early serves the next tick); due ticks
// passed over are skipped, and a write more than a tenth of the period after
// its tick's due time is late. Not thread-safe: one thread feeds and reads.
class DORVANE_CORE_EXPORT TickTiming
{
public:
    struct Figures
    {
        std::int64_t requestedPeriodUs = 0;
        SampleStats::Summary period; // between consecutive writes
        std::uint64_t writes = 0;
        std::uint64_t lateTicks = 0;
        std::uint64_t skippedTicks = 0;
        std::int64_t spanUs = 0; // first to last write
        double requestedHz = 0.0;
        double achievedHz = 0.0;    // writes per second over the span
        SampleStats::Summary rxGap; // between consecutive received chunks
    };

    explicit TickTiming(std::size_t retained = SampleStats::kDefaultRetained);

    // Forgets the writes and takes a new requested period; the received
    // chunks' gaps stay. A period of 0 or less counts no late or skipped ticks.
    void Start(std::int64_t periodUs);
    void AddWrite(std::int64_t us);
    void AddArrival(std::int64_t us);
    // Forgets everything but the requested period.
    void Reset();

    std::int64_t GetRequestedPeriodUs() const { return m_periodUs; }
    Figures GetFigures() const;
    const SampleStats &GetPeriods() const { return m_periods; }
    const SampleStats &GetRxGaps() const { return m_rxGaps; }

    // True when the achieved rate is below 99 % of the requested one or more
    // than 1 % of the served ticks were late.
    static bool IsBehind(const Figures &figures);
    // "1 000 Hz requested, 901 Hz achieved" for figures that are behind,
    // empty otherwise. Rates below 10 Hz keep one decimal.
    static std::string DescribeShortfall(const Figures &figures);
    // A rate as the figures show it: whole hertz with a space between
    // thousands ("1 000"), one decimal below 10 Hz.
    static std::string FormatHz(double hz);

private:
    std::int64_t m_periodUs = 0;
    SampleStats m_periods;
    SampleStats m_rxGaps;
    std::uint64_t m_writes = 0;
    std::int64_t m_firstWrite = 0;
    std::int64_t m_lastWrite = 0;
    std::int64_t m_nextTick = 0; // index of the first tick no write has served
    std::uint64_t m_late = 0;
    std::uint64_t m_skipped = 0;
    bool m_haveArrival = false;
    std::int64_t m_lastArrival = 0;
};
