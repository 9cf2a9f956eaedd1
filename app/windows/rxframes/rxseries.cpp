#include "windows/rxframes/rxseries.h"

#include <algorithm>
#include <cmath>

RxSeries::RxSeries(int capacity)
    : m_capacity(std::max(1, capacity))
{
}

void RxSeries::append(double time, double value)
{
    ++m_appended;
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
    auto emitColumn = [&](int lowIndex, int highIndex) {
        const int a = std::min(lowIndex, highIndex);
        const int b = std::max(lowIndex, highIndex);
        keys.append(timeAt(a));
        values.append(valueAt(a));
        if (b != a) {
            keys.append(timeAt(b));
            values.append(valueAt(b));
        }
    };
    // The ring is walked as its one or two contiguous pieces, without an
    // index calculation per point.
    bool started = false;
    double boundary = 0.0;
    int lowIndex = -1;
    int highIndex = -1;
    double low = 0;
    double high = 0;
    auto walk = [&](int begin, int end, int logicalBase) {
        const double *t = m_time.data();
        const double *v = m_value.data();
        for (int p = begin; p < end; ++p) {
            const double y = v[p];
            // Times only grow: one comparison a point finds the column's
            // end, and the column is worked out only when it changes.
            if (!started || t[p] >= boundary) {
                if (started)
                    emitColumn(lowIndex, highIndex);
                started = true;
                const double column = std::floor((t[p] - from) * scale);
                boundary = from + (column + 1.0) / scale;
                low = high = y;
                lowIndex = highIndex = logicalBase + (p - begin);
                continue;
            }
            // NaN never replaces a finite extreme.
            if (y < low) {
                low = y;
                lowIndex = logicalBase + (p - begin);
            } else if (y > high) {
                high = y;
                highIndex = logicalBase + (p - begin);
            }
        }
    };
    const int physFirst = physical(first);
    const int physLast = physical(last - 1) + 1;
    if (physFirst < physLast) {
        walk(physFirst, physLast, first);
    } else {
        walk(physFirst, m_capacity, first);
        walk(0, physLast, first + (m_capacity - physFirst));
    }
    if (lowIndex >= 0)
        emitColumn(lowIndex, highIndex);
}

qint64 RxSeries::memoryBytes() const
{
    return qint64(m_time.capacity() + m_value.capacity()) * qint64(sizeof(double));
}
