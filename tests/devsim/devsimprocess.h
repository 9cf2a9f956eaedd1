#pragma once

#include <QByteArray>
#include <QProcess>
#include <QRegularExpression>
#include <QString>
#include <QStringList>
#include <QtTest>

// The real dorvane-devsim program as the peer of a test: started with its
// arguments, the pseudo-terminal path and ports read from what it prints,
// ended with SIGTERM by its process id.
class DevSimProcess
{
public:
    ~DevSimProcess()
    {
        if (m_process.state() != QProcess::NotRunning) {
            m_process.kill();
            m_process.waitForFinished(3000);
        }
    }

    // Waits until it has printed where it plays (every transport asked for).
    bool start(const QStringList &arguments, int transports)
    {
        m_process.setProgram(QStringLiteral(DORVANE_DEVSIM));
        m_process.setArguments(arguments);
        m_process.setProcessChannelMode(QProcess::SeparateChannels);
        m_process.start();
        if (!m_process.waitForStarted(5000))
            return false;
        QElapsedTimer clock;
        clock.start();
        while (clock.elapsed() < 5000) {
            m_process.waitForReadyRead(100);
            m_output += m_process.readAllStandardOutput();
            const QString text = QString::fromLocal8Bit(m_output);
            int found = 0;
            for (const char *prefix : {"pty: ", "tcp: ", "udp: "}) {
                if (text.contains(QLatin1String("\n") + QLatin1String(prefix)))
                    ++found;
            }
            if (found >= transports)
                return true;
            if (m_process.state() == QProcess::NotRunning)
                return false;
        }
        return false;
    }

    QString ptyPath() const { return capture(QStringLiteral("^pty: (\\S+)")); }
    quint16 tcpPort() const
    {
        return quint16(capture(QStringLiteral("^tcp: 127\\.0\\.0\\.1:(\\d+)")).toUInt());
    }
    quint16 udpPort() const
    {
        return quint16(capture(QStringLiteral("^udp: 127\\.0\\.0\\.1:(\\d+)")).toUInt());
    }

    // Everything it printed so far.
    QString output()
    {
        m_output += m_process.readAllStandardOutput();
        return QString::fromLocal8Bit(m_output);
    }
    QString errors() { return QString::fromLocal8Bit(m_process.readAllStandardError()); }

    // SIGTERM, and the exit code once it has ended (-1 if it did not end).
    int terminate()
    {
        m_process.terminate();
        if (!m_process.waitForFinished(5000))
            return -1;
        m_output += m_process.readAllStandardOutput();
        return m_process.exitStatus() == QProcess::NormalExit ? m_process.exitCode() : -1;
    }

private:
    QString capture(const QString &pattern) const
    {
        const QRegularExpression re(pattern, QRegularExpression::MultilineOption);
        return re.match(QString::fromLocal8Bit(m_output)).captured(1);
    }

    QProcess m_process;
    QByteArray m_output;
};
