#pragma once

#include "channel.h"

#include <QSerialPort>

// The channel on one QSerialPort, always without flow control.
class SerialPortChannel : public Channel
{
    Q_OBJECT
public:
    explicit SerialPortChannel(QObject *parent = nullptr);

    bool configure(const ChannelParams &params) override;
    QString profile() const override;

public slots:
    bool open() override;
    void close() override;
    bool write(const char *data, qint64 size) override;

private:
    void readAll();
    void onError(QSerialPort::SerialPortError error);
    void onDeviceLost();

    QSerialPort *m_port;
    bool m_lossPending = false;
    QString m_portPath; // the device path when one was given as the port name
};
