#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QObject>

#include <dorvane/app_export.h>

class ByteCounterDisplay;
class ChannelProxy;

// Watches every chunk the channel receives: counts the bytes for the status
// bar, echoes the chunk into the dialogue view and hands it to the frame
// watcher.
class DORVANE_APP_EXPORT ReceiveWatcher : public QObject
{
    Q_OBJECT

public:
    explicit ReceiveWatcher(ChannelProxy *proxy, QObject *parent = nullptr);
    ~ReceiveWatcher() override;

    quint64 total() const { return m_total; }
    void resetTotal();

    // One chunk the channel received, with the time the channel stamped.
    void bytesArrived(const QDateTime &time, const QByteArray &data);

signals:
    // The total to show, at most a few times a second.
    void countChanged(quint32 count);
    // Each chunk, for the dialogue's echo and then the frame watcher.
    void received(const QByteArray &data, const QDateTime &time);

private:
    ChannelProxy *m_proxy;
    quint64 m_total = 0;
    ByteCounterDisplay *m_display;
};
