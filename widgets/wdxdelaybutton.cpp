#include <dorvane/wdxdelaybutton.h>

#include <QMouseEvent>
#include <QTimer>

WdxDelayButton::WdxDelayButton(QWidget *parent)
    : WdxDelayButton(0, 0, true, parent)
{
}

WdxDelayButton::WdxDelayButton(int clickInterval, int countdownInterval, bool autoDisable, QWidget *parent)
    : QPushButton(parent)
    , m_clickInterval(clickInterval)
    , m_autoDisable(autoDisable)
    , m_delayTimer(new QTimer(this))
{
    m_delayTimer->setSingleShot(true);
    connect(m_delayTimer, &QTimer::timeout, this, &WdxDelayButton::onDelayTimeout);
    setCountdownInterval(countdownInterval);
}

void WdxDelayButton::setCountdownInterval(int ms)
{
    if (ms == m_countdownInterval)
        return;
    m_countdownInterval = ms;
    if (ms > 0) {
        m_baseText = text();
        if (!m_countdownTimer) {
            m_countdownTimer = new QTimer(this);
            connect(m_countdownTimer, &QTimer::timeout, this, &WdxDelayButton::onCountdownTick);
        }
        if (m_countdownTimer->isActive())
            m_countdownTimer->start(ms);
    } else if (m_countdownTimer) {
        // Without a countdown the suffix would stay in the text for good.
        if (m_countdownTimer->isActive()) {
            m_countdownTimer->stop();
            setText(m_baseText);
        }
    }
}

bool WdxDelayButton::isDelaying() const
{
    return m_delayTimer->isActive();
}

void WdxDelayButton::mouseReleaseEvent(QMouseEvent *event)
{
    if (m_clickInterval < 1 || event->button() != Qt::LeftButton) {
        QPushButton::mouseReleaseEvent(event);
        return;
    }
    // The button takes the click over: it is let up without the ordinary click.
    setDown(false);
    event->accept();
    m_pending = rect().contains(event->pos());
    if (!m_pending)
        return;
    if (m_autoDisable)
        setEnabled(false);
    if (m_countdownInterval > 0 && m_countdownTimer) {
        m_countdownTimer->start(m_countdownInterval);
        showCountdown(m_clickInterval);
    }
    m_delayTimer->start(m_clickInterval);
    if (m_clickMode == ImmediateClick)
        emit clicked(false);
}

void WdxDelayButton::onDelayTimeout()
{
    m_delayTimer->stop();
    if (m_pending) {
        if (m_autoDisable)
            setEnabled(true);
        if (m_clickMode == DelayedClick)
            emit clicked(false);
    }
    m_pending = false;
}

void WdxDelayButton::onCountdownTick()
{
    if (m_delayTimer->isActive()) {
        const int step = m_countdownInterval > 0 ? m_countdownInterval : 1;
        showCountdown(m_delayTimer->remainingTime() / step * step);
    } else {
        setText(m_baseText);
        // Nothing is left to count down until the next click.
        m_countdownTimer->stop();
    }
}

void WdxDelayButton::showCountdown(int ms)
{
    setText(m_baseText + QStringLiteral("(%1...)").arg(ms));
}
