#pragma once

#include "device.h"

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QPair>

// Answers each known request with its response after a fixed delay. The
// request may arrive in pieces and among other bytes: each endpoint's bytes
// are gathered and searched, and what lies before a match is passed over.
class ReplyDevice : public Device
{
    Q_OBJECT

public:
    ReplyDevice(const QList<QPair<QByteArray, QByteArray>> &replies, int delayMs, QObject *parent = nullptr);
    QString describe() const override;

protected:
    void onReceived(Endpoint *endpoint, const QByteArray &bytes) override;
    void onAttached(Endpoint *endpoint) override;

private:
    QList<QPair<QByteArray, QByteArray>> m_replies;
    int m_delayMs;
    int m_longestRequest = 0;
    QHash<Endpoint *, QByteArray> m_buffers;
};
