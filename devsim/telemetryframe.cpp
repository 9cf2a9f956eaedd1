#include "telemetryframe.h"

#include <QtEndian>

#include <cmath>
#include <cstring>

TelemetrySample telemetrySample(quint64 index, int period)
{
    const double phase = double(index % quint64(period)) / double(period);
    TelemetrySample sample;
    sample.counter = quint16(index & 0xffff);
    sample.sine = float(100.0 * std::sin(2.0 * M_PI * phase));
    sample.ramp = float(100.0 * phase);
    return sample;
}

quint8 telemetrySum(const char *payload, int size)
{
    unsigned sum = 0;
    for (int i = 0; i < size; ++i)
        sum += quint8(payload[i]);
    return quint8(sum & 0xff);
}

QByteArray telemetryFrame(const TelemetrySample &sample)
{
    char frame[TelemetryFrameSize];
    frame[0] = char(0xAA);
    frame[1] = char(0x55);
    qToLittleEndian<quint16>(sample.counter, frame + 2);
    quint32 bits = 0;
    std::memcpy(&bits, &sample.sine, 4);
    qToLittleEndian<quint32>(bits, frame + 4);
    std::memcpy(&bits, &sample.ramp, 4);
    qToLittleEndian<quint32>(bits, frame + 8);
    frame[12] = char(telemetrySum(frame + 2, 10));
    frame[13] = 0x0D;
    frame[14] = 0x0A;
    return QByteArray(frame, TelemetryFrameSize);
}
