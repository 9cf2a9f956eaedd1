#pragma once

#include "device.h"

// Sends every received byte straight back to the endpoint it came from.
class EchoDevice : public Device
{
    Q_OBJECT

public:
    using Device::Device;
    QString describe() const override;

protected:
    void onReceived(Endpoint *endpoint, const QByteArray &bytes) override;
};
