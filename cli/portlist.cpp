#include "portlist.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSerialPortInfo>

namespace {

QString usbId(quint16 id)
{
    return QStringLiteral("%1").arg(id, 4, 16, QLatin1Char('0'));
}

} // namespace

int listPorts(bool json, std::FILE *out)
{
    const QList<QSerialPortInfo> ports = QSerialPortInfo::availablePorts();
    if (json) {
        QJsonArray list;
        for (const QSerialPortInfo &port : ports) {
            QJsonObject entry{{QStringLiteral("path"), port.systemLocation()},
                              {QStringLiteral("name"), port.portName()},
                              {QStringLiteral("description"), port.description()},
                              {QStringLiteral("manufacturer"), port.manufacturer()},
                              {QStringLiteral("serialNumber"), port.serialNumber()}};
            if (port.hasVendorIdentifier())
                entry.insert(QStringLiteral("vid"), usbId(port.vendorIdentifier()));
            if (port.hasProductIdentifier())
                entry.insert(QStringLiteral("pid"), usbId(port.productIdentifier()));
            list.append(entry);
        }
        std::fprintf(out, "%s\n", QJsonDocument(list).toJson(QJsonDocument::Compact).constData());
        return 0;
    }
    for (const QSerialPortInfo &port : ports) {
        QString line = port.systemLocation();
        if (port.hasVendorIdentifier() && port.hasProductIdentifier())
            line += QStringLiteral("  %1:%2").arg(usbId(port.vendorIdentifier()),
                                                  usbId(port.productIdentifier()));
        for (const QString &text : {port.manufacturer(), port.description()}) {
            if (!text.isEmpty())
                line += QStringLiteral("  ") + text;
        }
        if (!port.serialNumber().isEmpty())
            line += QStringLiteral("  serial ") + port.serialNumber();
        std::fprintf(out, "%s\n", qPrintable(line));
    }
    return 0;
}
