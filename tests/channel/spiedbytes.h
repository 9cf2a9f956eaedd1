#pragma once

#include <QByteArray>
#include <QSignalSpy>

// The bytes that a spied bytesArrived or bytesWritten signal carried, in order.
inline QByteArray spiedBytes(const QSignalSpy &spy)
{
    QByteArray all;
    for (const QList<QVariant> &args : spy)
        all += args.at(1).toByteArray();
    return all;
}
