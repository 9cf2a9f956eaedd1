#include "windows/linkhealth/linkhealthwindow.h"

#include "model/settingsvalues.h"
#include "services/linkhealth.h"
#include "shell/applicationoptions.h"
#include "windows/linkhealth/rtthistogram.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QTimer>
#include <QVBoxLayout>

namespace {

const char kSection[] = "linkHealth";
constexpr int kRefreshMs = 250;
constexpr int kHistogramBins = 40;
constexpr int kMaxReplyWindowMs = 60000;

QString countText(qint64 n)
{
    return QString::number(n);
}

} // namespace

LinkHealthWindow::LinkHealthWindow(LinkHealth *health, ApplicationOptions *options, QWidget *parent)
    : QWidget(parent)
    , m_health(health)
    , m_options(options)
{
    setObjectName(QStringLiteral("LinkHealthWindow"));
    // One column: the round trips on top, where the histogram takes what
    // height there is, the checks and the UART under them, so the panel fits
    // the narrow dock beside the history.
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    QVBoxLayout *side = layout;

    auto *pairing = new QGroupBox(tr("Requests and replies"), this);
    auto *pairGrid = new QGridLayout(pairing);
    m_rttMin = addFigure(pairGrid, 0, 0, tr("RTT min"), "LinkHealthRttMin");
    m_rttP50 = addFigure(pairGrid, 0, 2, tr("p50"), "LinkHealthRttP50");
    m_rttP99 = addFigure(pairGrid, 1, 0, tr("p99"), "LinkHealthRttP99");
    m_rttMax = addFigure(pairGrid, 1, 2, tr("max"), "LinkHealthRttMax");
    m_replies = addFigure(pairGrid, 2, 0, tr("Replies"), "LinkHealthReplies");
    m_missing = addFigure(pairGrid, 2, 2, tr("Replies missing"), "LinkHealthMissing");
    pairGrid->addWidget(new QLabel(tr("Reply window"), pairing), 3, 0);
    m_windowSpin = new QSpinBox(pairing);
    m_windowSpin->setObjectName(QStringLiteral("LinkHealthReplyWindow"));
    m_windowSpin->setRange(1, kMaxReplyWindowMs);
    m_windowSpin->setSuffix(tr(" ms"));
    m_windowSpin->setValue(1000);
    m_windowSpin->setToolTip(tr("A reply is the first one received within this time after a send"));
    pairGrid->addWidget(m_windowSpin, 3, 1);
    m_source = new QLabel(pairing);
    m_source->setObjectName(QStringLiteral("LinkHealthReplySource"));
    pairGrid->addWidget(m_source, 4, 0, 1, 4);
    m_histogram = new RttHistogram(pairing);
    pairGrid->addWidget(m_histogram, 5, 0, 1, 4);
    pairGrid->setRowStretch(5, 1);
    layout->addWidget(pairing, 1);

    auto *frames = new QGroupBox(tr("Frame checks"), this);
    auto *frameGrid = new QGridLayout(frames);
    m_checksum = addFigure(frameGrid, 0, 0, tr("Checksum failures"), "LinkHealthChecksumFailures");
    m_gaps = addFigure(frameGrid, 1, 0, tr("Sequence gaps"), "LinkHealthSequenceGaps");
    m_repeats = addFigure(frameGrid, 2, 0, tr("Sequence repeats"), "LinkHealthSequenceRepeats");
    m_roleProblem = new QLabel(frames);
    m_roleProblem->setObjectName(QStringLiteral("LinkHealthRoleProblem"));
    m_roleProblem->setWordWrap(true);
    frameGrid->addWidget(m_roleProblem, 3, 0, 1, 2);
    side->addWidget(frames);

    auto *uart = new QGroupBox(tr("UART errors"), this);
    auto *uartGrid = new QGridLayout(uart);
    m_uart[0] = addFigure(uartGrid, 0, 0, tr("Frame"), "LinkHealthUartFrame");
    m_uart[1] = addFigure(uartGrid, 0, 2, tr("Overrun"), "LinkHealthUartOverrun");
    m_uart[2] = addFigure(uartGrid, 1, 0, tr("Parity"), "LinkHealthUartParity");
    m_uart[3] = addFigure(uartGrid, 1, 2, tr("Break"), "LinkHealthUartBreak");
    m_uart[4] = addFigure(uartGrid, 2, 0, tr("Buffer overrun"), "LinkHealthUartBufferOverrun");
    m_uartState = new QLabel(uart);
    m_uartState->setObjectName(QStringLiteral("LinkHealthUartState"));
    uartGrid->addWidget(m_uartState, 2, 2, 1, 2);
    side->addWidget(uart);

    auto *reset = new QPushButton(tr("Reset"), this);
    reset->setObjectName(QStringLiteral("LinkHealthResetButton"));
    side->addWidget(reset, 0, Qt::AlignRight);
    connect(reset, &QPushButton::clicked, this, [this] {
        if (m_health)
            m_health->reset();
        refreshNow();
    });

    m_refresh = new QTimer(this);
    m_refresh->setInterval(kRefreshMs);
    connect(m_refresh, &QTimer::timeout, this, &LinkHealthWindow::refreshNow);
    loadSettings();
    connect(m_windowSpin, QOverload<int>::of(&QSpinBox::valueChanged), this, [this](int ms) {
        if (m_health)
            m_health->setReplyWindowMs(ms);
        saveSettings();
    });
    refreshNow();
}

LinkHealthWindow::~LinkHealthWindow() = default;

QLabel *LinkHealthWindow::addFigure(QGridLayout *grid, int row, int column, const QString &caption,
                                    const char *name)
{
    auto *label = new QLabel(caption, grid->parentWidget());
    auto *value = new QLabel(grid->parentWidget());
    value->setObjectName(QLatin1String(name));
    value->setTextInteractionFlags(Qt::TextSelectableByMouse);
    value->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    value->setMinimumWidth(fontMetrics().horizontalAdvance(QStringLiteral("0000.000 ms")));
    grid->addWidget(label, row, column);
    grid->addWidget(value, row, column + 1);
    return value;
}

QString LinkHealthWindow::figureText(const char *name) const
{
    const QLabel *label = findChild<QLabel *>(QLatin1String(name));
    return label ? label->text() : QString();
}

void LinkHealthWindow::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    refreshNow();
    m_refresh->start();
}

void LinkHealthWindow::hideEvent(QHideEvent *event)
{
    m_refresh->stop();
    QWidget::hideEvent(event);
}

void LinkHealthWindow::refreshNow()
{
    if (!m_health)
        return;
    const LinkHealthFigures f = m_health->figures();
    const bool any = f.replies > 0;
    const QString none = QStringLiteral("–");
    m_rttMin->setText(any ? durationText(f.rtt.min) : none);
    m_rttP50->setText(any ? durationText(f.rtt.p50) : none);
    m_rttP99->setText(any ? durationText(f.rtt.p99) : none);
    m_rttMax->setText(any ? durationText(f.rtt.max) : none);
    m_replies->setText(tr("%1 of %2").arg(f.replies).arg(f.requests));
    m_missing->setText(countText(f.missing));
    m_source->setText(f.byFrames ? tr("replies: frames of the receive protocol") : tr("replies: any chunk"));
    if (any) {
        // The bars span what was measured, so a steady link shows its spread.
        qint64 low = f.rtt.min;
        qint64 high = f.rtt.max + 1;
        if (high - low < kHistogramBins)
            high = low + kHistogramBins;
        const std::vector<std::uint64_t> bins = m_health->histogram(low, high, kHistogramBins);
        m_histogram->setBins(QVector<quint64>(bins.cbegin(), bins.cend()), low, high);
    } else {
        m_histogram->setBins({}, 0, 0);
    }

    const QString unchecked = tr("no role");
    m_checksum->setText(f.checksumChecked ? tr("%1 of %2").arg(f.checksumFailures).arg(f.checkedFrames)
                                          : unchecked);
    m_gaps->setText(f.sequenceChecked ? countText(f.sequenceGaps) : unchecked);
    m_repeats->setText(f.sequenceChecked ? countText(f.sequenceRepeats) : unchecked);
    m_roleProblem->setText(f.roleProblem);
    m_roleProblem->setVisible(!f.roleProblem.isEmpty());

    const qint64 uart[5] = {f.uart.frame, f.uart.overrun, f.uart.parity, f.uart.brk, f.uart.bufferOverrun};
    for (int i = 0; i < 5; ++i)
        m_uart[i]->setText(f.uartAvailable ? countText(uart[i]) : none);
    m_uartState->setText(f.uartAvailable ? QString() : tr("not available"));
}

void LinkHealthWindow::loadSettings()
{
    if (!m_options)
        return;
    const YAML::Node section = m_options->section(kSection);
    const int ms = qBound(1, settingsInt(section, "replyWindow", 1000), kMaxReplyWindowMs);
    m_windowSpin->setValue(ms);
    if (m_health)
        m_health->setReplyWindowMs(ms);
}

void LinkHealthWindow::saveSettings()
{
    if (!m_options)
        return;
    YAML::Node section(YAML::NodeType::Map);
    section["replyWindow"] = m_windowSpin->value();
    m_options->setSection(kSection, section, false);
}
