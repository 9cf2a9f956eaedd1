#pragma once

#include <QTableWidget>

#include <dorvane/app_export.h>

class RxPlot;

// Beside the plot: one row per line, to hide it, give it another colour or
// an axis of its own.
class DORVANE_APP_EXPORT RxLineList : public QTableWidget
{
    Q_OBJECT

public:
    explicit RxLineList(RxPlot *plot, QWidget *parent = nullptr);

    // Rows for the plot's lines as they are now.
    void refill();

private:
    RxPlot *m_plot;
};
