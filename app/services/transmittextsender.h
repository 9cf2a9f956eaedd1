#pragma once

#include <QString>

#include <dorvane/app_export.h>

#include <memory>

class ChannelProxy;
class StreamSender;
class TxProtocol;

// What a history or instruct row keeps to send its text: the one-field
// protocol made from the text on the first send and a sender of its own.
// Later sends repeat the built frame; the text is converted again only when
// the caller says it changed.
class DORVANE_APP_EXPORT TransmitTextSender
{
public:
    enum Result {
        Sent,
        NothingToSend, // the text is empty
        NoChannel,     // no channel is open; nothing was built
        BuildFailed,   // the text gives no frame
    };

    explicit TransmitTextSender(ChannelProxy *channel);
    ~TransmitTextSender();
    TransmitTextSender(const TransmitTextSender &) = delete;
    TransmitTextSender &operator=(const TransmitTextSender &) = delete;

    Result send(const QString &text, int textMode, bool textChanged);

    // How often the text has been converted and built so far.
    int buildCount() const { return m_builds; }

private:
    bool build(const QString &text, int textMode);

    ChannelProxy *m_channel;
    std::unique_ptr<TxProtocol> m_protocol;
    std::unique_ptr<StreamSender> m_sender;
    int m_builds = 0;
};

// Tells the user why a row's send did not go out: no channel, or no frame.
DORVANE_APP_EXPORT void noticeSendResult(TransmitTextSender::Result result);
