#pragma once

#include <QWidget>

#include <cstdint>
#include <vector>

// A small bar chart of the achieved periods: one bar per bin, the requested
// period marked by a line, the range's ends written below. Painting costs one
// pass over the bins, so refreshing it a few times a second is nothing.
class TimingHistogram : public QWidget
{
    Q_OBJECT

public:
    explicit TimingHistogram(QWidget *parent = nullptr);

    void setBins(std::vector<std::uint64_t> bins, std::int64_t lowUs, std::int64_t highUs,
                 std::int64_t markUs);
    const std::vector<std::uint64_t> &bins() const { return m_bins; }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    std::vector<std::uint64_t> m_bins;
    std::int64_t m_lowUs = 0;
    std::int64_t m_highUs = 0;
    std::int64_t m_markUs = 0;
};
