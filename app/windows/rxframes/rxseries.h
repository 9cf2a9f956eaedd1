#pragma once

#include <QVector>

#include <dorvane/app_export.h>

#include <vector>

// The history of one plotted line: the last `capacity` points in a ring, in
// arrival order, so their times never decrease. Memory is bounded by the
// capacity (two doubles a point, and the lowest and highest point of every
// block of kBlock points) whatever the frame rate or running time.
class DORVANE_APP_EXPORT RxSeries
{
public:
    static constexpr int kDefaultCapacity = 1000000;
    // Points a block summary stands for: a view with many blocks per pixel
    // column reads the summaries instead of the points.
    static constexpr int kBlock = 64;

    explicit RxSeries(int capacity = kDefaultCapacity);

    void append(double time, double value);
    void clear();

    int size() const { return m_size; }
    int capacity() const { return m_capacity; }
    // Points ever appended, those the ring has let go included.
    qint64 appended() const { return m_appended; }
    // Index 0 is the oldest point kept.
    double timeAt(int index) const { return m_time[physical(index)]; }
    double valueAt(int index) const { return m_value[physical(index)]; }
    // The first index whose time is not before `time` (size() when none).
    int lowerBound(double time) const;
    // The index of the point nearest in time, -1 when empty.
    int nearest(double time) const;

    // What is drawn of [from, to] on `columns` pixel columns: every point when
    // there are few, otherwise per column the lowest and the highest point in
    // the order they came, so peaks stay visible and the output never holds
    // much more than two points a column. The points just outside the range
    // are included so that the line runs to the edges.
    void decimate(double from, double to, int columns, QVector<double> &keys, QVector<double> &values) const;

    // Bytes held by the ring now.
    qint64 memoryBytes() const;

private:
    int physical(int index) const
    {
        const int at = m_start + index;
        return at >= m_capacity ? at - m_capacity : at;
    }

    // The lowest and highest point of a block of kBlock points, counted
    // from the first point ever appended.
    struct Block
    {
        double lowTime;
        double low;
        double highTime;
        double high;
    };

    int m_capacity;
    int m_blockCount;
    int m_start = 0;
    int m_size = 0;
    qint64 m_appended = 0;
    std::vector<double> m_time;
    std::vector<double> m_value;
    std::vector<Block> m_blocks;
};
