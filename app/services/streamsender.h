#pragma once

#include <QObject>

#include <dorvane/app_export.h>
#include <dorvane/iperiodsendcallback.h>

#include <mutex>
#include <vector>

class ChannelProxy;
class ProtocolStream;
class TxProtocol;

// Holds built frame streams and writes their frames to the channel, one frame
// per request or one per tick of the channel's periodic sending.
//
// Every operation but periodSend() runs on the GUI thread; periodSend() runs
// on the channel's worker thread. One mutex guards the stream lists and the
// cursor on both sides, so a rebuild or a generator reset while periodic
// sending runs from this sender is safe: the tick waits for the rebuild.
class DORVANE_APP_EXPORT StreamSender : public QObject, public IPeriodSendCallback
{
    Q_OBJECT

public:
    explicit StreamSender(ChannelProxy *proxy, QObject *parent = nullptr);
    ~StreamSender() override;

    ChannelProxy *channelProxy() const { return m_proxy; }

    void clear();
    // Builds the protocol's value column into a new stream. False (and
    // nothing added) without a protocol, without fields, for a column outside
    // the protocol or when building fails.
    bool addStream(const TxProtocol *protocol, int valueIndex);
    int streamCount() const;

    // Both restart the round robin: the next send is the first active stream.
    bool selectAll();
    bool selectOne(int index);
    // The built streams at the indexes, in the order given; indexes outside
    // the built list are left out.
    bool selectSome(const std::vector<int> &indexes);

    // Sends the next active stream's next frame (round robin). False when
    // nothing is active or the channel refused the write.
    bool sendNext();
    void periodSend() override;

    void resetGenerators();

    void startPeriodSend(int interval);
    void stopPeriodSend();

private:
    bool sendNextLocked();

    ChannelProxy *m_proxy;
    mutable std::mutex m_mutex;
    std::vector<ProtocolStream *> m_built;
    std::vector<ProtocolStream *> m_active;
    int m_cursor = -1;
};
