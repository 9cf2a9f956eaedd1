#include "services/streamsender.h"

#include <dorvane/channelproxy.h>
#include <dorvane/protocolstream.h>
#include <dorvane/txprotocol.h>

StreamSender::StreamSender(ChannelProxy *proxy, QObject *parent)
    : QObject(parent)
    , m_proxy(proxy)
{
}

StreamSender::~StreamSender()
{
    // A periodic sending that still calls this sender stops, and no tick
    // runs into it once this returns.
    if (m_proxy)
        m_proxy->releasePeriodSendCallback(this);
    clear();
}

void StreamSender::clear()
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_active.clear();
    m_cursor = -1;
    for (ProtocolStream *stream : m_built)
        delete stream;
    m_built.clear();
}

bool StreamSender::addStream(const TxProtocol *protocol, int valueIndex)
{
    if (!protocol || protocol->GetFieldCount() == 0)
        return false;
    if (valueIndex < 0 || valueIndex >= protocol->GetValueCountPerField())
        return false;
    // Built outside the lock: building can take a while for large arrays and
    // touches nothing the worker reads.
    auto *stream = new ProtocolStream;
    if (!stream->Build(protocol, valueIndex)) {
        delete stream;
        return false;
    }
    std::lock_guard<std::mutex> lock(m_mutex);
    m_built.push_back(stream);
    return true;
}

int StreamSender::streamCount() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return int(m_built.size());
}

bool StreamSender::selectAll()
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_cursor = -1;
    m_active = m_built;
    return !m_active.empty();
}

bool StreamSender::selectOne(int index)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_cursor = -1;
    m_active.clear();
    if (index >= 0 && index < int(m_built.size()))
        m_active.push_back(m_built[size_t(index)]);
    return !m_active.empty();
}

bool StreamSender::selectSome(const std::vector<int> &indexes)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_cursor = -1;
    m_active.clear();
    for (int index : indexes) {
        if (index >= 0 && index < int(m_built.size()))
            m_active.push_back(m_built[size_t(index)]);
    }
    return !m_active.empty();
}

bool StreamSender::sendNext()
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return sendNextLocked();
}

void StreamSender::periodSend()
{
    std::lock_guard<std::mutex> lock(m_mutex);
    sendNextLocked();
}

bool StreamSender::sendNextLocked()
{
    if (m_active.empty())
        return false;
    m_cursor = (m_cursor + 1) % int(m_active.size());
    ProtocolStream *stream = m_active[size_t(m_cursor)];
    stream->Update();
    if (!stream->GetData() || stream->GetDataSize() <= 0)
        return false;
    return m_proxy && m_proxy->write(stream->GetData(), stream->GetDataSize());
}

void StreamSender::resetGenerators()
{
    std::lock_guard<std::mutex> lock(m_mutex);
    for (ProtocolStream *stream : m_built)
        stream->Reset();
}

void StreamSender::startPeriodSend(int interval)
{
    if (m_proxy)
        m_proxy->startPeriodSend(this, interval);
}

void StreamSender::stopPeriodSend()
{
    if (m_proxy)
        m_proxy->stopPeriodSend();
}
