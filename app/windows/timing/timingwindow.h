#pragma once

#include <QWidget>

#include <dorvane/app_export.h>

class QLabel;
class QPushButton;
class TimingHistogram;
class TimingWatcher;

// The Timing dock's content: how well periodic sending keeps its period and
// how far apart received chunks come, as the timing watcher last worked them
// out (at most four times a second), with a histogram of the periods, a plain
// sentence when the period is not kept, "Export CSV" and "Reset".
class DORVANE_APP_EXPORT TimingWindow : public QWidget
{
    Q_OBJECT

public:
    explicit TimingWindow(TimingWatcher *watcher, QWidget *parent = nullptr);

    // Writes the figures and the retained samples; false, after telling the
    // user why, when the file cannot be written (the old file then stays).
    bool exportCsv(const QString &path);

private:
    void showSnapshot();
    void askExportCsv();

    TimingWatcher *m_watcher;
    QLabel *m_state;
    QLabel *m_shortfall;
    QLabel *m_requested;
    QLabel *m_rate;
    QLabel *m_writes;
    QLabel *m_late;
    QLabel *m_skipped;
    QLabel *m_period[5]; // min, mean, p50, p99, max
    QLabel *m_gap[5];
    TimingHistogram *m_histogram;
    QPushButton *m_export;
    QPushButton *m_reset;
    QString m_lastDirectory;
};
