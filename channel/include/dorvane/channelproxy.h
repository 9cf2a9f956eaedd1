#pragma once

#include <dorvane/channel_export.h>
#include <dorvane/channelparams.h>
#include <dorvane/iperiodsendcallback.h>

#include <QByteArray>
#include <QDateTime>
#include <QObject>
#include <QString>
#include <QThread>

class Channel;

// The one way into the channel layer: opens exactly one channel at a time on a
// worker thread of its own, relays writes and periodic sending to it and its
// signals back to the thread that owns the proxy.
class DORVANE_CHANNEL_EXPORT ChannelProxy : public QObject
{
    Q_OBJECT
public:
    explicit ChannelProxy(QObject *parent = nullptr);
    ~ChannelProxy() override;

    // Closes the current channel, creates and opens a new one; the result is
    // the new channel's open flag. A channel whose open failed stays current.
    bool open(const ChannelParams &params);
    void close();
    bool isOpen() const;

    // From the worker thread (periodic callback) the bytes are written at once;
    // from any other thread they are copied and queued. Always true.
    bool write(const char *data, qint64 size);

    void startPeriodSend(IPeriodSendCallback *callback, int period);
    // The strategy is fixed by the record given to open(); this overload does nothing.
    void startPeriodSend(IPeriodSendCallback *callback, TimingStrategy timing, int period);
    void stopPeriodSend();
    bool isPeriodSendRun() const;
    // For a callback about to be destroyed: when the periodic sending calls
    // it, stops that sending and returns once the worker no longer calls it.
    // Must not be called from the worker thread (from the callback itself).
    void releasePeriodSendCallback(IPeriodSendCallback *callback);

    // Valid only while a channel exists (ask isOpen() first).
    const ChannelParams &channelParams() const;
    QString channelProfile() const;

signals:
    void sigOpen();
    void sigClose();
    void sigStartPeriodSend();
    void sigStopPeriodSend();
    void sigWrite(const QByteArray &bytes);

    void periodSendStateChanged(bool state);
    void stateChanged(ChannelType type, ChanneState state);
    void bytesWritten(QDateTime dt, QByteArray bytes);
    void bytesArrived(QDateTime dt, QByteArray bytes);
    void tcpClientConnected(QString address);
    void tcpClientDisconnected(QString address);
    // Why a channel failed or lost its device, in the system's words.
    void channelError(QString message);

protected:
    bool event(QEvent *event) override;

private:
    Channel *createChannel(ChannelType type) const;
    void connectEvents();
    void dropChannel();

    Channel *m_channel = nullptr;
    QThread m_thread;
};
