#pragma once

#include "device.h"

#include <QElapsedTimer>
#include <QList>
#include <QPointer>
#include <QRandomGenerator>
#include <QTimer>

struct SimOptions;

// Sends telemetry frames (telemetryframe.h) to every endpoint at a steady
// rate of up to 10 000 frames a second. A timer of at most a few
// milliseconds sends every frame that is due by the clock, in one write, so
// the rate holds whatever the timer's jitter. Optionally some frames are
// preceded by garbage bytes (never 0xAA, so garbage never holds a false
// head) and some are left out; the counter still advances, as when a real
// line loses a frame.
class TelemetryDevice : public Device
{
    Q_OBJECT

public:
    explicit TelemetryDevice(const SimOptions &options, QObject *parent = nullptr);
    QString describe() const override;

protected:
    void onReceived(Endpoint *endpoint, const QByteArray &bytes) override;
    void onAttached(Endpoint *endpoint) override;

private:
    void tick();
    QByteArray nextFrames(quint64 count);

    int m_rate;
    int m_period;
    int m_garbagePercent;
    int m_dropPercent;
    QRandomGenerator m_random;
    QList<QPointer<Endpoint>> m_endpoints;
    QTimer m_timer;
    QElapsedTimer m_clock;
    quint64 m_index = 0;  // next frame to make
    quint64 m_origin = 0; // frame index at which the clock was started
};
