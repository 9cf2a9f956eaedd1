#include "device.h"

#include "endpoint.h"
#include "trafficlog.h"

Device::Device(QObject *parent)
    : QObject(parent)
{
}

Device::~Device() = default;

void Device::attach(Endpoint *endpoint)
{
    connect(endpoint, &Endpoint::bytesReceived, this, [this, endpoint](const QByteArray &bytes) {
        TrafficLog::received(endpoint->name(), bytes);
        onReceived(endpoint, bytes);
    });
    onAttached(endpoint);
}

void Device::onAttached(Endpoint *)
{
}

void Device::answer(Endpoint *endpoint, const QByteArray &bytes)
{
    TrafficLog::sent(endpoint->name(), bytes);
    endpoint->send(bytes);
}
