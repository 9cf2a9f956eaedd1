#include "arrivalgate.h"

#include "channel.h"

#include <QTimer>

namespace {

constexpr qint64 kHighMark = 8 * 1024 * 1024;
constexpr qint64 kLowMark = 2 * 1024 * 1024;
constexpr int kRetryMs = 2;

} // namespace

ArrivalGate::ArrivalGate(Channel *channel)
    : QObject(channel)
    , m_inFlight(std::make_shared<std::atomic<qint64>>(0))
    , m_retry(new QTimer(this))
{
    m_retry->setSingleShot(true);
    m_retry->setInterval(kRetryMs);
    connect(m_retry, &QTimer::timeout, this, &ArrivalGate::poll);
}

std::function<void(qint64)> ArrivalGate::taker()
{
    m_counting = true;
    return [counter = m_inFlight](qint64 bytes) { counter->fetch_sub(bytes); };
}

bool ArrivalGate::admit()
{
    if (m_inFlight->load() < kHighMark)
        return true;
    if (!m_retry->isActive())
        m_retry->start();
    return false;
}

void ArrivalGate::account(qint64 bytes)
{
    // Nobody takes the bytes off the count without a taker.
    if (m_counting)
        m_inFlight->fetch_add(bytes);
}

void ArrivalGate::poll()
{
    if (m_inFlight->load() > kLowMark) {
        m_retry->start();
        return;
    }
    emit reopened();
}
