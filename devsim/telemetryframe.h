#pragma once

#include <QByteArray>
#include <QtGlobal>

// One telemetry frame, 15 bytes:
//   AA 55 | counter u16 | sine float | ramp float | sum u8 | 0D 0A
// Numbers are little endian (the workbench's default field order). The sum
// is the low 8 bits of the byte sum of counter, sine and ramp (bytes 2 to
// 11), 0 to 255.
struct TelemetrySample
{
    quint16 counter = 0;
    float sine = 0;
    float ramp = 0;
};

constexpr int TelemetryFrameSize = 15;

// Frame index n of a run with `period` frames per cycle: the counter is n
// modulo 65536, the sine 100·sin(2πn/period), the ramp 100·(n mod period)/period.
TelemetrySample telemetrySample(quint64 index, int period);
QByteArray telemetryFrame(const TelemetrySample &sample);
// The sum byte of a frame's counter, sine and ramp bytes.
quint8 telemetrySum(const char *payload, int size);
