#include <dorvane/wdxdevicewatcher.h>

#include <QCoreApplication>
#include <QSerialPortInfo>
#include <QSet>
#include <QSocketNotifier>
#include <QTimer>
#include <QtEndian>

#ifdef Q_OS_WIN
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
#endif
#ifdef DORVANE_HAVE_UDEV
#include <libudev.h>
#endif

namespace {

const quint32 deviceChangeMessage = 0x0219;
const quintptr deviceArrivalEvent = 0x8000;
const quintptr deviceRemoveCompleteEvent = 0x8004;
const quint32 portDeviceType = 3;
// Size, device type and a reserved word, each 32 bits.
const int broadcastHeaderSize = 12;
const int pollInterval = 1000;

QSet<QString> currentPorts()
{
    QSet<QString> ports;
    const QList<QSerialPortInfo> infos = QSerialPortInfo::availablePorts();
    for (const QSerialPortInfo &info : infos)
        ports.insert(info.systemLocation());
    return ports;
}

} // namespace

class WdxDeviceWatcherPrivate
{
public:
    ~WdxDeviceWatcherPrivate()
    {
        delete notifier;
#ifdef DORVANE_HAVE_UDEV
        closeUdev();
#endif
    }

#ifdef DORVANE_HAVE_UDEV
    // Listens to udev when its daemon runs; without it the monitor would never hear a thing. A failed
    // open gives back what it took, so that polling does not hold a netlink socket for nothing.
    bool openUdev()
    {
        context = udev_new();
        if (!context)
            return false;
        udev_queue *queue = udev_queue_new(context);
        const bool active = queue && udev_queue_get_udev_is_active(queue);
        if (queue)
            udev_queue_unref(queue);
        if (active)
            monitor = udev_monitor_new_from_netlink(context, "udev");
        if (monitor && udev_monitor_filter_add_match_subsystem_devtype(monitor, "tty", nullptr) >= 0
            && udev_monitor_enable_receiving(monitor) >= 0 && udev_monitor_get_fd(monitor) >= 0)
            return true;
        closeUdev();
        return false;
    }

    void closeUdev()
    {
        if (monitor)
            udev_monitor_unref(monitor);
        if (context)
            udev_unref(context);
        monitor = nullptr;
        context = nullptr;
    }

    udev *context = nullptr;
    udev_monitor *monitor = nullptr;
#endif
    QSocketNotifier *notifier = nullptr;
    QTimer *pollTimer = nullptr;
    QSet<QString> knownPorts;
    WdxDeviceWatcher::Backend backend = WdxDeviceWatcher::Backend::Polling;
};

WdxDeviceWatcher::WdxDeviceWatcher(QObject *parent)
    : QObject(parent)
    , d(new WdxDeviceWatcherPrivate)
{
#if defined(Q_OS_WIN)
    if (QCoreApplication *app = QCoreApplication::instance())
        app->installNativeEventFilter(this);
    d->backend = Backend::NativeEvents;
#else
    // Elsewhere the filter would only be handed every window-system event to pass on.
#ifdef DORVANE_HAVE_UDEV
    if (d->openUdev()) {
        d->backend = Backend::Udev;
        d->notifier = new QSocketNotifier(udev_monitor_get_fd(d->monitor), QSocketNotifier::Read);
        connect(d->notifier, &QSocketNotifier::activated, this, &WdxDeviceWatcher::readUdev);
        return;
    }
#endif
    d->backend = Backend::Polling;
    d->knownPorts = currentPorts();
    d->pollTimer = new QTimer(this);
    connect(d->pollTimer, &QTimer::timeout, this, &WdxDeviceWatcher::pollPorts);
    d->pollTimer->start(pollInterval);
#endif
}

WdxDeviceWatcher::~WdxDeviceWatcher()
{
#ifdef Q_OS_WIN
    if (QCoreApplication *app = QCoreApplication::instance())
        app->removeNativeEventFilter(this);
#endif
}

WdxDeviceWatcher::Backend WdxDeviceWatcher::backend() const
{
    return d->backend;
}

WdxDeviceWatcher::Change WdxDeviceWatcher::decodeDeviceChange(quint32 message, quintptr event,
                                                              const QByteArray &record)
{
    Change change;
    if (message != deviceChangeMessage)
        return change;
    if (event != deviceArrivalEvent && event != deviceRemoveCompleteEvent)
        return change;
    if (record.size() < broadcastHeaderSize)
        return change;
    const uchar *bytes = reinterpret_cast<const uchar *>(record.constData());
    const quint32 declaredSize = qFromLittleEndian<quint32>(bytes);
    const quint32 deviceType = qFromLittleEndian<quint32>(bytes + 4);
    if (deviceType != portDeviceType || declaredSize < quint32(broadcastHeaderSize))
        return change;

    // The name ends at its NUL, at the declared size or at the end of the bytes, whichever comes first.
    const int end = int(qMin<quint32>(declaredSize, quint32(record.size())));
    QString name;
    for (int at = broadcastHeaderSize; at + 1 < end; at += 2) {
        const ushort unit = qFromLittleEndian<quint16>(bytes + at);
        if (unit == 0)
            break;
        name.append(QChar(unit));
    }
    if (name.isEmpty())
        return change;
    change.kind = event == deviceArrivalEvent ? Change::Arrival : Change::Removal;
    change.name = name;
    return change;
}

bool WdxDeviceWatcher::nativeEventFilter(const QByteArray &eventType, void *message, long *result)
{
    Q_UNUSED(result)
#ifdef Q_OS_WIN
    if (eventType != "windows_generic_MSG" && eventType != "windows_dispatcher_MSG")
        return false;
    const MSG *msg = static_cast<const MSG *>(message);
    if (!msg || msg->message != deviceChangeMessage || !msg->lParam)
        return false;
    // Only these two events carry a broadcast record behind lParam.
    if (msg->wParam != deviceArrivalEvent && msg->wParam != deviceRemoveCompleteEvent)
        return false;
    const auto *header = reinterpret_cast<const char *>(msg->lParam);
    const quint32 declaredSize = qFromLittleEndian<quint32>(header);
    if (declaredSize < quint32(broadcastHeaderSize) || declaredSize > 4096)
        return false;
    const QByteArray record = QByteArray::fromRawData(header, int(declaredSize));
    report(decodeDeviceChange(msg->message, quintptr(msg->wParam), record));
#else
    Q_UNUSED(eventType)
    Q_UNUSED(message)
#endif
    return false;
}

void WdxDeviceWatcher::report(const Change &change)
{
    if (change.kind == Change::Arrival)
        emit deviceArrival(change.name);
    else if (change.kind == Change::Removal)
        emit deviceRemoved(change.name);
}

void WdxDeviceWatcher::pollPorts()
{
    const QSet<QString> ports = currentPorts();
    for (const QString &port : ports) {
        if (!d->knownPorts.contains(port))
            report({Change::Arrival, port});
    }
    for (const QString &port : qAsConst(d->knownPorts)) {
        if (!ports.contains(port))
            report({Change::Removal, port});
    }
    d->knownPorts = ports;
}

void WdxDeviceWatcher::readUdev()
{
#ifdef DORVANE_HAVE_UDEV
    udev_device *device = udev_monitor_receive_device(d->monitor);
    if (!device)
        return;
    const char *action = udev_device_get_action(device);
    const char *node = udev_device_get_devnode(device);
    if (action && node) {
        const QString name = QString::fromLocal8Bit(node);
        if (qstrcmp(action, "add") == 0)
            report({Change::Arrival, name});
        else if (qstrcmp(action, "remove") == 0)
            report({Change::Removal, name});
    }
    udev_device_unref(device);
#endif
}
