#pragma once

#include "device.h"
#include "modbusslave.h"

#include <QElapsedTimer>
#include <QHash>

class QTimer;

// Plays a ModbusSlave on every endpoint. RTU frames are delimited by a
// silence on the line: bytes are gathered per endpoint, and a request of a
// fixed-length function is answered as soon as it is whole with a good CRC,
// even behind noise; anything else is taken as one frame once the endpoint
// falls silent. A frame
// with a wrong CRC is dropped without an answer, as a slave on a bus does.
class ModbusDevice : public Device
{
    Q_OBJECT

public:
    // Silence that ends a frame. On a real line 3.5 characters (4 ms at
    // 9600 baud); a pseudo-terminal or socket may split a write, so longer.
    static constexpr int SilenceMs = 20;
    // How long the start of a request of functions 3 or 6 waits for its rest.
    static constexpr int IncompleteWaitMs = 1000;
    // An RTU frame is at most 256 bytes; a longer run is noise.
    static constexpr int MaxFrame = 256;

    ModbusDevice(quint8 unit, int registerCount, QObject *parent = nullptr);
    ModbusSlave &slave() { return m_slave; }
    QString describe() const override;

protected:
    void onReceived(Endpoint *endpoint, const QByteArray &bytes) override;
    void onAttached(Endpoint *endpoint) override;

private:
    struct Line
    {
        QByteArray buffer;
        QTimer *silence = nullptr;
        QElapsedTimer pending; // since the oldest byte in the buffer came
    };
    void frameEnded(Endpoint *endpoint);
    void serve(Endpoint *endpoint, const QByteArray &frame);

    ModbusSlave m_slave;
    QHash<Endpoint *, Line> m_lines;
};
