#include "windows/rxframes/rxseries.h"

#include <algorithm>
#include <cmath>

RxSeries::RxSeries(int capacity)
    : m_capacity(std::max(1, capacity))
    // One block more than the ring spans, so the oldest block whose points
    // are partly gone never shares its slot with the newest.
    , m_blockCount(m_capacity / kBlock + 2)
{
}

void RxSeries::append(double time, double value)
{
    const qint64 absolute = m_appended++;
    if (m_blocks.empty())
        m_blocks.resize(size_t(m_blockCount));
    Block &block = m_blocks[size_t((absolute / kBlock) % m_blockCount)];
    if (absolute % kBlock == 0) {
        block = {time, value, time, value};
    } else if (value < block.low || std::isnan(block.low)) {
        block.low = value;
        block.lowTime = time;
    } else if (value > block.high || std::isnan(block.high)) {
        block.high = value;
        block.highTime = time;
    }
    if (m_size < m_capacity) {
        // Grow in steps, but never past the bound: the last step reserves
        // exactly the capacity instead of doubling beyond it.
        if (m_time.size() == m_time.capacity() && m_time.size() * 2 > size_t(m_capacity)) {
            m_time.reserve(size_t(m_capacity));
            m_value.reserve(size_t(m_capacity));
        }
        m_time.push_back(time);
        m_value.push_back(value);
        ++m_size;
        return;
    }
    m_time[size_t(m_start)] = time;
    m_value[size_t(m_start)] = value;
    m_start = m_start + 1 == m_capacity ? 0 : m_start + 1;
}

void RxSeries::clear()
{
    m_start = 0;
    m_size = 0;
    m_appended = 0;
    std::vector<double>().swap(m_time);
    std::vector<double>().swap(m_value);
    std::vector<Block>().swap(m_blocks);
}

int RxSeries::lowerBound(double time) const
{
    int low = 0;
    int high = m_size;
    while (low < high) {
        const int mid = low + (high - low) / 2;
        if (timeAt(mid) < time)
            low = mid + 1;
        else
            high = mid;
    }
    return low;
}

int RxSeries::nearest(double time) const
{
    if (m_size == 0)
        return -1;
    const int after = lowerBound(time);
    if (after >= m_size)
        return m_size - 1;
    if (after == 0)
        return 0;
    return time - timeAt(after - 1) <= timeAt(after) - time ? after - 1 : after;
}

void RxSeries::decimate(double from, double to, int columns, QVector<double> &keys,
                        QVector<double> &values) const
{
    keys.clear();
    values.clear();
    if (m_size == 0 || !(to > from))
        return;
    columns = std::max(1, columns);
    const int first = std::max(0, lowerBound(from) - 1);
    const int last = std::min(m_size, lowerBound(std::nextafter(to, HUGE_VAL)) + 1);
    const int count = last - first;
    if (count <= 0)
        return;
    keys.reserve(std::min(count, 2 * columns + 4));
    values.reserve(keys.capacity());
    if (count <= 2 * columns + 2) {
        for (int i = first; i < last; ++i) {
            keys.append(timeAt(i));
            values.append(valueAt(i));
        }
        return;
    }

    const double scale = columns / (to - from);
    // Per pixel column the lowest and the highest point, emitted in the
    // order they came. Times only grow: one comparison a point finds the
    // column's end, and the column is worked out only when it changes.
    bool started = false;
    double boundary = 0.0;
    double lowTime = 0.0;
    double low = 0.0;
    double highTime = 0.0;
    double high = 0.0;
    auto emitColumn = [&] {
        const bool lowFirst = lowTime <= highTime;
        keys.append(lowFirst ? lowTime : highTime);
        values.append(lowFirst ? low : high);
        if (lowTime != highTime || low != high) {
            keys.append(lowFirst ? highTime : lowTime);
            values.append(lowFirst ? high : low);
        }
    };
    auto take = [&](double t, double y) {
        if (!started || t >= boundary) {
            if (started)
                emitColumn();
            started = true;
            const double column = std::floor((t - from) * scale);
            boundary = from + (column + 1.0) / scale;
            lowTime = highTime = t;
            low = high = y;
            return;
        }
        // NaN never replaces a finite extreme.
        if (y < low) {
            low = y;
            lowTime = t;
        } else if (y > high) {
            high = y;
            highTime = t;
        }
    };
    auto takePoints = [&](int begin, int end) {
        for (int i = begin; i < end; ++i)
            take(timeAt(i), valueAt(i));
    };

    // With many blocks to a column the block summaries stand in for their
    // points; the partial blocks at either end are read point by point.
    const bool useBlocks = count / columns > 4 * kBlock;
    if (!useBlocks) {
        const int physFirst = physical(first);
        const int physLast = physical(last - 1) + 1;
        const double *t = m_time.data();
        const double *v = m_value.data();
        if (physFirst < physLast) {
            for (int p = physFirst; p < physLast; ++p)
                take(t[p], v[p]);
        } else {
            for (int p = physFirst; p < m_capacity; ++p)
                take(t[p], v[p]);
            for (int p = 0; p < physLast; ++p)
                take(t[p], v[p]);
        }
    } else {
        const qint64 base = m_appended - m_size; // absolute count of index 0
        const qint64 absFirst = base + first;
        const qint64 absLast = base + last;
        qint64 blockStart = (absFirst + kBlock - 1) / kBlock * kBlock;
        const qint64 blockEnd = absLast / kBlock * kBlock;
        if (blockStart >= blockEnd) {
            takePoints(first, last);
        } else {
            takePoints(first, int(blockStart - base));
            for (; blockStart < blockEnd; blockStart += kBlock) {
                const Block &block = m_blocks[size_t((blockStart / kBlock) % m_blockCount)];
                if (block.lowTime <= block.highTime) {
                    take(block.lowTime, block.low);
                    take(block.highTime, block.high);
                } else {
                    take(block.highTime, block.high);
                    take(block.lowTime, block.low);
                }
            }
            takePoints(int(blockEnd - base), last);
        }
    }
    if (started)
        emitColumn();
}

qint64 RxSeries::memoryBytes() const
{
    return qint64(m_time.capacity() + m_value.capacity()) * qint64(sizeof(double))
           + qint64(m_blocks.capacity() * sizeof(Block));
}
