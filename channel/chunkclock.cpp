#include "chunkclock.h"

namespace {

// Long enough to keep the look-up out of the hot path, short enough that a
// change of daylight-saving time shows within a second.
constexpr qint64 kOffsetValidMs = 1000;

struct OffsetCache
{
    qint64 validUntilMs = 0;
    int offsetSeconds = 0;
};

} // namespace

ChannelChunk chunkclock::stamped(const QByteArray &bytes, const QString &source)
{
    thread_local OffsetCache cache;
    ChannelChunk chunk;
    chunk.monotonicUs = channelMonotonicUs();
    const qint64 ms = QDateTime::currentMSecsSinceEpoch();
    if (ms >= cache.validUntilMs || ms < cache.validUntilMs - kOffsetValidMs) {
        cache.offsetSeconds = QDateTime::fromMSecsSinceEpoch(ms).offsetFromUtc();
        cache.validUntilMs = ms + kOffsetValidMs;
    }
    chunk.time = QDateTime::fromMSecsSinceEpoch(ms, Qt::OffsetFromUTC, cache.offsetSeconds);
    chunk.bytes = bytes;
    chunk.source = source;
    return chunk;
}
