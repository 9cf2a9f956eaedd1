#pragma once

#include <QtGlobal>

// Bounds that keep a hostile or merely fast peer from growing the network
// channels' memory or holding their worker thread.
namespace NetLimits {

// Bytes a TCP socket buffers from the kernel before it stops reading; past it
// the kernel's window makes the peer wait.
constexpr qint64 kReadBufferSize = 1024 * 1024;
// Bytes a TCP socket may hold unsent before further writes to it are refused;
// a peer that does not read must not make the write buffer grow without end.
constexpr qint64 kMaxPendingWrite = 4 * 1024 * 1024;
// Datagrams the UDP reader takes in one go before it lets the thread serve
// other events; the rest is read on the next notification.
constexpr int kDatagramsPerPass = 256;
// Kernel receive buffer asked for a UDP socket: at 100 000 datagrams/s it
// holds some tens of milliseconds, so a reader held back by the gate or by
// the scheduler loses nothing.
constexpr int kDatagramBuffer = 4 * 1024 * 1024;

} // namespace NetLimits
