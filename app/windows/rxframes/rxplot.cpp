#include "windows/rxframes/rxplot.h"

#include <QMouseEvent>
#include <QTimer>

#include <algorithm>
#include <cmath>

namespace {

// Distinct at a glance on the light plot background.
const QColor kPalette[] = {QColor(0x1f, 0x77, 0xb4), QColor(0xd6, 0x27, 0x28), QColor(0x2c, 0xa0, 0x2c),
                           QColor(0xff, 0x7f, 0x0e), QColor(0x94, 0x67, 0xbd), QColor(0x8c, 0x56, 0x4b),
                           QColor(0xe3, 0x77, 0xc2), QColor(0x17, 0xbe, 0xcf)};
constexpr double kMinTimeWindow = 1.0;
constexpr double kMaxTimeWindow = 3600.0;
// How close, in pixels, a press must come to a cursor to take it.
constexpr int kCursorGrab = 6;

void fitAxis(QCPAxis *axis, double low, double high)
{
    if (!(low <= high))
        return;
    double margin = (high - low) * 0.05;
    if (margin <= 0.0)
        margin = std::max(std::abs(high) * 0.05, 0.5);
    axis->setRange(low - margin, high + margin);
}

} // namespace

RxPlot::RxPlot(QWidget *parent, int ringCapacity)
    : QCustomPlot(parent)
    , m_capacity(ringCapacity)
{
    setObjectName(QStringLiteral("RxPlot"));
    // Drawing whole lines from a few thousand points is cheap; antialiasing
    // them is not needed to read them.
    setNotAntialiasedElements(QCP::aeAll);
    setNoAntialiasingOnDrag(true);
    xAxis->setLabel(tr("Time (s)"));
    xAxis->setRange(0.0, m_timeWindow);
    yAxis->setRange(m_fixedLower, m_fixedUpper);
    legend->setVisible(false);
    legend->setFont(QFont(font().family(), 8));
    axisRect()->insetLayout()->setInsetAlignment(0, Qt::AlignTop | Qt::AlignLeft);

    for (int i = 0; i < 2; ++i) {
        m_cursorItem[i] = new QCPItemStraightLine(this);
        m_cursorItem[i]->setPen(QPen(QColor(0x40, 0x40, 0x40), 1, Qt::DashLine));
        m_cursorItem[i]->setVisible(false);
        m_cursorItem[i]->setSelectable(false);
    }
    m_cursorText = new QCPItemText(this);
    m_cursorText->position->setType(QCPItemPosition::ptAxisRectRatio);
    m_cursorText->position->setCoords(0.99, 0.01);
    m_cursorText->setPositionAlignment(Qt::AlignTop | Qt::AlignRight);
    m_cursorText->setBrush(QBrush(QColor(255, 255, 255, 220)));
    m_cursorText->setPadding(QMargins(4, 2, 4, 2));
    m_cursorText->setVisible(false);

    connect(this, &QCustomPlot::mousePress, this, &RxPlot::onMousePress);
    connect(this, &QCustomPlot::mouseMove, this, &RxPlot::onMouseMove);
    connect(this, &QCustomPlot::mouseRelease, this, &RxPlot::onMouseRelease);
    // A paused view that the user moves is drawn again from the rings.
    connect(xAxis, QOverload<const QCPRange &>::of(&QCPAxis::rangeChanged), this, [this] {
        if (m_paused)
            m_dirty = true;
    });

    m_timer = new QTimer(this);
    m_timer->setTimerType(Qt::PreciseTimer);
    connect(m_timer, &QTimer::timeout, this, &RxPlot::onTick);
    setRefreshRate(m_refreshRate);
    m_timer->start();
    applyInteractions();
}

RxPlot::~RxPlot() = default;

void RxPlot::setLines(const QList<int> &graphIds, const QStringList &names)
{
    for (auto &line : m_lines) {
        removeGraph(line->graph);
        if (line->ownAxis)
            axisRect()->removeAxis(line->ownAxis);
    }
    m_lines.clear();
    for (int i = 0; i < graphIds.size(); ++i) {
        auto line = std::make_unique<Line>(m_capacity);
        line->graphId = graphIds.at(i);
        line->name = i < names.size() ? names.at(i) : QString::number(graphIds.at(i));
        line->graph = addGraph(xAxis, yAxis);
        line->graph->setName(line->name);
        // A one-pixel pen: wider ones make Qt stroke every segment as a polygon,
        // many times slower on lines that zigzag between column extremes.
        line->graph->setPen(QPen(kPalette[i % int(std::size(kPalette))], 1));
        line->graph->setAdaptiveSampling(false);
        m_lines.push_back(std::move(line));
    }
    // An empty legend is only a box.
    legend->setVisible(!m_lines.empty());
    m_latest = 0.0;
    m_dirty = true;
    refresh();
}

void RxPlot::append(int line, double time, double value)
{
    m_lines[size_t(line)]->series.append(time, value);
    if (time > m_latest)
        m_latest = time;
    m_dirty = true;
}

void RxPlot::clearHistory()
{
    for (auto &line : m_lines) {
        line->series.clear();
        line->graph->data()->clear();
    }
    m_latest = 0.0;
    m_dirty = true;
}

void RxPlot::setLineVisible(int line, bool visible)
{
    Line &l = *m_lines[size_t(line)];
    l.visible = visible;
    l.graph->setVisible(visible);
    if (l.ownAxis)
        l.ownAxis->setVisible(visible);
    m_dirty = true;
}

bool RxPlot::isLineVisible(int line) const
{
    return m_lines[size_t(line)]->visible;
}

void RxPlot::setLineColor(int line, const QColor &color)
{
    Line &l = *m_lines[size_t(line)];
    QPen pen = l.graph->pen();
    pen.setColor(color);
    l.graph->setPen(pen);
    if (l.ownAxis) {
        l.ownAxis->setBasePen(QPen(color));
        l.ownAxis->setTickLabelColor(color);
    }
    m_dirty = true;
}

QColor RxPlot::lineColor(int line) const
{
    return m_lines[size_t(line)]->graph->pen().color();
}

void RxPlot::setLineOwnAxis(int line, bool own)
{
    Line &l = *m_lines[size_t(line)];
    if (own == (l.ownAxis != nullptr))
        return;
    if (own) {
        l.ownAxis = axisRect()->addAxis(QCPAxis::atRight);
        l.ownAxis->setLabel(l.name);
        l.ownAxis->setBasePen(QPen(l.graph->pen().color()));
        l.ownAxis->setTickLabelColor(l.graph->pen().color());
        l.ownAxis->setLabelColor(l.graph->pen().color());
        l.ownAxis->setRange(yAxis->range());
        l.graph->setValueAxis(l.ownAxis);
    } else {
        l.graph->setValueAxis(yAxis);
        axisRect()->removeAxis(l.ownAxis);
        l.ownAxis = nullptr;
    }
    applyInteractions();
    m_dirty = true;
}

bool RxPlot::hasOwnAxis(int line) const
{
    return m_lines[size_t(line)]->ownAxis != nullptr;
}

void RxPlot::setTimeWindow(double seconds)
{
    m_timeWindow = std::clamp(seconds, kMinTimeWindow, kMaxTimeWindow);
    m_dirty = true;
}

void RxPlot::setRefreshRate(int perSecond)
{
    m_refreshRate = std::clamp(perSecond, 1, kMaxRefreshRate);
    m_timer->setInterval(1000 / m_refreshRate);
}

void RxPlot::setPaused(bool paused)
{
    if (paused == m_paused)
        return;
    m_paused = paused;
    applyInteractions();
    m_dirty = true;
    if (!paused)
        refresh();
}

void RxPlot::applyInteractions()
{
    // Zoom and pan only while the view stands still: live, the time axis
    // belongs to the clock.
    setInteractions(m_paused ? QCP::iRangeDrag | QCP::iRangeZoom : QCP::Interactions());
    QList<QCPAxis *> vertical = {yAxis};
    for (auto &line : m_lines) {
        if (line->ownAxis)
            vertical << line->ownAxis;
    }
    axisRect()->setRangeDragAxes({xAxis}, vertical);
    axisRect()->setRangeZoomAxes({xAxis}, vertical);
    axisRect()->setRangeZoom(m_autoscale ? Qt::Horizontal : Qt::Horizontal | Qt::Vertical);
    axisRect()->setRangeDrag(m_autoscale ? Qt::Horizontal : Qt::Horizontal | Qt::Vertical);
}

void RxPlot::setAutoscale(bool on)
{
    m_autoscale = on;
    if (!on)
        yAxis->setRange(m_fixedLower, m_fixedUpper);
    applyInteractions();
    m_dirty = true;
}

void RxPlot::setFixedRange(double lower, double upper)
{
    if (!(lower < upper))
        return;
    m_fixedLower = lower;
    m_fixedUpper = upper;
    if (!m_autoscale) {
        yAxis->setRange(lower, upper);
        m_dirty = true;
    }
}

double RxPlot::viewFrom() const
{
    return xAxis->range().lower;
}

double RxPlot::viewTo() const
{
    return xAxis->range().upper;
}

void RxPlot::onTick()
{
    if (m_dirty)
        refresh();
}

void RxPlot::refresh(bool immediate)
{
    m_dirty = false;
    if (!m_paused) {
        const double to = std::max(m_latest, m_timeWindow);
        xAxis->setRange(to - m_timeWindow, to);
        m_dirty = false;
    }
    const double from = xAxis->range().lower;
    const double to = xAxis->range().upper;
    const int columns = std::max(1, axisRect()->width());
    for (auto &line : m_lines) {
        if (!line->visible)
            continue;
        line->series.decimate(from, to, columns, m_keys, m_values);
        line->graph->setData(m_keys, m_values, true);
    }
    if (m_autoscale)
        fitValueAxes();
    updateCursorItems();
    ++m_repaints;
    replot(immediate ? QCustomPlot::rpImmediateRefresh : QCustomPlot::rpQueuedReplot);
}

void RxPlot::fitValueAxes()
{
    // Each axis fits the lines drawn on it, over what is on screen.
    const double from = xAxis->range().lower;
    const double to = xAxis->range().upper;
    auto extent = [from, to](const QCPGraph *graph, double &low, double &high) {
        bool found = false;
        for (auto it = graph->data()->findBegin(from, false); it != graph->data()->constEnd(); ++it) {
            if (it->key > to)
                break;
            if (!std::isfinite(it->value))
                continue;
            low = found ? std::min(low, it->value) : it->value;
            high = found ? std::max(high, it->value) : it->value;
            found = true;
        }
        return found;
    };
    double low = 0.0;
    double high = 0.0;
    bool any = false;
    for (auto &line : m_lines) {
        if (!line->visible)
            continue;
        double l = 0.0;
        double h = 0.0;
        if (!extent(line->graph, l, h))
            continue;
        if (line->ownAxis) {
            fitAxis(line->ownAxis, l, h);
            continue;
        }
        low = any ? std::min(low, l) : l;
        high = any ? std::max(high, h) : h;
        any = true;
    }
    if (any)
        fitAxis(yAxis, low, high);
}

void RxPlot::setCursorsEnabled(bool on)
{
    m_cursorsOn = on;
    if (on) {
        const double from = viewFrom();
        const double span = viewTo() - from;
        setCursorTimes(from + span / 3.0, from + 2.0 * span / 3.0);
    } else {
        updateCursorItems();
        replot(QCustomPlot::rpQueuedReplot);
    }
}

void RxPlot::setCursorTimes(double first, double second)
{
    m_cursorTime[0] = first;
    m_cursorTime[1] = second;
    updateCursorItems();
    replot(QCustomPlot::rpQueuedReplot);
    emit cursorsMoved(cursorReading());
}

int RxPlot::valueAtCursor(int line, int which, double &value) const
{
    const RxSeries &s = m_lines[size_t(line)]->series;
    const int index = s.nearest(m_cursorTime[which]);
    if (index >= 0)
        value = s.valueAt(index);
    return index;
}

QString RxPlot::cursorReading() const
{
    if (!m_cursorsOn)
        return QString();
    const double dt = m_cursorTime[1] - m_cursorTime[0];
    QString text = tr("Δt = %1 s").arg(dt, 0, 'g', 6);
    for (size_t i = 0; i < m_lines.size(); ++i) {
        if (!m_lines[i]->visible)
            continue;
        double a = 0.0;
        double b = 0.0;
        if (valueAtCursor(int(i), 0, a) >= 0 && valueAtCursor(int(i), 1, b) >= 0)
            text += tr("   Δy = %1 (%2)").arg(b - a, 0, 'g', 9).arg(m_lines[i]->name);
        break;
    }
    return text;
}

void RxPlot::updateCursorItems()
{
    for (int i = 0; i < 2; ++i) {
        m_cursorItem[i]->setVisible(m_cursorsOn);
        m_cursorItem[i]->point1->setCoords(m_cursorTime[i], 0.0);
        m_cursorItem[i]->point2->setCoords(m_cursorTime[i], 1.0);
    }
    m_cursorText->setVisible(m_cursorsOn);
    if (m_cursorsOn)
        m_cursorText->setText(cursorReading());
}

void RxPlot::onMousePress(QMouseEvent *event)
{
    if (!m_cursorsOn || event->button() != Qt::LeftButton)
        return;
    for (int i = 0; i < 2; ++i) {
        const double x = xAxis->coordToPixel(m_cursorTime[i]);
        if (std::abs(x - event->pos().x()) <= kCursorGrab) {
            m_dragging = i;
            // The press moves the cursor, not the view.
            setInteractions(QCP::Interactions());
            return;
        }
    }
}

void RxPlot::onMouseMove(QMouseEvent *event)
{
    if (m_dragging < 0)
        return;
    double times[2] = {m_cursorTime[0], m_cursorTime[1]};
    times[m_dragging] = xAxis->pixelToCoord(event->pos().x());
    setCursorTimes(times[0], times[1]);
}

void RxPlot::onMouseRelease(QMouseEvent *)
{
    if (m_dragging < 0)
        return;
    m_dragging = -1;
    applyInteractions();
}

qint64 RxPlot::memoryBytes() const
{
    qint64 total = 0;
    for (const auto &line : m_lines)
        total += line->series.memoryBytes();
    return total;
}
