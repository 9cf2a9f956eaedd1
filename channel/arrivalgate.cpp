#include "arrivalgate.h"

#include "channel.h"

#include <QTimer>

namespace {

constexpr qint64 kHighMark = 8 * 1024 * 1024;
constexpr qint64 kLowMark = 2 * 1024 * 1024;
// Chunks waiting for the receiver. Each one is an event of its own, and the
// application's receive path spends some tens of microseconds on it, so a
// thousand of them keep the receiving thread well inside 100 ms; the low mark
// still leaves it several milliseconds of work while the channel reads again.
constexpr qint64 kChunkHighMark = 1024;
constexpr qint64 kChunkLowMark = 256;
constexpr int kRetryMs = 2;

} // namespace

ArrivalGate::ArrivalGate(Channel *channel)
    : QObject(channel)
    , m_inFlight(std::make_shared<InFlight>())
    , m_retry(new QTimer(this))
{
    m_retry->setSingleShot(true);
    m_retry->setInterval(kRetryMs);
    connect(m_retry, &QTimer::timeout, this, &ArrivalGate::poll);
}

std::function<void(qint64)> ArrivalGate::taker()
{
    m_counting = true;
    return [counter = m_inFlight](qint64 bytes) {
        counter->bytes.fetch_sub(bytes);
        counter->chunks.fetch_sub(1);
    };
}

bool ArrivalGate::admit()
{
    if (m_inFlight->bytes.load() < kHighMark && m_inFlight->chunks.load() < kChunkHighMark)
        return true;
    if (!m_retry->isActive())
        m_retry->start();
    return false;
}

void ArrivalGate::account(qint64 bytes)
{
    // Nobody takes the bytes off the count without a taker.
    if (m_counting) {
        m_inFlight->bytes.fetch_add(bytes);
        m_inFlight->chunks.fetch_add(1);
    }
}

void ArrivalGate::poll()
{
    if (m_inFlight->bytes.load() > kLowMark || m_inFlight->chunks.load() > kChunkLowMark) {
        m_retry->start();
        return;
    }
    emit reopened();
}
