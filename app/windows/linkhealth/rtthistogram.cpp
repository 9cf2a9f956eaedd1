#include "windows/linkhealth/rtthistogram.h"

#include <QPainter>

#include <algorithm>

QString durationText(qint64 us)
{
    return QStringLiteral("%1 ms").arg(double(us) / 1000.0, 0, 'f', 3);
}

RttHistogram::RttHistogram(QWidget *parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("LinkHealthHistogram"));
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
}

void RttHistogram::setBins(const QVector<quint64> &bins, qint64 lowUs, qint64 highUs)
{
    m_bins = bins;
    m_low = lowUs;
    m_high = highUs;
    update();
}

void RttHistogram::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    const QPalette &pal = palette();
    painter.fillRect(rect(), pal.base());
    const int textHeight = fontMetrics().height();
    const QRect area = rect().adjusted(4, 4, -4, -textHeight - 6);
    painter.setPen(pal.color(QPalette::Mid));
    painter.drawRect(area.adjusted(0, 0, -1, -1));
    if (m_bins.isEmpty() || area.width() < 4 || area.height() < 4) {
        painter.setPen(pal.color(QPalette::Text));
        painter.drawText(rect(), Qt::AlignCenter, tr("No round trips yet"));
        return;
    }
    const quint64 peak = std::max<quint64>(1, *std::max_element(m_bins.cbegin(), m_bins.cend()));
    const double width = double(area.width() - 2) / m_bins.size();
    painter.setPen(Qt::NoPen);
    painter.setBrush(pal.color(QPalette::Highlight));
    for (int i = 0; i < m_bins.size(); ++i) {
        if (m_bins.at(i) == 0)
            continue;
        // Every filled bin shows at least one pixel, however few it holds.
        const int h = std::max(1, int(double(m_bins.at(i)) / double(peak) * (area.height() - 2)));
        const int x = area.left() + 1 + int(i * width);
        const int w = std::max(1, int((i + 1) * width) - int(i * width) - 1);
        painter.drawRect(x, area.bottom() - h, w, h);
    }
    painter.setPen(pal.color(QPalette::Text));
    const QRect labels(area.left(), area.bottom() + 3, area.width(), textHeight);
    painter.drawText(labels, Qt::AlignLeft | Qt::AlignVCenter, durationText(m_low));
    painter.drawText(labels, Qt::AlignRight | Qt::AlignVCenter, durationText(m_high));
    painter.drawText(labels, Qt::AlignHCenter | Qt::AlignVCenter, tr("peak %1").arg(peak));
}
