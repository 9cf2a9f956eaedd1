#pragma once

// Serial peers for tests: socat joining two pseudo-terminals behind links,
// and the terminal settings a port ended up with.

#include <QByteArray>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QString>
#include <QTest>

#include <fcntl.h>
#include <termios.h>
#include <unistd.h>

// The termios of the terminal at path (all zero when it cannot be opened).
inline termios terminalSettings(const QString &path)
{
    termios tio{};
    const int fd = ::open(path.toLocal8Bit().constData(), O_RDWR | O_NOCTTY | O_NONBLOCK);
    if (fd >= 0) {
        ::tcgetattr(fd, &tio);
        ::close(fd);
    }
    return tio;
}

// socat joining two pseudo-terminals behind two links: the code under test
// opens the first, the test plays the device on the second. Stopping it (by
// its process id) takes both links away, as an unplugged adapter takes its
// device node.
class SocatLink
{
public:
    SocatLink(const QString &device, const QString &peer)
        : m_device(device)
        , m_peer(peer)
    {
    }
    ~SocatLink() { stop(); }
    SocatLink(const SocatLink &) = delete;
    SocatLink &operator=(const SocatLink &) = delete;

    bool start()
    {
        m_process.start(QStringLiteral("socat"), {QStringLiteral("pty,raw,echo=0,link=") + m_device,
                                                  QStringLiteral("pty,raw,echo=0,link=") + m_peer});
        if (!m_process.waitForStarted(3000))
            return false;
        QElapsedTimer clock;
        clock.start();
        while (!(QFileInfo::exists(m_device) && QFileInfo::exists(m_peer)) && clock.elapsed() < 5000)
            QTest::qWait(10);
        if (!QFileInfo::exists(m_peer))
            return false;
        m_peerFd = ::open(m_peer.toLocal8Bit().constData(), O_RDWR | O_NOCTTY | O_NONBLOCK);
        return m_peerFd >= 0;
    }
    void stop()
    {
        if (m_peerFd >= 0)
            ::close(m_peerFd);
        m_peerFd = -1;
        if (m_process.state() != QProcess::NotRunning) {
            m_process.terminate();
            if (!m_process.waitForFinished(3000))
                m_process.kill();
            m_process.waitForFinished(3000);
        }
        QFile::remove(m_device);
        QFile::remove(m_peer);
    }
    int peer() const { return m_peerFd; }
    bool write(const QByteArray &bytes)
    {
        return ::write(m_peerFd, bytes.constData(), size_t(bytes.size())) == bytes.size();
    }

private:
    QString m_device;
    QString m_peer;
    QProcess m_process;
    int m_peerFd = -1;
};
