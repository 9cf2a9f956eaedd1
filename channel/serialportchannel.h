#pragma once

#include "channel.h"
#include "sharedtext.h"

#include <QSerialPort>
#include <QSet>

#include <atomic>

class QTimer;

// The channel on one QSerialPort, with line control: RTS and DTR set at open
// and on request, break, the modem lines polled about ten times a second,
// the UART's error counters once a second, and the baud rate that the driver
// really set read back at open. A device that disappears is closed and, with
// autoReconnect, reopened with the same settings when its path (or the
// /dev/serial/by-id link that named it) is back.
class SerialPortChannel : public Channel
{
    Q_OBJECT
public:
    explicit SerialPortChannel(QObject *parent = nullptr);

    bool configure(const ChannelParams &params) override;
    QString profile() const override;
    qint64 pendingWrite() const override;

    // Any thread: the lines this side drives as last set (SerialPin bits
    // PinRts, PinDtr), and every line as last read from the port.
    quint32 driven() const { return m_driven.load(); }
    quint32 pins() const { return m_pins.load(); }

    // Worker thread.
    void setLine(quint32 pin, bool on);
    void sendBreak(int durationMs);

signals:
    void pinsChanged(quint32 pins);
    void lineUnavailable(QString what, QString reason);
    void baudRateMismatch(qint32 requested, qint32 actual);
    void uartErrorCountsChanged(UartErrorCounts counts);

public slots:
    bool open() override;
    void close() override;
    bool write(const char *data, qint64 size) override;

private:
    bool openPort();
    void afterOpen();
    void stopWatching();
    void readAll();
    void onError(QSerialPort::SerialPortError error);
    void onDeviceLost();
    void tryReopen();
    void pollPins();
    void pollCounters();
    void endBreak();
    void unavailable(const QString &what, const QString &reason);
    void updateProfile();
    QString devicePath() const;

    QSerialPort *m_port;
    QTimer *m_pinPoll;
    QTimer *m_counterPoll;
    QTimer *m_reconnect;
    QTimer *m_breakEnd;
    bool m_lossPending = false;
    bool m_autoReconnect = false;
    qint32 m_requestedBaud = 0;
    QString m_portPath;   // the device path when one was given as the port name
    QString m_givenName;  // the port name as given
    QString m_byIdLink;   // the /dev/serial/by-id link that named the device at open
    QSet<QString> m_told; // line controls already said to be unavailable
    bool m_haveCounters = false;
    UartErrorCounts m_counters;
    std::atomic<quint32> m_driven{0};
    std::atomic<quint32> m_pins{0};
    SharedText m_profile;
};
