#include "windows/rxframes/rxcsvexport.h"

#include "windows/rxframes/rxplot.h"

#include <QLocale>
#include <QSaveFile>

#include <cmath>

RxCsvSnapshot RxCsvSnapshot::of(const RxPlot &plot, bool rangeOnly, double from, double to)
{
    RxCsvSnapshot snapshot;
    const int lines = plot.lineCount();
    snapshot.times.resize(size_t(lines));
    snapshot.values.resize(size_t(lines));
    for (int line = 0; line < lines; ++line) {
        snapshot.graphIds << plot.graphIdOf(line);
        const RxSeries &series = plot.series(line);
        const int first = rangeOnly ? series.lowerBound(from) : 0;
        const int last = rangeOnly ? series.lowerBound(std::nextafter(to, HUGE_VAL)) : series.size();
        std::vector<double> &times = snapshot.times[size_t(line)];
        std::vector<double> &values = snapshot.values[size_t(line)];
        times.reserve(size_t(std::max(0, last - first)));
        values.reserve(times.capacity());
        for (int i = first; i < last; ++i) {
            times.push_back(series.timeAt(i));
            values.push_back(series.valueAt(i));
        }
    }
    return snapshot;
}

qint64 RxCsvSnapshot::pointCount() const
{
    qint64 count = 0;
    for (const auto &line : times)
        count += qint64(line.size());
    return count;
}

bool writeRxCsv(const QString &path, const RxCsvSnapshot &snapshot, QString *reason)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        if (reason)
            *reason = file.errorString();
        return false;
    }
    const size_t lines = snapshot.times.size();
    QByteArray out = "time_s";
    for (int id : snapshot.graphIds)
        out += ",graph_" + QByteArray::number(id);
    out += '\n';
    std::vector<size_t> at(lines, 0);
    bool ok = true;
    for (;;) {
        double time = 0.0;
        bool any = false;
        for (size_t line = 0; line < lines; ++line) {
            if (at[line] < snapshot.times[line].size()) {
                const double t = snapshot.times[line][at[line]];
                time = any ? std::min(time, t) : t;
                any = true;
            }
        }
        if (!any)
            break;
        out += QByteArray::number(time, 'f', 6);
        for (size_t line = 0; line < lines; ++line) {
            out += ',';
            if (at[line] < snapshot.times[line].size() && snapshot.times[line][at[line]] == time) {
                out += QByteArray::number(snapshot.values[line][at[line]], 'g',
                                          QLocale::FloatingPointShortest);
                ++at[line];
            }
        }
        out += '\n';
        if (out.size() > (1 << 20)) {
            ok = ok && file.write(out) == out.size();
            out.clear();
        }
    }
    ok = ok && file.write(out) == out.size();
    if (!ok || !file.commit()) {
        if (reason)
            *reason = file.errorString();
        return false;
    }
    return true;
}
