#pragma once

#include <QObject>
#include <QString>

class Endpoint;

// A pseudo-terminal pair: the workbench opens the slave's path as a serial
// port, the device reads and writes the master. The transport keeps a slave
// descriptor of its own open, so the master never sees a hang-up when the
// workbench closes and reopens the port.
class PtyTransport : public QObject
{
    Q_OBJECT

public:
    explicit PtyTransport(QObject *parent = nullptr);
    ~PtyTransport() override;

    // Opens the pair and, with a link path, makes a symlink to the slave (an
    // old symlink there is replaced; any other file is refused). False with
    // the reason in errorString().
    bool open(const QString &linkPath);
    QString slavePath() const { return m_slavePath; }
    QString errorString() const { return m_error; }
    Endpoint *endpoint() const { return m_endpoint; }

private:
    void removeLink();

    Endpoint *m_endpoint = nullptr;
    int m_master = -1;
    int m_slave = -1;
    QString m_slavePath;
    QString m_linkPath;
    QString m_error;
};
