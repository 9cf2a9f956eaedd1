#pragma once

#include "windows/rxframes/rxseries.h"

#include <QColor>
#include <QElapsedTimer>
#include <QList>
#include <QString>

#include <qcustomplot.h>

#include <dorvane/app_export.h>

#include <memory>
#include <vector>

class QTimer;

// The live plot of the decoded values: one line per graph id against the
// arrival time in seconds. Points go into each line's ring as they come;
// drawing happens on a timer, at most `refreshRate` times a second, from a
// min/max decimation of the range on screen, so neither the frame rate nor
// the length of the history changes what one repaint costs.
//
// Live, the time axis follows the newest point over `timeWindow` seconds.
// Paused, the view stands still (the rings keep filling) and the mouse
// zooms and pans; resuming returns to live. Two cursors read the time and
// value differences between them.
class DORVANE_APP_EXPORT RxPlot : public QCustomPlot
{
    Q_OBJECT

public:
    static constexpr int kMaxRefreshRate = 30;

    explicit RxPlot(QWidget *parent = nullptr, int ringCapacity = RxSeries::kDefaultCapacity);
    ~RxPlot() override;

    // One line per entry, named for the legend; the history starts empty.
    void setLines(const QList<int> &graphIds, const QStringList &names);
    int lineCount() const { return int(m_lines.size()); }
    int graphIdOf(int line) const { return m_lines[size_t(line)]->graphId; }
    const RxSeries &series(int line) const { return m_lines[size_t(line)]->series; }
    QCPGraph *graphOf(int line) const { return m_lines[size_t(line)]->graph; }
    void append(int line, double time, double value);
    void clearHistory();

    void setLineVisible(int line, bool visible);
    bool isLineVisible(int line) const;
    void setLineColor(int line, const QColor &color);
    QColor lineColor(int line) const;
    // A line on an axis of its own, on the right, scaled on its own.
    void setLineOwnAxis(int line, bool own);
    bool hasOwnAxis(int line) const;

    void setTimeWindow(double seconds);
    double timeWindow() const { return m_timeWindow; }
    void setRefreshRate(int perSecond);
    int refreshRate() const { return m_refreshRate; }

    void setPaused(bool paused);
    bool isPaused() const { return m_paused; }

    // Autoscale fits every value axis to what is on screen; off, the main
    // axis keeps the fixed range.
    void setAutoscale(bool on);
    bool isAutoscale() const { return m_autoscale; }
    void setFixedRange(double lower, double upper);

    void setCursorsEnabled(bool on);
    bool cursorsEnabled() const { return m_cursorsOn; }
    void setCursorTimes(double first, double second);
    double cursorTime(int which) const { return m_cursorTime[which]; }
    // "Δt = … s   Δy = …" for the first visible line; empty without cursors.
    QString cursorReading() const;

    // The time range on screen.
    double viewFrom() const;
    double viewTo() const;
    double latestTime() const { return m_latest; }

    // Decimates and draws now. Immediate repaints for measuring; the timer
    // queues them.
    void refresh(bool immediate = false);
    qint64 repaintCount() const { return m_repaints; }
    qint64 memoryBytes() const;

signals:
    void cursorsMoved(const QString &reading);

private:
    struct Line
    {
        int graphId = -1;
        QString name;
        RxSeries series;
        QCPGraph *graph = nullptr;
        QCPAxis *ownAxis = nullptr;
        bool visible = true;
        explicit Line(int capacity)
            : series(capacity)
        {
        }
    };

    void onTick();
    void fitValueAxes();
    void updateCursorItems();
    void onMousePress(QMouseEvent *event);
    void onMouseMove(QMouseEvent *event);
    void onMouseRelease(QMouseEvent *event);
    void applyInteractions();
    int valueAtCursor(int line, int which, double &value) const;

    std::vector<std::unique_ptr<Line>> m_lines;

    int m_capacity;
    QTimer *m_timer = nullptr;
    bool m_dirty = false;
    bool m_paused = false;
    bool m_autoscale = true;
    double m_fixedLower = -1.0;
    double m_fixedUpper = 1.0;
    double m_timeWindow = 10.0;
    int m_refreshRate = kMaxRefreshRate;
    double m_latest = 0.0;
    qint64 m_repaints = 0;

    bool m_cursorsOn = false;
    double m_cursorTime[2] = {0.0, 0.0};
    int m_dragging = -1;
    QCPItemStraightLine *m_cursorItem[2] = {nullptr, nullptr};
    QCPItemText *m_cursorText = nullptr;

    QVector<double> m_keys;
    QVector<double> m_values;
};
