#pragma once

#include <QObject>
#include <QString>

#include <dorvane/app_export.h>
#include <dorvane/channelchunk.h>
#include <dorvane/replypairing.h>

class ChannelProxy;
class QTimer;
class RxFrameWatcher;

// The figures of the Link Health dock, taken at one moment.
struct LinkHealthFigures
{
    qint64 requests = 0;
    qint64 replies = 0;
    qint64 missing = 0;
    qint64 unpaired = 0;
    SampleStats::Summary rtt; // microseconds
    bool byFrames = false;    // replies are frames of the receive protocol, not chunks
    qint64 windowMs = 1000;
    // Field roles of the receive protocol the frame watcher parses with.
    bool checksumChecked = false;
    bool sequenceChecked = false;
    qint64 checkedFrames = 0;
    qint64 checksumFailures = 0;
    qint64 sequenceGaps = 0;
    qint64 sequenceRepeats = 0;
    QString roleProblem;
    // The serial port's UART counters, when the device keeps them.
    bool uartAvailable = false;
    UartErrorCounts uart;
};

// Pairs every written chunk with its reply and gathers the other health
// figures of the link: checksum and counter checks of the frame watcher and
// the UART's error counters.
//
// Lives on the GUI thread. The stamps it pairs are the chunks' monotonic
// ones taken on the channel's worker thread; while the frame watcher parses,
// a reply is a frame, stamped when the chunk that completed it was handed to
// the watcher (the same clock).
class DORVANE_APP_EXPORT LinkHealth : public QObject
{
    Q_OBJECT

public:
    LinkHealth(ChannelProxy *proxy, RxFrameWatcher *frameWatcher, QObject *parent = nullptr);
    ~LinkHealth() override;

    void setReplyWindowMs(int ms);
    int replyWindowMs() const;

    LinkHealthFigures figures() const;
    // Round trips in microseconds in `bins` equal bins over [low, high).
    std::vector<std::uint64_t> histogram(std::int64_t low, std::int64_t high, int bins) const;
    // Starts the figures afresh (the UART counters are the driver's and stay).
    void reset();

private:
    void onWritten(const ChannelChunk &chunk);
    void onArrived(const ChannelChunk &chunk);
    void onFrame(qint64 arrivalNs);
    bool repliesByFrames() const;

    ChannelProxy *m_proxy;
    RxFrameWatcher *m_frameWatcher;
    ReplyPairing m_pairing;
    QTimer *m_expiry = nullptr;
    bool m_uartAvailable = false;
    UartErrorCounts m_uart;
};
