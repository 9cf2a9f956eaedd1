// dorvane-devsim: a device to try the workbench on without hardware.
#include "echodevice.h"
#include "endpoint.h"
#include "modbusdevice.h"
#include "ptytransport.h"
#include "replydevice.h"
#include "services/signalwatcher.h"
#include "simoptions.h"
#include "tcptransport.h"
#include "telemetrydevice.h"
#include "trafficlog.h"
#include "udptransport.h"

#include <QCoreApplication>

#include <cstdio>
#include <memory>

namespace {

std::unique_ptr<Device> makeDevice(const SimOptions &options)
{
    switch (options.mode) {
    case SimOptions::Echo:
        return std::make_unique<EchoDevice>();
    case SimOptions::Telemetry:
        return std::make_unique<TelemetryDevice>(options);
    case SimOptions::Modbus: {
        auto device = std::make_unique<ModbusDevice>(quint8(options.unit), options.registerCount);
        for (int i = 0; i < options.registers.size(); ++i)
            device->slave().setRegister(i, options.registers.at(i));
        return device;
    }
    case SimOptions::Reply:
        return std::make_unique<ReplyDevice>(options.replies, options.delayMs);
    }
    return nullptr;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("dorvane-devsim"));
    QCoreApplication::setApplicationVersion(QStringLiteral("1.0.0"));

    const SimOptionsResult parsed = parseSimOptions(QCoreApplication::arguments());
    if (!parsed.ok) {
        const QByteArray text = parsed.message.toLocal8Bit();
        std::fprintf(parsed.exitCode == 0 ? stdout : stderr, "%s\n", text.constData());
        return parsed.exitCode;
    }
    const SimOptions &options = parsed.options;
    TrafficLog::setQuiet(options.quiet);

    SignalWatcher stopWatcher;
    if (!stopWatcher.isValid())
        TrafficLog::error(QStringLiteral("cannot watch for SIGINT and SIGTERM; stop it with SIGKILL"));
    QObject::connect(&stopWatcher, &SignalWatcher::stopRequested, &app, [](int number) {
        TrafficLog::note(QStringLiteral("%1 stopping (signal %2)").arg(TrafficLog::stamp()).arg(number));
        QCoreApplication::quit();
    });

    std::unique_ptr<Device> device = makeDevice(options);
    TrafficLog::note(QStringLiteral("dorvane-devsim %1").arg(device->describe()));

    std::unique_ptr<PtyTransport> pty;
    std::unique_ptr<TcpTransport> tcp;
    std::unique_ptr<UdpTransport> udp;
    if (options.pty) {
        pty = std::make_unique<PtyTransport>();
        if (!pty->open(options.linkPath)) {
            TrafficLog::error(pty->errorString());
            return 1;
        }
        device->attach(pty->endpoint());
        QString line = QStringLiteral("pty: %1").arg(pty->slavePath());
        if (!options.linkPath.isEmpty())
            line += QStringLiteral(" (link %1)").arg(options.linkPath);
        TrafficLog::note(line);
    }
    if (options.tcpPort >= 0) {
        tcp = std::make_unique<TcpTransport>();
        QObject::connect(tcp.get(), &TcpTransport::endpointAdded, device.get(), &Device::attach);
        if (!tcp->listen(options.tcpPort)) {
            TrafficLog::error(tcp->errorString());
            return 1;
        }
        TrafficLog::note(QStringLiteral("tcp: 127.0.0.1:%1").arg(tcp->port()));
    }
    if (options.udpPort >= 0) {
        udp = std::make_unique<UdpTransport>();
        QObject::connect(udp.get(), &UdpTransport::endpointAdded, device.get(), &Device::attach);
        if (!udp->bind(options.udpPort)) {
            TrafficLog::error(udp->errorString());
            return 1;
        }
        if (options.udpPeerPort > 0)
            udp->addPeer(QHostAddress::LocalHost, quint16(options.udpPeerPort));
        TrafficLog::note(QStringLiteral("udp: 127.0.0.1:%1").arg(udp->port()));
    }

    const int result = QCoreApplication::exec();
    // Endpoints go before the device that serves them.
    udp.reset();
    tcp.reset();
    pty.reset();
    device.reset();
    return result;
}
