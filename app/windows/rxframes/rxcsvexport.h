#pragma once

#include <QString>
#include <QVector>

#include <dorvane/app_export.h>

#include <vector>

class RxPlot;

// A copy of the plotted history (or of the range on screen) that a CSV file
// is written from on a thread of its own, while the plot goes on filling.
struct DORVANE_APP_EXPORT RxCsvSnapshot
{
    QVector<int> graphIds;
    std::vector<std::vector<double>> times;
    std::vector<std::vector<double>> values;

    // Every point of every line, or those whose time lies in [from, to].
    static RxCsvSnapshot of(const RxPlot &plot, bool rangeOnly, double from, double to);
    qint64 pointCount() const;
};

// Writes "time_s" and one "graph_<id>" column per line; rows are merged by
// time, so the values of one frame share a row. Times have six decimals
// (microseconds); values are printed in the shortest form that reads back as
// the same double. Atomic: on failure the old file stays and `reason` says
// why.
DORVANE_APP_EXPORT bool writeRxCsv(const QString &path, const RxCsvSnapshot &snapshot, QString *reason);
