#pragma once

#include <dorvane/channelchunk.h>

// Stamps chunks on the worker thread. QDateTime::currentDateTime() looks the
// time zone up anew on every call (about 10 µs here, more than the rest of a
// datagram's way to the receiver), so the local offset is looked up once a
// second per thread and the wall-clock time is built from the epoch time and
// that offset. The times compare and convert like local times; they are
// Qt::OffsetFromUTC times with that offset.
namespace chunkclock {

ChannelChunk stamped(const QByteArray &bytes, const QString &source = QString());

} // namespace chunkclock
