#include "echodevice.h"

QString EchoDevice::describe() const
{
    return QStringLiteral("echo: every byte received is sent back");
}

void EchoDevice::onReceived(Endpoint *endpoint, const QByteArray &bytes)
{
    answer(endpoint, bytes);
}
