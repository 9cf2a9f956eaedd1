#include "windows/common/timingbuttons.h"

#include <QButtonGroup>
#include <QCoreApplication>
#include <QRadioButton>
#include <QVBoxLayout>

namespace {

QRadioButton *createButton(const char *text, const char *name, QWidget *parent)
{
    auto *button = new QRadioButton(QCoreApplication::translate("TimingButtons", text), parent);
    button->setObjectName(QLatin1String(name));
    return button;
}

} // namespace

TimingButtons::TimingButtons(QWidget *parent, QVBoxLayout *layout)
    : m_coarse(createButton(QT_TRANSLATE_NOOP("TimingButtons", "Coarse timer"), "rbCoarseTimer", parent))
    , m_precise(createButton(QT_TRANSLATE_NOOP("TimingButtons", "Precise timer"), "rbPreciseTimer", parent))
    , m_hires(
          createButton(QT_TRANSLATE_NOOP("TimingButtons", "High resolution timers"), "rbHiresTimer", parent))
{
    auto *group = new QButtonGroup(parent);
    group->addButton(m_coarse);
    group->addButton(m_precise);
    group->addButton(m_hires);
    m_precise->setChecked(true);
    m_hires->setToolTip(QCoreApplication::translate(
        "TimingButtons",
        "Busy-waits on a nanosecond clock: the most exact periods, at the cost of one busy core"));
    layout->addWidget(m_coarse);
    layout->addWidget(m_precise);
    layout->addWidget(m_hires);
}

TimingStrategy TimingButtons::strategy() const
{
    if (m_coarse->isChecked())
        return CoarseTiming;
    if (m_hires->isChecked())
        return HighResolutionTiming;
    return PreciseTiming;
}

void TimingButtons::setEnabled(bool on)
{
    m_coarse->setEnabled(on);
    m_precise->setEnabled(on);
    m_hires->setEnabled(on);
}
