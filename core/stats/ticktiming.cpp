#include <dorvane/ticktiming.h>

#include <algorithm>
#include <cmath>
#include <cstdio>

TickTiming::TickTiming(std::size_t retained)
    : m_periods(retained)
    , m_rxGaps(retained)
{
}

void TickTiming::Start(std::int64_t periodUs)
{
    m_periodUs = std::max<std::int64_t>(periodUs, 0);
    m_periods.reset();
    m_writes = 0;
    m_firstWrite = m_lastWrite = 0;
    m_nextTick = 0;
    m_late = m_skipped = 0;
}

void TickTiming::Reset()
{
    Start(m_periodUs);
    m_rxGaps.reset();
    m_haveArrival = false;
    m_lastArrival = 0;
}

void TickTiming::AddWrite(std::int64_t us)
{
    if (m_writes == 0) {
        m_firstWrite = m_lastWrite = us;
        m_writes = 1;
        m_nextTick = 1;
        return;
    }
    // Stamps of one worker thread never go back; a stamp that does anyway
    // counts as a zero period rather than a negative one.
    us = std::max(us, m_lastWrite);
    m_periods.add(us - m_lastWrite);
    m_lastWrite = us;
    ++m_writes;
    if (m_periodUs <= 0)
        return;

    const std::int64_t sinceFirst = us - m_firstWrite;
    std::int64_t tick = sinceFirst / m_periodUs;
    if (tick < m_nextTick) {
        // Early, or catching up after a late tick: it serves the next one.
        tick = m_nextTick;
    } else {
        m_skipped += std::uint64_t(tick - m_nextTick);
    }
    const std::int64_t lateness = sinceFirst - tick * m_periodUs;
    if (lateness * 10 > m_periodUs)
        ++m_late;
    m_nextTick = tick + 1;
}

void TickTiming::AddArrival(std::int64_t us)
{
    if (m_haveArrival)
        m_rxGaps.add(std::max<std::int64_t>(us - m_lastArrival, 0));
    m_haveArrival = true;
    m_lastArrival = std::max(us, m_lastArrival);
}

TickTiming::Figures TickTiming::GetFigures() const
{
    Figures f;
    f.requestedPeriodUs = m_periodUs;
    f.period = m_periods.summary();
    f.writes = m_writes;
    f.lateTicks = m_late;
    f.skippedTicks = m_skipped;
    f.spanUs = m_lastWrite - m_firstWrite;
    if (m_periodUs > 0)
        f.requestedHz = 1e6 / double(m_periodUs);
    if (f.spanUs > 0 && m_writes > 1)
        f.achievedHz = double(m_writes - 1) * 1e6 / double(f.spanUs);
    f.rxGap = m_rxGaps.summary();
    return f;
}

bool TickTiming::IsBehind(const Figures &figures)
{
    // Two writes give no rate worth judging.
    if (figures.requestedHz <= 0.0 || figures.writes < 3)
        return false;
    return figures.achievedHz < 0.99 * figures.requestedHz
           || double(figures.lateTicks) * 100.0 > double(figures.writes);
}

std::string TickTiming::FormatHz(double hz)
{
    if (!(hz >= 0.0) || !std::isfinite(hz))
        return "0";
    if (hz < 10.0) {
        const long tenths = std::lround(hz * 10.0);
        return std::to_string(tenths / 10) + "." + std::to_string(tenths % 10);
    }
    std::string digits = std::to_string(std::llround(hz));
    for (std::ptrdiff_t at = std::ptrdiff_t(digits.size()) - 3; at > 0; at -= 3)
        digits.insert(std::size_t(at), 1, ' ');
    return digits;
}

std::string TickTiming::DescribeShortfall(const Figures &figures)
{
    if (!IsBehind(figures))
        return std::string();
    std::string text
        = FormatHz(figures.requestedHz) + " Hz requested, " + FormatHz(figures.achievedHz) + " Hz achieved";
    if (double(figures.lateTicks) * 100.0 > double(figures.writes)) {
        const double share = double(figures.lateTicks) * 100.0 / double(figures.writes);
        char buffer[64];
        std::snprintf(buffer, sizeof buffer, ", %.1f %% of the ticks late", share);
        text += buffer;
    }
    return text;
}
