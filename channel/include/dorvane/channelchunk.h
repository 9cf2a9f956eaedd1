#pragma once
// What a channel read or wrote, with both of its time stamps.

#include <QByteArray>
#include <QDateTime>
#include <QMetaType>
#include <QString>
#include <QtGlobal>

#include <chrono>

// The clock of ChannelChunk::monotonicUs: microseconds of the steady clock
// (CLOCK_MONOTONIC on Linux). Code that measures against chunk stamps (gaps,
// round trips, capture files) reads it through this function so that both
// sides use one clock.
inline qint64 channelMonotonicUs()
{
    using namespace std::chrono;
    return duration_cast<microseconds>(steady_clock::now().time_since_epoch()).count();
}

// One read or one accepted write of a channel. Both stamps are taken on the
// channel's worker thread right at the read or the write, so the gap between
// two chunks is the device's, not the receiving thread's.
struct ChannelChunk
{
    qint64 monotonicUs = 0; // channelMonotonicUs() at the read or write
    QDateTime time;         // wall-clock time of the same moment (local time)
    QByteArray bytes;
    // "address:port" of the TCP-server client the chunk came from or was
    // written to alone; empty for every other chunk (a write to all clients too).
    QString source;
};

Q_DECLARE_METATYPE(ChannelChunk)

// Error counters of a UART, as the driver keeps them since it was loaded.
struct UartErrorCounts
{
    qint64 frame = 0;
    qint64 overrun = 0; // the UART's own receive FIFO overran
    qint64 parity = 0;
    qint64 brk = 0;           // breaks received
    qint64 bufferOverrun = 0; // the driver's buffer overran
};

Q_DECLARE_METATYPE(UartErrorCounts)
