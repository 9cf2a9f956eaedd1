#pragma once

#include "channel.h"
#include "sharedtext.h"

#include <QAbstractSocket>

class QTcpSocket;
class QTimer;

// One outgoing TCP connection. open() only starts connecting; the channel
// becomes open, and says so through stateChanged, when the socket connects.
// With autoReconnect a failed or ended connection is tried again, after
// 0.5 s, then twice as long each time up to 10 s, until close().
class TcpClientChannel : public Channel
{
    Q_OBJECT
public:
    explicit TcpClientChannel(QObject *parent = nullptr);

    bool configure(const ChannelParams &params) override;
    QString profile() const override;
    qint64 pendingWrite() const override;

public slots:
    bool open() override;
    void close() override;
    bool write(const char *data, qint64 size) override;

private:
    void onStateChanged(QAbstractSocket::SocketState state);
    void onError(QAbstractSocket::SocketError error);
    void readAvailable();
    void connectNow();
    void updateProfile();

    NetChannelParams m_net{TcpClient};
    QTcpSocket *m_socket;
    QTimer *m_retry;
    int m_retryMs = 500;
    bool m_autoReconnect = false;
    bool m_closed = false;
    SharedText m_profile;
};
