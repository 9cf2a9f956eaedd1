#include "pseudoterminal.h"

#include <QDir>
#include <QElapsedTimer>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <termios.h>
#include <unistd.h>

PseudoTerminal::PseudoTerminal()
{
    int slave = -1;
    char name[256] = {};
    if (::openpty(&m_master, &slave, name, nullptr, nullptr) != 0) {
        m_error = QStringLiteral("openpty failed: %1").arg(QString::fromLocal8Bit(std::strerror(errno)));
        m_master = -1;
        return;
    }
    // Raw from the start, so nothing is echoed back before the port opens it.
    termios tio{};
    if (::tcgetattr(slave, &tio) == 0) {
        ::cfmakeraw(&tio);
        ::tcsetattr(slave, TCSANOW, &tio);
    }
    ::close(slave);
    m_slavePath = QString::fromLocal8Bit(name);
    ::fcntl(m_master, F_SETFL, ::fcntl(m_master, F_GETFL) | O_NONBLOCK);
}

PseudoTerminal::~PseudoTerminal()
{
    closeMaster();
}

bool PseudoTerminal::write(const QByteArray &bytes)
{
    qint64 done = 0;
    QElapsedTimer clock;
    clock.start();
    while (done < bytes.size() && clock.elapsed() < 5000) {
        const ssize_t n = ::write(m_master, bytes.constData() + done, size_t(bytes.size() - done));
        if (n > 0) {
            done += n;
        } else if (n < 0 && errno != EAGAIN && errno != EINTR) {
            return false;
        } else {
            pollfd p{m_master, POLLOUT, 0};
            ::poll(&p, 1, 10);
        }
    }
    return done == bytes.size();
}

QByteArray PseudoTerminal::read(int count, int timeoutMs)
{
    QByteArray out;
    QElapsedTimer clock;
    clock.start();
    char buffer[4096];
    while (out.size() < count) {
        const qint64 left = timeoutMs - clock.elapsed();
        if (left <= 0)
            break;
        pollfd p{m_master, POLLIN, 0};
        if (::poll(&p, 1, int(left)) <= 0)
            continue;
        const size_t wanted = qMin(sizeof buffer, size_t(count - out.size()));
        const ssize_t n = ::read(m_master, buffer, wanted);
        if (n > 0)
            out.append(buffer, int(n));
        else if (n < 0 && errno != EAGAIN && errno != EINTR)
            ::poll(nullptr, 0, 1); // no slave open (EIO): wait for one
    }
    return out;
}

QByteArray PseudoTerminal::drain(int timeoutMs)
{
    QByteArray out;
    char buffer[4096];
    for (;;) {
        pollfd p{m_master, POLLIN, 0};
        if (::poll(&p, 1, timeoutMs) <= 0 || !(p.revents & POLLIN))
            break;
        const ssize_t n = ::read(m_master, buffer, sizeof buffer);
        if (n <= 0)
            break;
        out.append(buffer, int(n));
    }
    return out;
}

void PseudoTerminal::closeMaster()
{
    if (m_master >= 0)
        ::close(m_master);
    m_master = -1;
}

int openFileCount()
{
    return int(QDir(QStringLiteral("/proc/self/fd")).entryList(QDir::Files | QDir::System).size());
}
