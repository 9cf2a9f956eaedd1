#include "services/bytecounterdisplay.h"

#include <QTimer>

ByteCounterDisplay::ByteCounterDisplay(std::function<void(quint32)> show, QObject *parent)
    : QObject(parent)
    , m_show(std::move(show))
    , m_timer(new QTimer(this))
{
    m_timer->setSingleShot(true);
    m_timer->setInterval(20);
    connect(m_timer, &QTimer::timeout, this, [this] { m_show(quint32(m_pending)); });
}

void ByteCounterDisplay::changed(quint64 total)
{
    m_pending = total;
    if (!m_timer->isActive())
        m_timer->start();
}

void ByteCounterDisplay::showNow(quint64 total)
{
    m_timer->stop();
    m_pending = total;
    m_show(quint32(total));
}
