#include "services/transmittextsender.h"

#include "model/transmittext.h"
#include "services/streamsender.h"
#include "shell/notices.h"

#include <dorvane/channelproxy.h>
#include <dorvane/txfield.h>
#include <dorvane/txprotocol.h>
#include <dorvane/valuemetainfo.h>

TransmitTextSender::TransmitTextSender(ChannelProxy *channel)
    : m_channel(channel)
{
}

TransmitTextSender::~TransmitTextSender() = default;

TransmitTextSender::Result TransmitTextSender::send(const QString &text, int textMode, bool textChanged)
{
    if (text.isEmpty())
        return NothingToSend;
    if (!m_channel || !m_channel->isOpen())
        return NoChannel;
    if (!m_protocol || textChanged) {
        if (!build(text, textMode))
            return BuildFailed;
    }
    return m_sender->sendNext() ? Sent : BuildFailed;
}

bool TransmitTextSender::build(const QString &text, int textMode)
{
    ++m_builds;
    if (!m_protocol) {
        m_protocol = makeTransmitProtocol(text, textMode);
        m_sender = std::make_unique<StreamSender>(m_channel);
    } else {
        ValueMetaInfo *value = m_protocol->GetField(0)->GetValueMetaInfo(0);
        value->SetParamList(convertTransmitText(text, textMode).toLocal8Bit().toStdString());
        m_sender->clear();
    }
    return m_sender->addStream(m_protocol.get(), 0) && m_sender->selectAll();
}

void noticeSendResult(TransmitTextSender::Result result)
{
    if (result == TransmitTextSender::NoChannel)
        noticeNoChannel();
    else if (result == TransmitTextSender::BuildFailed)
        noticeBuildFailed();
}
