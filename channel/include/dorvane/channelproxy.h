#pragma once

#include <dorvane/channel_export.h>
#include <dorvane/channelchunk.h>
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
//
// Thread contract: every function is called from the thread that owns the
// proxy (write() also from the worker, inside periodSend()). Requests to the
// channel are queued and return at once, apart from open() and close(), which
// wait for the worker. Every signal is emitted on the proxy's thread, in the
// order the worker produced them. Reads cross from the worker in batches (one
// event per pass of the channel's reader) and are emitted here one chunk per
// read, bytesArrived and chunkArrived for each, so a UDP channel still gives
// one chunk per datagram.
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
    // Writes to one client of a TCP server, named "address:port" as in
    // tcpClientConnected, beside write() which writes to all. False when the
    // channel is no TCP server; a client that has gone is skipped quietly
    // (its disconnect has been or will be signalled).
    bool writeTo(const QString &client, const char *data, qint64 size);
    // Makes every later write of a TCP server (write(), periodic sending,
    // paced and file sends) go to this one client only, as writeTo() does;
    // an empty name sends to all clients again. A target that has gone gets
    // nothing: the bytes are not sent to the others instead. Each open
    // starts with all clients.
    void setSendTarget(const QString &client);

    // Paced and file sending, run on the worker so that the caller never
    // waits. Each send gets an id (never 0) that its sendProgress and
    // sendFinished carry; sends run one after another. 0 means nothing was
    // started because there is no channel.
    //
    // writePaced: the character delay follows each byte, the line delay in
    // addition each LF; with no character delay the bytes go a line (up to
    // and including LF) at a time. Every piece is its own bytesWritten chunk.
    quint64 writePaced(const QByteArray &bytes, int charDelayMs, int lineDelayMs);
    // sendFile: the file's raw bytes, read on the worker in chunks of
    // chunkSize (at most 1 MiB) with delayMs between chunks. Memory stays at
    // about one chunk plus a bounded device buffer, whatever the file's size.
    quint64 sendFile(const QString &path, int chunkSize, int delayMs);
    // Cancels one send, or with 0 every send; each ends with
    // sendFinished(id, false, "The send was cancelled").
    void cancelSend(quint64 id = 0);

    // Serial line control; nothing happens on other channels. What the
    // device refuses is told by serialLineUnavailable.
    void setRequestToSend(bool on);
    void setDataTerminalReady(bool on);
    // The last state set (at open from SerialChannelParams, or later).
    bool requestToSend() const;
    bool dataTerminalReady() const;
    // SerialPin bits as last read from the port (about ten times a second).
    quint32 serialPins() const;
    // Holds the line in the break state for durationMs (bounded to 1..5000).
    void sendBreak(int durationMs);

    // True while a lost device or connection is being reopened
    // (autoReconnect in the record given to open()).
    bool isReconnecting() const;

    void startPeriodSend(IPeriodSendCallback *callback, int period);
    // The strategy is fixed by the record given to open(); this overload does nothing.
    void startPeriodSend(IPeriodSendCallback *callback, TimingStrategy timing, int period);
    void stopPeriodSend();
    bool isPeriodSendRun() const;
    // The period in ms of the last periodic sending started (0 without a channel).
    int periodSendPeriod() const;
    // High-resolution timing: how long before each due time the worker stops
    // sleeping and spins on the clock (300 µs on Linux unless set; elsewhere
    // it spins all the time). A margin of a whole period or more spins all
    // the time. Takes effect when a sending starts.
    void setSpinMarginUs(int us);
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

    // Emitted right after bytesArrived / bytesWritten for the same chunk:
    // the chunk with its monotonic stamp and, for a TCP server, its client.
    void chunkArrived(ChannelChunk chunk);
    void chunkWritten(ChannelChunk chunk);

    // A TCP server's client that the three-client limit keeps waiting; when
    // a place frees it is admitted and tcpClientConnected follows for it.
    void tcpClientWaiting(QString address);

    void sendProgress(quint64 id, qint64 sent, qint64 total);
    // completed false: cancelled, cut short by a close or the loss of the
    // device, or refused; message says which.
    void sendFinished(quint64 id, bool completed, QString message);

    // Serial port: modem lines changed (SerialPin bits).
    void serialPinsChanged(quint32 pins);
    // Serial port: a line control the device cannot do ("RTS", "DTR",
    // "Break", "Flow control", "Modem lines", "Error counters"), with the
    // system's reason. Each is said once per open.
    void serialLineUnavailable(QString what, QString reason);
    // Serial port: the driver set another rate than the one asked for.
    void baudRateMismatch(qint32 requested, qint32 actual);
    // Serial port on Linux: the UART's error counters, when they change
    // (polled once a second; the first reading after open always comes).
    void uartErrorCountsChanged(UartErrorCounts counts);

    // True while a lost device or connection is being reopened; false when
    // it is back (stateChanged(…, Opened) comes too) or the channel closes.
    void reconnectingChanged(bool reconnecting);

protected:
    bool event(QEvent *event) override;

private:
    Channel *createChannel(ChannelType type) const;
    void connectEvents();
    void dropChannel();

    template<typename Call>
    void queueToChannel(Call &&call);

    Channel *m_channel = nullptr;
    QThread m_thread;
    int m_spinMarginUs = -1; // -1: the channel's own default
    quint64 m_lastSendId = 0;
};
