#include "replydevice.h"

#include "endpoint.h"

#include <QPointer>
#include <QTimer>

ReplyDevice::ReplyDevice(const QList<QPair<QByteArray, QByteArray>> &replies, int delayMs, QObject *parent)
    : Device(parent)
    , m_replies(replies)
    , m_delayMs(delayMs)
{
    for (const auto &reply : m_replies)
        m_longestRequest = qMax(m_longestRequest, int(reply.first.size()));
}

QString ReplyDevice::describe() const
{
    return QStringLiteral("reply: %1 request(s), answered after %2 ms").arg(m_replies.size()).arg(m_delayMs);
}

void ReplyDevice::onAttached(Endpoint *endpoint)
{
    connect(endpoint, &QObject::destroyed, this, [this, endpoint] { m_buffers.remove(endpoint); });
}

void ReplyDevice::onReceived(Endpoint *endpoint, const QByteArray &bytes)
{
    QByteArray &buffer = m_buffers[endpoint];
    buffer.append(bytes);
    for (;;) {
        // The earliest match wins; at one position, the first request given.
        int bestAt = -1;
        int best = -1;
        for (int i = 0; i < m_replies.size(); ++i) {
            const int at = buffer.indexOf(m_replies.at(i).first);
            if (at >= 0 && (bestAt < 0 || at < bestAt)) {
                bestAt = at;
                best = i;
            }
        }
        if (best < 0)
            break;
        buffer.remove(0, bestAt + m_replies.at(best).first.size());
        const QByteArray response = m_replies.at(best).second;
        const QPointer<Endpoint> target(endpoint);
        QTimer::singleShot(m_delayMs, Qt::PreciseTimer, endpoint, [target, response] {
            if (target)
                answer(target, response);
        });
    }
    // Only a request's beginning can still complete; older bytes are dropped.
    const int keep = m_longestRequest - 1;
    if (buffer.size() > keep)
        buffer.remove(0, buffer.size() - keep);
}
