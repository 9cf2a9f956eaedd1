#pragma once

// Implemented by whoever produces the frames of periodic sending. periodSend()
// is called once per period on the channel's worker thread; it writes its frame
// through ChannelProxy::write, which from that thread writes directly.
// The channel never owns or deletes the callback.
class IPeriodSendCallback
{
public:
    virtual void periodSend() = 0;

protected:
    ~IPeriodSendCallback() = default;
};
