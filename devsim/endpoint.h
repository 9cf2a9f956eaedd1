#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>

// One peer of the simulated device: the pseudo-terminal, one TCP connection
// or one UDP sender. A device reads what the peer wrote through
// bytesReceived and answers with send(). An endpoint is destroyed when its
// peer goes away (a TCP client disconnects), so a device must not keep bare
// pointers to it.
class Endpoint : public QObject
{
    Q_OBJECT

public:
    explicit Endpoint(const QString &name, QObject *parent = nullptr);
    ~Endpoint() override;

    QString name() const { return m_name; }

    // Queues the bytes for the peer. A peer that does not read is not waited
    // for: past a bound of unsent bytes the whole write is dropped (never cut,
    // so a frame arrives whole or not at all) and counted.
    virtual void send(const QByteArray &bytes) = 0;
    quint64 droppedBytes() const { return m_dropped; }

signals:
    void bytesReceived(const QByteArray &bytes);

protected:
    void countDropped(qint64 bytes) { m_dropped += quint64(bytes); }

private:
    QString m_name;
    quint64 m_dropped = 0;
};
