#pragma once

#include <QMutex>
#include <QMutexLocker>
#include <QString>

// A text that the worker thread writes and the proxy's thread reads, such as
// a channel's profile: the socket it describes may change under the reader,
// so the text is taken whenever the socket settles and read under a lock.
class SharedText
{
public:
    QString get() const
    {
        QMutexLocker lock(&m_lock);
        return m_text;
    }
    void set(const QString &text)
    {
        QMutexLocker lock(&m_lock);
        m_text = text;
    }

private:
    mutable QMutex m_lock;
    QString m_text;
};
