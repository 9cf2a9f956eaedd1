#pragma once

#include <QVector>
#include <QWidget>

// Bars of round-trip counts over a range of times, with the range written
// under them. Set from the panel's refresh timer.
class RttHistogram : public QWidget
{
    Q_OBJECT

public:
    explicit RttHistogram(QWidget *parent = nullptr);

    // Counts of equal bins over [lowUs, highUs).
    void setBins(const QVector<quint64> &bins, qint64 lowUs, qint64 highUs);
    const QVector<quint64> &bins() const { return m_bins; }

    QSize sizeHint() const override { return {320, 110}; }
    QSize minimumSizeHint() const override { return {160, 70}; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QVector<quint64> m_bins;
    qint64 m_low = 0;
    qint64 m_high = 0;
};

// A duration in microseconds as milliseconds with three decimals ("20.013 ms").
QString durationText(qint64 us);
