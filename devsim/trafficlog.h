#pragma once

#include <QByteArray>
#include <QString>

// What the device received and answered, one line each on standard output,
// stamped with the wall-clock time to the microsecond:
//   00:41:07.123456 pty /dev/pts/4 RX 8: 01 03 00 00 00 02 C4 0B
// Lines are flushed at once so a reader on a pipe sees them as they happen.
class TrafficLog
{
public:
    // Quiet leaves out the traffic lines; notes (start-up, errors) still print.
    static void setQuiet(bool quiet);
    static bool isQuiet();

    static void received(const QString &endpoint, const QByteArray &bytes);
    static void sent(const QString &endpoint, const QByteArray &bytes);
    static void note(const QString &text);
    static void error(const QString &text);

    // HH:MM:SS.uuuuuu of now, local time.
    static QString stamp();
    // Upper-case hex pairs, at most maxBytes of them, then the count left out.
    static QString hex(const QByteArray &bytes, int maxBytes = 64);
};
