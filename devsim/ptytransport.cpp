#include "ptytransport.h"

#include "endpoint.h"
#include "trafficlog.h"

#include <QFile>
#include <QFileInfo>
#include <QSocketNotifier>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <pty.h>
#include <termios.h>
#include <unistd.h>

namespace {

// A peer that stops reading, or has not opened the port yet, fills the
// terminal's own buffer (4 KiB) and then this much here; beyond it writes are
// dropped whole. Kept small so a port opened late starts with little stale
// telemetry, large enough for 10 000 frames a second across a reader's
// pause of some 100 ms.
const qint64 kMaxPending = 16 * 1024;

QString systemError()
{
    return QString::fromLocal8Bit(std::strerror(errno));
}

class PtyEndpoint : public Endpoint
{
public:
    PtyEndpoint(int master, const QString &name, QObject *parent)
        : Endpoint(name, parent)
        , m_master(master)
        , m_readNotifier(master, QSocketNotifier::Read, this)
        , m_writeNotifier(master, QSocketNotifier::Write, this)
    {
        m_writeNotifier.setEnabled(false);
        connect(&m_readNotifier, &QSocketNotifier::activated, this, [this] { readAll(); });
        connect(&m_writeNotifier, &QSocketNotifier::activated, this, [this] { flush(); });
    }

    void send(const QByteArray &bytes) override
    {
        if (m_pending.size() + bytes.size() > kMaxPending) {
            countDropped(bytes.size());
            return;
        }
        m_pending.append(bytes);
        flush();
    }

private:
    void readAll()
    {
        char buffer[4096];
        for (;;) {
            const ssize_t n = ::read(m_master, buffer, sizeof buffer);
            if (n > 0) {
                emit bytesReceived(QByteArray(buffer, int(n)));
                continue;
            }
            if (n < 0 && errno == EINTR)
                continue;
            if (n < 0 && errno != EAGAIN && errno != EWOULDBLOCK) {
                // Cannot happen while the transport holds the slave open; a
                // notifier left on would spin.
                TrafficLog::error(QStringLiteral("reading the pseudo-terminal failed: ") + systemError());
                m_readNotifier.setEnabled(false);
            }
            return;
        }
    }

    void flush()
    {
        while (!m_pending.isEmpty()) {
            const ssize_t n = ::write(m_master, m_pending.constData(), size_t(m_pending.size()));
            if (n > 0) {
                m_pending.remove(0, int(n));
                continue;
            }
            if (n < 0 && errno == EINTR)
                continue;
            if (n < 0 && errno != EAGAIN && errno != EWOULDBLOCK) {
                countDropped(m_pending.size());
                m_pending.clear();
            }
            break;
        }
        m_writeNotifier.setEnabled(!m_pending.isEmpty());
    }

    int m_master;
    QSocketNotifier m_readNotifier;
    QSocketNotifier m_writeNotifier;
    QByteArray m_pending;
};

} // namespace

PtyTransport::PtyTransport(QObject *parent)
    : QObject(parent)
{
}

PtyTransport::~PtyTransport()
{
    delete m_endpoint;
    removeLink();
    if (m_slave >= 0)
        ::close(m_slave);
    if (m_master >= 0)
        ::close(m_master);
}

bool PtyTransport::open(const QString &linkPath)
{
    char name[256] = {};
    if (::openpty(&m_master, &m_slave, name, nullptr, nullptr) != 0) {
        m_error = QStringLiteral("cannot open a pseudo-terminal pair: ") + systemError();
        return false;
    }
    // Raw both ways: no echo, no line editing, no CR/LF translation, so the
    // bytes arrive as written until the workbench sets its own mode.
    termios mode{};
    if (::tcgetattr(m_slave, &mode) == 0) {
        ::cfmakeraw(&mode);
        ::tcsetattr(m_slave, TCSANOW, &mode);
    }
    ::fcntl(m_master, F_SETFL, ::fcntl(m_master, F_GETFL) | O_NONBLOCK);
    ::fcntl(m_master, F_SETFD, FD_CLOEXEC);
    ::fcntl(m_slave, F_SETFD, FD_CLOEXEC);
    m_slavePath = QString::fromLocal8Bit(name);

    if (!linkPath.isEmpty()) {
        const QFileInfo existing(linkPath);
        if (existing.isSymLink()) {
            QFile::remove(linkPath);
        } else if (existing.exists()) {
            m_error = QStringLiteral("%1 exists and is not a symlink; it is left alone").arg(linkPath);
            return false;
        }
        if (::symlink(QFile::encodeName(m_slavePath).constData(), QFile::encodeName(linkPath).constData())
            != 0) {
            m_error = QStringLiteral("cannot make the symlink %1: %2").arg(linkPath, systemError());
            return false;
        }
        m_linkPath = linkPath;
    }

    m_endpoint = new PtyEndpoint(m_master, QStringLiteral("pty ") + m_slavePath, this);
    return true;
}

void PtyTransport::removeLink()
{
    // Only our own link: another simulator may have taken the name since.
    if (!m_linkPath.isEmpty() && QFileInfo(m_linkPath).symLinkTarget() == m_slavePath)
        QFile::remove(m_linkPath);
    m_linkPath.clear();
}
