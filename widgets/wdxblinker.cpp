#include <dorvane/wdxblinker.h>

#include <dorvane/wdxblinkpolicy.h>

#include <QTimer>

namespace {

WdxBlinkPolicy *defaultPolicy()
{
    static WdxBlinkPolicy policy;
    return &policy;
}

} // namespace

WdxBlinker::WdxBlinker(QObject *parent)
    : WdxBlinker(nullptr, nullptr, parent)
{
}

WdxBlinker::WdxBlinker(QWidget *widget, WdxBlinkPolicy *policy, QObject *parent)
    : QObject(parent)
    , m_widget(widget)
    , m_timer(new QTimer(this))
    , m_policy(policy ? policy : defaultPolicy())
{
    connect(m_timer, &QTimer::timeout, this, &WdxBlinker::tick);
}

WdxBlinker::~WdxBlinker()
{
    stop();
}

void WdxBlinker::setBlinkPolicy(WdxBlinkPolicy *policy)
{
    m_policy = policy ? policy : defaultPolicy();
}

bool WdxBlinker::isActive() const
{
    return m_timer->isActive();
}

bool WdxBlinker::start()
{
    if (!m_timer->isActive() && m_state == Idle) {
        // A restarted blinker begins a new blink; carrying the old count over would pass its last count
        // and never finish.
        m_count = 0;
        m_phase = 0;
        m_timer->start(m_interval);
        m_state = Running;
    }
    return m_timer->isActive();
}

void WdxBlinker::stop()
{
    if (!m_timer->isActive())
        return;
    m_timer->stop();
    m_state = m_restartEnabled ? Idle : Finished;
}

void WdxBlinker::tick()
{
    if (m_phase == 0)
        ++m_count;
    QWidget *target = m_widget.data();
    if (1 < m_count && (m_blinkTimes == -1 || m_count < m_blinkTimes))
        m_policy->onBlink(target, m_count, m_phase);
    if (m_count == 1 && m_phase == 0)
        m_policy->onBlinkStart(target, 1);
    if (m_count == m_blinkTimes && m_phase == 1) {
        m_policy->onBlinkFinish(target, m_count);
        stop();
    }
    m_phase ^= 1;
}
