#include "arrivalgate.h"

#include "channel.h"
#include "handoff.h"

#include <QTimer>

namespace {

constexpr qint64 kHighMark = 8 * 1024 * 1024;
constexpr qint64 kLowMark = 2 * 1024 * 1024;
constexpr int kRetryMs = 2;

} // namespace

ArrivalGate::ArrivalGate(Channel *channel)
    : QObject(channel)
    , m_channel(channel)
    , m_inFlight(std::make_shared<std::atomic<qint64>>(0))
    , m_retry(new QTimer(this))
{
    m_retry->setSingleShot(true);
    m_retry->setInterval(kRetryMs);
    connect(m_retry, &QTimer::timeout, this, &ArrivalGate::poll);
}

ArrivalGate::~ArrivalGate()
{
    // The tap belongs to the receiving thread; it goes when that thread next
    // runs its event loop. The counter it holds outlives both ends.
    if (m_tap)
        m_tap->deleteLater();
}

void ArrivalGate::attach()
{
    if (m_tap)
        return;
    m_tap = new QObject;
    // Made before the proxy relays bytesArrived, so each chunk is taken off
    // the count just before the receiver sees it.
    connect(
        m_channel, &Channel::bytesArrived, m_tap,
        [counter = m_inFlight](const QDateTime &, const QByteArray &bytes) {
            handoff::takeOver();
            counter->fetch_sub(bytes.size());
        },
        Qt::QueuedConnection);
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
    if (m_tap)
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
