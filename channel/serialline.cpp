#include "serialline.h"

#include <dorvane/channelparams.h>

#ifdef Q_OS_LINUX
// termios2 comes from the kernel's headers, which must not meet <termios.h>.
#include <asm/termbits.h>
#include <cerrno>
#include <cstring>
#include <linux/serial.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>

namespace {

// The slave side of a Unix98 pseudo-terminal (/dev/pts/N): majors 136 to
// 143. Its driver has no break control and answers a break with success
// while doing nothing.
bool isPseudoTerminal(int fd)
{
    struct stat info;
    if (::fstat(fd, &info) != 0 || !S_ISCHR(info.st_mode))
        return false;
    const unsigned int majorNumber = major(info.st_rdev);
    return majorNumber >= 136 && majorNumber <= 143;
}

QString systemReason()
{
    return QString::fromLocal8Bit(std::strerror(errno));
}

struct PinBit
{
    int line;
    quint32 pin;
};

constexpr PinBit kPins[] = {{TIOCM_CTS, PinCts}, {TIOCM_DSR, PinDsr}, {TIOCM_CAR, PinDcd},
                            {TIOCM_RNG, PinRi},  {TIOCM_RTS, PinRts}, {TIOCM_DTR, PinDtr}};

} // namespace

QString serialline::modemLines(int fd, quint32 *pins)
{
    int status = 0;
    if (::ioctl(fd, TIOCMGET, &status) == -1)
        return systemReason();
    quint32 bits = 0;
    for (const PinBit &entry : kPins) {
        if (status & entry.line)
            bits |= entry.pin;
    }
    *pins = bits;
    return QString();
}

QString serialline::setModemLine(int fd, quint32 pin, bool on)
{
    int line = 0;
    for (const PinBit &entry : kPins) {
        if (entry.pin == pin)
            line = entry.line;
    }
    if (::ioctl(fd, on ? TIOCMBIS : TIOCMBIC, &line) == -1)
        return systemReason();
    return QString();
}

QString serialline::setBreak(int fd, bool on)
{
    if (isPseudoTerminal(fd))
        return QStringLiteral("a pseudo-terminal has no break line");
    if (::ioctl(fd, on ? TIOCSBRK : TIOCCBRK) == -1)
        return systemReason();
    return QString();
}

QString serialline::baudRate(int fd, qint32 *rate)
{
    struct termios2 settings;
    if (::ioctl(fd, TCGETS2, &settings) == -1)
        return systemReason();
    *rate = qint32(settings.c_ospeed);
    return QString();
}

QString serialline::errorCounts(int fd, UartErrorCounts *counts)
{
    serial_icounter_struct icount;
    std::memset(&icount, 0, sizeof icount);
    if (::ioctl(fd, TIOCGICOUNT, &icount) == -1)
        return systemReason();
    counts->frame = icount.frame;
    counts->overrun = icount.overrun;
    counts->parity = icount.parity;
    counts->brk = icount.brk;
    counts->bufferOverrun = icount.buf_overrun;
    return QString();
}

#else

namespace {
QString notHere()
{
    return QStringLiteral("not available on this system");
}
} // namespace

QString serialline::modemLines(int, quint32 *)
{
    return notHere();
}
QString serialline::setModemLine(int, quint32, bool)
{
    return notHere();
}
QString serialline::setBreak(int, bool)
{
    return notHere();
}
QString serialline::baudRate(int, qint32 *)
{
    return notHere();
}
QString serialline::errorCounts(int, UartErrorCounts *)
{
    return notHere();
}

#endif
