#pragma once

#include "channel.h"
#include "sharedtext.h"

#include <QAbstractSocket>

class QTcpSocket;

// One outgoing TCP connection. open() only starts connecting; the channel
// becomes open, and says so through stateChanged, when the socket connects.
class TcpClientChannel : public Channel
{
    Q_OBJECT
public:
    explicit TcpClientChannel(QObject *parent = nullptr);

    bool configure(const ChannelParams &params) override;
    QString profile() const override;

public slots:
    bool open() override;
    void close() override;
    bool write(const char *data, qint64 size) override;

private:
    void onStateChanged(QAbstractSocket::SocketState state);
    void onError(QAbstractSocket::SocketError error);
    void readAvailable();
    void updateProfile();

    NetChannelParams m_net{TcpClient};
    QTcpSocket *m_socket;
    SharedText m_profile;
};
