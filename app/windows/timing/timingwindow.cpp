#include "windows/timing/timingwindow.h"

#include "services/timingwatcher.h"
#include "shell/notices.h"
#include "windows/timing/timinghistogram.h"

#include <QCoreApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSaveFile>
#include <QTextStream>
#include <QVBoxLayout>

namespace {

const char *const kFigureColumns[5]
    = {QT_TRANSLATE_NOOP("TimingWindow", "min"), QT_TRANSLATE_NOOP("TimingWindow", "mean"),
       QT_TRANSLATE_NOOP("TimingWindow", "p50"), QT_TRANSLATE_NOOP("TimingWindow", "p99"),
       QT_TRANSLATE_NOOP("TimingWindow", "max")};
const char *const kFigureKeys[5] = {"min", "mean", "p50", "p99", "max"};

QLabel *valueLabel(const QString &objectName, QWidget *parent)
{
    auto *label = new QLabel(QStringLiteral("–"), parent);
    label->setObjectName(objectName);
    label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    return label;
}

QString strategyName(TimingStrategy strategy)
{
    switch (strategy) {
    case CoarseTiming:
        return QCoreApplication::translate("TimingButtons", "Coarse timer");
    case PreciseTiming:
        return QCoreApplication::translate("TimingButtons", "Precise timer");
    case HighResolutionTiming:
        return QCoreApplication::translate("TimingButtons", "High resolution timers");
    }
    return QString();
}

// The five figures of a summary in the order of the columns; mean keeps one
// decimal, the rest are whole microseconds.
QStringList figureTexts(const SampleStats::Summary &s)
{
    if (s.count == 0)
        return {QStringLiteral("–"), QStringLiteral("–"), QStringLiteral("–"), QStringLiteral("–"),
                QStringLiteral("–")};
    return {QString::number(s.min), QString::number(s.mean, 'f', 1), QString::number(s.p50),
            QString::number(s.p99), QString::number(s.max)};
}

QString share(std::uint64_t part, std::uint64_t whole)
{
    if (whole == 0)
        return QString::number(part);
    return QStringLiteral("%1 (%2 %)").arg(part).arg(double(part) * 100.0 / double(whole), 0, 'f', 1);
}

} // namespace

TimingWindow::TimingWindow(TimingWatcher *watcher, QWidget *parent)
    : QWidget(parent)
    , m_watcher(watcher)
    , m_state(new QLabel(this))
    , m_shortfall(new QLabel(this))
    , m_requested(valueLabel(QStringLiteral("RequestedPeriod"), this))
    , m_rate(valueLabel(QStringLiteral("AchievedRate"), this))
    , m_writes(valueLabel(QStringLiteral("TickWrites"), this))
    , m_late(valueLabel(QStringLiteral("LateTicks"), this))
    , m_skipped(valueLabel(QStringLiteral("SkippedTicks"), this))
    , m_histogram(new TimingHistogram(this))
    , m_export(new QPushButton(tr("Export CSV"), this))
    , m_reset(new QPushButton(tr("Reset"), this))
{
    setObjectName(QStringLiteral("TimingWindow"));
    m_state->setObjectName(QStringLiteral("TimingState"));
    m_shortfall->setObjectName(QStringLiteral("TimingShortfall"));
    m_shortfall->setWordWrap(true);
    QFont bold = m_shortfall->font();
    bold.setBold(true);
    m_shortfall->setFont(bold);
    m_shortfall->hide();
    m_histogram->setObjectName(QStringLiteral("TimingHistogram"));
    m_export->setObjectName(QStringLiteral("ExportCsvButton"));
    m_reset->setObjectName(QStringLiteral("ResetButton"));

    auto *figures = new QGridLayout;
    figures->setHorizontalSpacing(12);
    for (int c = 0; c < 5; ++c) {
        auto *head = new QLabel(tr(kFigureColumns[c]), this);
        head->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        figures->addWidget(head, 0, c + 1);
        const QString key = QString::fromLatin1(kFigureKeys[c]);
        m_period[c] = valueLabel(QStringLiteral("Period_") + key, this);
        m_gap[c] = valueLabel(QStringLiteral("RxGap_") + key, this);
        figures->addWidget(m_period[c], 1, c + 1);
        figures->addWidget(m_gap[c], 2, c + 1);
    }
    figures->addWidget(new QLabel(tr("Period (µs)"), this), 1, 0);
    figures->addWidget(new QLabel(tr("RX gap (µs)"), this), 2, 0);
    figures->setColumnStretch(6, 1);

    auto *ticks = new QGridLayout;
    ticks->setHorizontalSpacing(12);
    const QList<QPair<QString, QLabel *>> rows = {{tr("Requested period"), m_requested},
                                                  {tr("Achieved rate"), m_rate},
                                                  {tr("Writes"), m_writes},
                                                  {tr("Late ticks"), m_late},
                                                  {tr("Skipped ticks"), m_skipped}};
    for (int r = 0; r < rows.size(); ++r) {
        ticks->addWidget(new QLabel(rows.at(r).first, this), r, 0);
        ticks->addWidget(rows.at(r).second, r, 1);
    }
    ticks->setColumnStretch(2, 1);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(m_export);
    buttons->addWidget(m_reset);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_state);
    layout->addWidget(m_shortfall);
    layout->addLayout(ticks);
    layout->addLayout(figures);
    layout->addWidget(m_histogram, 1);
    layout->addLayout(buttons);

    connect(m_watcher, &TimingWatcher::snapshotChanged, this, &TimingWindow::showSnapshot);
    connect(m_reset, &QPushButton::clicked, m_watcher, &TimingWatcher::reset);
    connect(m_export, &QPushButton::clicked, this, &TimingWindow::askExportCsv);
    showSnapshot();
}

void TimingWindow::showSnapshot()
{
    const TimingSnapshot &s = m_watcher->snapshot();
    const TickTiming::Figures &f = s.figures;
    if (s.sending)
        m_state->setText(tr("Periodic sending runs: %1 ms, %2")
                             .arg(f.requestedPeriodUs / 1000)
                             .arg(strategyName(s.strategy)));
    else if (f.writes > 0)
        m_state->setText(tr("Periodic sending stopped; the figures of its last run"));
    else
        m_state->setText(tr("No periodic sending yet"));

    const QString shortfall = QString::fromStdString(TickTiming::DescribeShortfall(f));
    m_shortfall->setText(shortfall);
    m_shortfall->setVisible(!shortfall.isEmpty());

    if (f.requestedPeriodUs > 0)
        m_requested->setText(tr("%1 µs (%2 Hz)")
                                 .arg(f.requestedPeriodUs)
                                 .arg(QString::fromStdString(TickTiming::FormatHz(f.requestedHz))));
    else
        m_requested->setText(QStringLiteral("–"));
    m_rate->setText(f.writes > 1 ? tr("%1 Hz").arg(QString::fromStdString(TickTiming::FormatHz(f.achievedHz)))
                                 : QStringLiteral("–"));
    m_writes->setText(QString::number(f.writes));
    m_late->setText(share(f.lateTicks, f.writes));
    m_skipped->setText(share(f.skippedTicks, f.writes + f.skippedTicks));

    const QStringList periods = figureTexts(f.period);
    const QStringList gaps = figureTexts(f.rxGap);
    for (int c = 0; c < 5; ++c) {
        m_period[c]->setText(periods.at(c));
        m_gap[c]->setText(gaps.at(c));
    }
    m_histogram->setBins(s.histogram, s.histogramLowUs, s.histogramHighUs, f.requestedPeriodUs);
}

void TimingWindow::askExportCsv()
{
    QString path
        = QFileDialog::getSaveFileName(this, tr("Export CSV"), m_lastDirectory, tr("CSV file (*.csv)"));
    if (path.isEmpty())
        return;
    if (QFileInfo(path).suffix().isEmpty())
        path += QStringLiteral(".csv");
    m_lastDirectory = QFileInfo(path).absolutePath();
    exportCsv(path);
}

bool TimingWindow::exportCsv(const QString &path)
{
    // The figures as the dock shows them, then every retained sample; the
    // samples of one run are at most some ten thousands of lines.
    m_watcher->refresh();
    const TimingSnapshot &s = m_watcher->snapshot();
    const TickTiming::Figures &f = s.figures;
    QByteArray text;
    QTextStream out(&text);
    out << "figure,value\n";
    out << "requested_period_us," << f.requestedPeriodUs << '\n';
    out << "requested_hz," << QString::number(f.requestedHz, 'f', 3) << '\n';
    out << "achieved_hz," << QString::number(f.achievedHz, 'f', 3) << '\n';
    out << "writes," << f.writes << '\n';
    out << "late_ticks," << f.lateTicks << '\n';
    out << "skipped_ticks," << f.skippedTicks << '\n';
    const auto summary = [&out](const char *prefix, const SampleStats::Summary &sum) {
        out << prefix << "_count," << sum.count << '\n';
        out << prefix << "_min_us," << sum.min << '\n';
        out << prefix << "_mean_us," << QString::number(sum.mean, 'f', 3) << '\n';
        out << prefix << "_p50_us," << sum.p50 << '\n';
        out << prefix << "_p99_us," << sum.p99 << '\n';
        out << prefix << "_max_us," << sum.max << '\n';
    };
    summary("period", f.period);
    summary("rx_gap", f.rxGap);
    out << '\n' << "sample,us\n";
    for (std::int64_t us : m_watcher->timing().GetPeriods().retainedSamples())
        out << "period," << us << '\n';
    for (std::int64_t us : m_watcher->timing().GetRxGaps().retainedSamples())
        out << "rx_gap," << us << '\n';
    out.flush();

    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(text) != text.size()
        || !file.commit()) {
        warnSaveFailed(this, path, file.errorString());
        return false;
    }
    return true;
}
