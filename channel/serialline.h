#pragma once

#include <dorvane/channelchunk.h>

#include <QString>
#include <QtGlobal>

// Modem lines, break, the rate the driver really set and the UART's error
// counters, on a port's open descriptor. Each returns an empty text on
// success and the system's reason otherwise (a pseudo-terminal has no modem
// lines and no counters). Linux asks the driver directly; elsewhere every
// call answers that it is not available.
namespace serialline {

QString modemLines(int fd, quint32 *pins);
QString setModemLine(int fd, quint32 pin, bool on);
QString setBreak(int fd, bool on);
QString baudRate(int fd, qint32 *rate);
QString errorCounts(int fd, UartErrorCounts *counts);

} // namespace serialline
