#pragma once

#include <QObject>
#include <QString>

class Endpoint;

// The behaviour the simulator plays; the same device serves every endpoint
// of every transport, each endpoint with its own receive state.
class Device : public QObject
{
    Q_OBJECT

public:
    explicit Device(QObject *parent = nullptr);
    ~Device() override;

    // Starts serving the endpoint; it may be destroyed at any time after.
    void attach(Endpoint *endpoint);
    // One line saying what plays, for the start-up banner.
    virtual QString describe() const = 0;

protected:
    // The received bytes of one endpoint, already printed.
    virtual void onReceived(Endpoint *endpoint, const QByteArray &bytes) = 0;
    virtual void onAttached(Endpoint *endpoint);
    // Sends and prints.
    static void answer(Endpoint *endpoint, const QByteArray &bytes);
};
