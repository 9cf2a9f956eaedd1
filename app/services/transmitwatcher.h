#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QObject>

#include <dorvane/app_export.h>

class ByteCounterDisplay;
class ChannelProxy;

// Watches every write of the channel: counts the bytes for the status bar
// and echoes the chunk into the dialogue view.
class DORVANE_APP_EXPORT TransmitWatcher : public QObject
{
    Q_OBJECT

public:
    explicit TransmitWatcher(ChannelProxy *proxy, QObject *parent = nullptr);
    ~TransmitWatcher() override;

    quint64 total() const { return m_total; }
    void resetTotal();

    // One chunk the channel wrote, with the time of the write.
    void bytesWritten(const QDateTime &time, const QByteArray &data);

signals:
    // The total to show, at most a few times a second.
    void countChanged(quint32 count);
    // Each chunk, for the dialogue's echo.
    void transmitted(const QDateTime &time, const QByteArray &data);

private:
    ChannelProxy *m_proxy;
    quint64 m_total = 0;
    ByteCounterDisplay *m_display;
};
