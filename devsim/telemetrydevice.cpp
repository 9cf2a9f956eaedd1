#include "telemetrydevice.h"

#include "endpoint.h"
#include "simoptions.h"
#include "telemetryframe.h"

namespace {

// After a stall (the process was stopped, the machine busy) the backlog is
// not sent in one burst: at most this long a stretch is caught up.
const qint64 kMaxCatchUpMs = 100;

} // namespace

TelemetryDevice::TelemetryDevice(const SimOptions &options, QObject *parent)
    : Device(parent)
    , m_rate(options.rate)
    , m_period(options.period)
    , m_garbagePercent(options.garbagePercent)
    , m_dropPercent(options.dropPercent)
    , m_random(options.seed)
{
    m_timer.setTimerType(Qt::PreciseTimer);
    // One frame a tick at low rates, several frames every 2 ms at high ones.
    m_timer.setInterval(qBound(2, 1000 / m_rate, 50));
    connect(&m_timer, &QTimer::timeout, this, &TelemetryDevice::tick);
    m_clock.start();
    m_timer.start();
}

QString TelemetryDevice::describe() const
{
    return QStringLiteral("telemetry: %1 frames/s, %2 frames a cycle, %3 % with garbage, %4 % dropped")
        .arg(m_rate)
        .arg(m_period)
        .arg(m_garbagePercent)
        .arg(m_dropPercent);
}

void TelemetryDevice::onAttached(Endpoint *endpoint)
{
    m_endpoints.append(endpoint);
}

void TelemetryDevice::onReceived(Endpoint *, const QByteArray &)
{
    // Printed by the base; the device only talks.
}

void TelemetryDevice::tick()
{
    const qint64 elapsedMs = m_clock.elapsed();
    quint64 due = m_origin + quint64(elapsedMs) * quint64(m_rate) / 1000;
    if (due <= m_index)
        return;
    const quint64 maxBurst = quint64(m_rate) * kMaxCatchUpMs / 1000 + 1;
    if (due - m_index > maxBurst) {
        // Restart the clock from here rather than flood the peer.
        m_origin = m_index + maxBurst;
        m_clock.restart();
        due = m_origin;
    }
    const QByteArray bytes = nextFrames(due - m_index);
    m_endpoints.removeAll(nullptr);
    if (bytes.isEmpty())
        return;
    for (const QPointer<Endpoint> &endpoint : qAsConst(m_endpoints))
        endpoint->send(bytes);
}

QByteArray TelemetryDevice::nextFrames(quint64 count)
{
    QByteArray bytes;
    bytes.reserve(int(count) * (TelemetryFrameSize + 8));
    for (quint64 i = 0; i < count; ++i, ++m_index) {
        if (m_dropPercent > 0 && int(m_random.bounded(100)) < m_dropPercent)
            continue;
        if (m_garbagePercent > 0 && int(m_random.bounded(100)) < m_garbagePercent) {
            const int length = int(m_random.bounded(1, 9));
            for (int g = 0; g < length; ++g)
                bytes.append(char(m_random.bounded(0xAA)));
        }
        bytes.append(telemetryFrame(telemetrySample(m_index, m_period)));
    }
    return bytes;
}
