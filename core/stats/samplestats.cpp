#include <dorvane/samplestats.h>

#include <algorithm>
#include <cmath>

SampleStats::SampleStats(std::size_t retained)
    : m_cap(std::max<std::size_t>(retained, 1))
{
}

void SampleStats::add(std::int64_t us)
{
    if (m_count == 0) {
        m_min = m_max = us;
    } else {
        m_min = std::min(m_min, us);
        m_max = std::max(m_max, us);
    }
    ++m_count;
    m_sum += double(us);
    if (m_ring.size() < m_cap) {
        m_ring.push_back(us);
    } else {
        m_ring[m_next] = us;
        m_next = (m_next + 1) % m_cap;
    }
}

void SampleStats::reset()
{
    m_ring.clear();
    m_next = 0;
    m_count = 0;
    m_min = m_max = 0;
    m_sum = 0.0;
}

namespace {

std::int64_t NearestRank(std::vector<std::int64_t> &values, double q)
{
    if (values.empty())
        return 0;
    q = std::min(1.0, std::max(0.0, q));
    // Nearest rank: the smallest value with at least q of the samples at or below it.
    std::size_t rank = std::size_t(std::ceil(q * double(values.size())));
    rank = std::max<std::size_t>(rank, 1) - 1;
    std::nth_element(values.begin(), values.begin() + std::ptrdiff_t(rank), values.end());
    return values[rank];
}

} // namespace

std::int64_t SampleStats::percentile(double q) const
{
    std::vector<std::int64_t> values = m_ring;
    return NearestRank(values, q);
}

SampleStats::Summary SampleStats::summary() const
{
    Summary s;
    s.count = m_count;
    if (m_count == 0)
        return s;
    s.min = m_min;
    s.max = m_max;
    s.mean = m_sum / double(m_count);
    std::vector<std::int64_t> values = m_ring;
    s.p50 = NearestRank(values, 0.50);
    s.p99 = NearestRank(values, 0.99);
    return s;
}

std::vector<std::uint64_t> SampleStats::histogram(std::int64_t low, std::int64_t high, int bins) const
{
    std::vector<std::uint64_t> counts(std::size_t(std::max(bins, 1)), 0);
    if (high <= low)
        high = low + 1;
    const double width = double(high - low) / double(counts.size());
    for (std::int64_t v : m_ring) {
        long bin = long(std::floor(double(v - low) / width));
        bin = std::min<long>(std::max<long>(bin, 0), long(counts.size()) - 1);
        ++counts[std::size_t(bin)];
    }
    return counts;
}

std::vector<std::int64_t> SampleStats::retainedSamples() const
{
    if (m_ring.size() < m_cap)
        return m_ring;
    std::vector<std::int64_t> ordered;
    ordered.reserve(m_ring.size());
    ordered.insert(ordered.end(), m_ring.begin() + std::ptrdiff_t(m_next), m_ring.end());
    ordered.insert(ordered.end(), m_ring.begin(), m_ring.begin() + std::ptrdiff_t(m_next));
    return ordered;
}
