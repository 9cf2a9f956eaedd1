#pragma once

#include <QAbstractNativeEventFilter>
#include <QByteArray>
#include <QObject>
#include <QScopedPointer>
#include <QString>

#include <dorvane/wdxwidgets_export.h>

class WdxDeviceWatcherPrivate;

// Reports serial ports that arrive or leave. On Windows it reads the shell's device-change messages
// (as an application-wide native event filter that never consumes a message) and names the port
// ("COM3"); on Linux it listens to udev for tty devices, or polls the serial ports once a second when
// udev is not running, and names the device node ("/dev/ttyUSB0").
class WDXWIDGETS_EXPORT WdxDeviceWatcher : public QObject, public QAbstractNativeEventFilter
{
    Q_OBJECT

public:
    enum class Backend { NativeEvents, Udev, Polling };
    Q_ENUM(Backend)

    // A port device-change message reduced to what it tells.
    struct Change
    {
        enum Kind { None, Arrival, Removal };
        Kind kind = None;
        QString name;
    };

    explicit WdxDeviceWatcher(QObject *parent = nullptr);
    ~WdxDeviceWatcher() override;

    Backend backend() const;

    // Decodes a device-change window message: message 0x0219 with event 0x8000 (arrival) or 0x8004
    // (removal complete) and a broadcast record (header: size, device type, reserved, each a little-endian
    // 32-bit word) of device type 3 (port), followed by the NUL-terminated UTF-16 port name. Anything
    // else, short or malformed records included, gives kind None.
    static Change decodeDeviceChange(quint32 message, quintptr event, const QByteArray &record);

    bool nativeEventFilter(const QByteArray &eventType, void *message, long *result) override;

signals:
    void deviceArrival(const QString &deviceName);
    void deviceRemoved(const QString &deviceName);

private:
    void report(const Change &change);
    void pollPorts();
    void readUdev();
    QScopedPointer<WdxDeviceWatcherPrivate> d;
};
