#include "windows/timing/timinghistogram.h"

#include <QPainter>

#include <algorithm>

TimingHistogram::TimingHistogram(QWidget *parent)
    : QWidget(parent)
{
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
}

void TimingHistogram::setBins(std::vector<std::uint64_t> bins, std::int64_t lowUs, std::int64_t highUs,
                              std::int64_t markUs)
{
    m_bins = std::move(bins);
    m_lowUs = lowUs;
    m_highUs = highUs;
    m_markUs = markUs;
    update();
}

QSize TimingHistogram::sizeHint() const
{
    return QSize(280, 120);
}

QSize TimingHistogram::minimumSizeHint() const
{
    return QSize(120, 60);
}

void TimingHistogram::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    const QPalette &pal = palette();
    painter.fillRect(rect(), pal.base());
    const int textHeight = fontMetrics().height();
    const QRect plot = rect().adjusted(4, 4, -4, -textHeight - 4);
    painter.setPen(pal.color(QPalette::Mid));
    painter.drawRect(plot.adjusted(0, 0, -1, -1));
    if (m_bins.empty() || plot.width() < 4 || plot.height() < 4) {
        painter.setPen(pal.color(QPalette::PlaceholderText));
        painter.drawText(rect(), Qt::AlignCenter, tr("No periods yet"));
        return;
    }

    const std::uint64_t peak = std::max<std::uint64_t>(*std::max_element(m_bins.begin(), m_bins.end()), 1);
    const double barWidth = double(plot.width() - 2) / double(m_bins.size());
    const QColor bar = pal.color(QPalette::Highlight);
    for (std::size_t i = 0; i < m_bins.size(); ++i) {
        if (m_bins[i] == 0)
            continue;
        // A bin with a single sample stays visible beside a peak of thousands.
        const int height = std::max(1, int(double(plot.height() - 2) * double(m_bins[i]) / double(peak)));
        const QRectF r(plot.left() + 1 + barWidth * double(i), plot.bottom() - height,
                       std::max(barWidth - 1, 1.0), height);
        painter.fillRect(r, bar);
    }
    if (m_highUs > m_lowUs && m_markUs >= m_lowUs && m_markUs <= m_highUs) {
        const double x = plot.left() + 1
                         + double(plot.width() - 2) * double(m_markUs - m_lowUs) / double(m_highUs - m_lowUs);
        painter.setPen(QPen(pal.color(QPalette::Text), 1, Qt::DashLine));
        painter.drawLine(QPointF(x, plot.top()), QPointF(x, plot.bottom()));
    }
    painter.setPen(pal.color(QPalette::Text));
    const QRect labels(plot.left(), plot.bottom() + 2, plot.width(), textHeight);
    painter.drawText(labels, Qt::AlignLeft | Qt::AlignVCenter, tr("%1 µs").arg(m_lowUs));
    painter.drawText(labels, Qt::AlignRight | Qt::AlignVCenter, tr("%1 µs").arg(m_highUs));
}
