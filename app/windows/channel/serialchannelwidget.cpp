#include "windows/channel/serialchannelwidget.h"

#include "model/settingsvalues.h"
#include "shell/notices.h"
#include "windows/common/grouplabel.h"
#include "windows/common/timingbuttons.h"

#include <dorvane/Channel.h>
#include <dorvane/WdxWidgets.h>

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSerialPort>
#include <QSerialPortInfo>
#include <QSpinBox>
#include <QVBoxLayout>

namespace {

const int kBaudRates[]
    = {1200, 2400, 4800, 9600, 19200, 38400, 57600, 115200, 128000, 230400, 256000, 460800, 921600};

// The port a name or device path stands for; a link such as
// /dev/serial/by-id/... is followed to its device node.
QSerialPortInfo findPort(const QString &name)
{
    if (name.isEmpty())
        return QSerialPortInfo();
    const QString canonical = QFileInfo(name).canonicalFilePath();
    const QList<QSerialPortInfo> ports = QSerialPortInfo::availablePorts();
    for (const QSerialPortInfo &info : ports) {
        if (info.portName() == name || info.systemLocation() == name
            || (!canonical.isEmpty() && info.systemLocation() == canonical))
            return info;
    }
    return QSerialPortInfo();
}

// The name the port list shows for a device the watcher reports: what the
// system calls the port ("ttyUSB0"), also when the watcher gives the device
// node's path ("/dev/ttyUSB0").
QString listedPortName(const QString &deviceName)
{
    const QSerialPortInfo info = findPort(deviceName);
    if (!info.isNull())
        return info.portName();
    const QString dev = QStringLiteral("/dev/");
    if (deviceName.startsWith(dev) && deviceName.indexOf(QLatin1Char('/'), dev.size()) < 0)
        return deviceName.mid(dev.size());
    return deviceName;
}

QString orNotAvailable(const QString &text)
{
    return text.isEmpty() ? QCoreApplication::translate("SerialChannelWidget", "N/A") : text;
}

// Why a port does not open, in the system's words: the channel reports only
// that it failed, so the port is tried once more here with the same settings.
// Called only after the channel refused the port; the port is closed again
// on every path (and by its destructor), so the attempt never leaves it open.
QString openErrorText(const SerialChannelParams &params)
{
    QSerialPort port;
    port.setPortName(params.portName);
    port.setBaudRate(params.baudRate);
    port.setDataBits(static_cast<QSerialPort::DataBits>(params.dataBits));
    port.setStopBits(static_cast<QSerialPort::StopBits>(params.stopBits));
    port.setParity(static_cast<QSerialPort::Parity>(params.parity));
    if (port.open(QIODevice::ReadWrite)) {
        port.close();
        return QString();
    }
    return port.errorString();
}

QLabel *valueLabel(const char *name, QWidget *parent)
{
    auto *label = new QLabel(QCoreApplication::translate("SerialChannelWidget", "N/A"), parent);
    label->setObjectName(QLatin1String(name));
    // Long descriptions must not widen the dock; the tool tip holds the text.
    label->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    return label;
}

// Modem lines the port reports, in the order the lamps show them.
const struct
{
    quint32 pin;
    const char *name;
    const char *objectName;
} kLamps[4] = {
    {PinCts, "CTS", "lampCts"},
    {PinDsr, "DSR", "lampDsr"},
    {PinDcd, "DCD", "lampDcd"},
    {PinRi, "RI", "lampRi"},
};

// A lamp: lit green, dark grey, or pale while the line is not known
// (no port open, or a device without modem lines).
void setLamp(QLabel *lamp, bool lit, bool known)
{
    const QString fill = !known ? QStringLiteral("#dcdcdc")
                         : lit  ? QStringLiteral("#2fbf3a")
                                : QStringLiteral("#7a7a7a");
    lamp->setStyleSheet(
        QStringLiteral("QLabel { background: %1; border: 1px solid #505050; border-radius: 5px; }")
            .arg(fill));
    lamp->setProperty("lit", known && lit);
}

// A break longer than this holds the line for seconds, which nobody means.
const int kMaxBreakMs = 5000;
const int kDefaultBreakMs = 250;

QComboBox *comboBox(const char *name, QWidget *parent)
{
    auto *box = new QComboBox(parent);
    box->setObjectName(QLatin1String(name));
    box->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    return box;
}

} // namespace

SerialChannelWidget::SerialChannelWidget(ApplicationOptions &options, ChannelProxy &channel, QWidget *parent)
    : ChannelPage("serialPort", options, channel, parent)
{
    buildControls();
    fillLists();
    loadSerialSettings();

    connect(m_portName, &QComboBox::currentTextChanged, this, &SerialChannelWidget::updatePortInfo);
    connect(m_baudRate, QOverload<int>::of(&QComboBox::currentIndexChanged), this,
            &SerialChannelWidget::onBaudRateIndexChanged);
    connect(m_control, &QPushButton::clicked, this, &SerialChannelWidget::toggleSerialChannel);
    connect(m_flowControl, QOverload<int>::of(&QComboBox::currentIndexChanged), this,
            &SerialChannelWidget::onFlowControlChanged);
    connect(m_rts, &QCheckBox::toggled, this, [this](bool on) { onLineToggled(PinRts, on); });
    connect(m_dtr, &QCheckBox::toggled, this, [this](bool on) { onLineToggled(PinDtr, on); });
    connect(m_autoReconnect, &QCheckBox::toggled, this, &SerialChannelWidget::storeLineSettings);
    connect(m_breakDuration, QOverload<int>::of(&QSpinBox::valueChanged), this,
            &SerialChannelWidget::storeLineSettings);
    connect(m_sendBreak, &QPushButton::clicked, this, [this] {
        if (ChannelProxy *proxy = channelProxy(); proxy && proxy->isOpen())
            proxy->sendBreak(m_breakDuration->value());
    });
    reportEditsOf({m_portName, m_baudRate, m_dataBits, m_stopBits, m_parity, m_flowControl});

    m_deviceWatcher = new WdxDeviceWatcher(this);
    connect(m_deviceWatcher, &WdxDeviceWatcher::deviceArrival, this, &SerialChannelWidget::addDevice);
    connect(m_deviceWatcher, &WdxDeviceWatcher::deviceRemoved, this, &SerialChannelWidget::removeDevice);

    if (ChannelProxy *proxy = channelProxy()) {
        // A port that goes away while open closes by itself.
        // One that reconnects keeps its open look: "Close" stops the waiting.
        connect(proxy, &ChannelProxy::stateChanged, this, [this, proxy](ChannelType type, ChanneState state) {
            if (type != SerialPort)
                return;
            if (state == Closed && m_openLook) {
                showPins(0, false);
                m_sendBreak->setEnabled(false);
                if (proxy->channelParams().autoReconnect)
                    return;
                setOpenLook(false);
                emit channelOpenStateChanged(false);
            } else if (state == Opened && m_openLook && proxy->isOpen()) {
                setOpenLook(true); // back after a reconnect
            }
        });
        connect(proxy, &ChannelProxy::serialPinsChanged, this,
                [this](quint32 pins) { showPins(pins, m_openLook); });
        connect(proxy, &ChannelProxy::serialLineUnavailable, this, &SerialChannelWidget::onLineUnavailable);
        connect(proxy, &ChannelProxy::baudRateMismatch, this,
                [this](qint32, qint32 actual) { showActualBaudRate(m_openLook ? actual : 0); });
    }
    showPins(0, false);
    updateLineControls();

    updatePortInfo();
}

SerialChannelWidget::~SerialChannelWidget() = default;

void SerialChannelWidget::buildControls()
{
    QVBoxLayout *layout = createBody();

    // Port and what the system knows about it.
    layout->addWidget(new GroupLabel(tr("Select Serial Port"), this));
    m_portName = comboBox("cbxPortName", this);
    m_portName->setEditable(true);
    m_portName->setInsertPolicy(QComboBox::NoInsert);
    // A long device path scrolls inside the box instead of widening the dock.
    m_portName->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    m_portName->setMinimumContentsLength(8);
    m_portName->lineEdit()->setPlaceholderText(tr("Port or device path"));
    m_portName->setToolTip(tr("Choose a port, or type a device path such as /dev/ttyUSB0"));
    layout->addWidget(m_portName);

    auto *info = new QGridLayout;
    info->setContentsMargins(2, 2, 0, 6);
    info->setHorizontalSpacing(8);
    info->setVerticalSpacing(2);
    info->setColumnStretch(1, 1);
    m_description = valueLabel("lblDescription", this);
    m_manufacturer = valueLabel("lblManufacturer", this);
    m_serialNumber = valueLabel("lblSerialNumber", this);
    m_location = valueLabel("lblLocation", this);
    m_vendorId = valueLabel("lblVenderId", this);
    m_productId = valueLabel("lblProductId", this);
    const QList<QPair<QString, QLabel *>> rows = {
        {tr("Description:"), m_description},    {tr("Manufacturer:"), m_manufacturer},
        {tr("Serial number:"), m_serialNumber}, {tr("Location:"), m_location},
        {tr("Vendor Identifier:"), m_vendorId}, {tr("Product Identifier:"), m_productId},
    };
    for (int row = 0; row < rows.size(); ++row) {
        auto *caption = new QLabel(rows.at(row).first, this);
        caption->setObjectName(QStringLiteral("PortInfoCaption"));
        info->addWidget(caption, row, 0);
        info->addWidget(rows.at(row).second, row, 1);
    }
    layout->addLayout(info);

    // Line parameters.
    layout->addWidget(new GroupLabel(tr("Select Parameters"), this));
    auto *params = new QGridLayout;
    params->setContentsMargins(2, 2, 0, 6);
    params->setHorizontalSpacing(8);
    params->setVerticalSpacing(4);
    params->setColumnStretch(1, 1);
    m_baudRate = comboBox("cbxBaudRate", this);
    m_baudRate->setInsertPolicy(QComboBox::NoInsert);
    m_dataBits = comboBox("cbxDataBits", this);
    m_stopBits = comboBox("cbxStopBits", this);
    m_parity = comboBox("cbxParity", this);
    m_flowControl = comboBox("cbxFlowControl", this);
    m_flowControlLabel = new QLabel(tr("Flow Control"), this);
    m_flowControlLabel->setObjectName(QStringLiteral("lblFlowControl"));
    m_actualBaud = new QLabel(this);
    m_actualBaud->setObjectName(QStringLiteral("lblActualBaud"));
    m_actualBaud->hide();
    auto *baudRow = new QHBoxLayout;
    baudRow->setSpacing(4);
    baudRow->addWidget(m_baudRate, 1);
    baudRow->addWidget(m_actualBaud);
    params->addWidget(new QLabel(tr("Baud Rate"), this), 0, 0);
    params->addLayout(baudRow, 0, 1);
    params->addWidget(new QLabel(tr("Data Bits"), this), 1, 0);
    params->addWidget(m_dataBits, 1, 1);
    params->addWidget(new QLabel(tr("Stop Bits"), this), 2, 0);
    params->addWidget(m_stopBits, 2, 1);
    params->addWidget(new QLabel(tr("Parity"), this), 3, 0);
    params->addWidget(m_parity, 3, 1);
    params->addWidget(m_flowControlLabel, 4, 0);
    params->addWidget(m_flowControl, 4, 1);
    layout->addLayout(params);

    layout->addWidget(new GroupLabel(tr("Line Control"), this));
    layout->addLayout(buildLineControls());

    addTimingGroup(layout);
    addControlButton(layout, "btnSerialPortControl");
}

QLayout *SerialChannelWidget::buildLineControls()
{
    auto *box = new QVBoxLayout;
    box->setContentsMargins(2, 2, 0, 6);
    box->setSpacing(4);

    m_rts = new QCheckBox(tr("RTS"), this);
    m_rts->setObjectName(QStringLiteral("chkRts"));
    m_rts->setToolTip(tr("Request To Send: raised or lowered now, and so at the next open"));
    m_dtr = new QCheckBox(tr("DTR"), this);
    m_dtr->setObjectName(QStringLiteral("chkDtr"));
    m_dtr->setToolTip(tr("Data Terminal Ready: raised or lowered now, and so at the next open"));
    m_rts->setChecked(true);
    m_dtr->setChecked(true);
    auto *driven = new QHBoxLayout;
    driven->setSpacing(12);
    driven->addWidget(m_rts);
    driven->addWidget(m_dtr);
    driven->addStretch(1);
    box->addLayout(driven);

    auto *lamps = new QHBoxLayout;
    lamps->setSpacing(4);
    for (int i = 0; i < 4; ++i) {
        auto *lamp = new QLabel(this);
        lamp->setObjectName(QLatin1String(kLamps[i].objectName));
        lamp->setFixedSize(10, 10);
        m_lamps[i] = lamp;
        lamps->addWidget(lamp);
        auto *caption = new QLabel(QLatin1String(kLamps[i].name), this);
        caption->setObjectName(QStringLiteral("LampCaption"));
        lamps->addWidget(caption);
        lamps->addSpacing(6);
    }
    lamps->addStretch(1);
    box->addLayout(lamps);

    m_sendBreak = new QPushButton(tr("Send Break"), this);
    m_sendBreak->setObjectName(QStringLiteral("btnSendBreak"));
    m_breakDuration = new QSpinBox(this);
    m_breakDuration->setObjectName(QStringLiteral("spinBreakDuration"));
    m_breakDuration->setRange(1, kMaxBreakMs);
    m_breakDuration->setValue(kDefaultBreakMs);
    m_breakDuration->setSuffix(tr(" ms"));
    m_breakDuration->setToolTip(tr("How long the line is held in the break state"));
    auto *brk = new QHBoxLayout;
    brk->setSpacing(6);
    brk->addWidget(m_sendBreak);
    brk->addWidget(m_breakDuration, 1);
    box->addLayout(brk);

    m_autoReconnect = new QCheckBox(tr("Auto Reconnect"), this);
    m_autoReconnect->setObjectName(QStringLiteral("chkAutoReconnect"));
    m_autoReconnect->setToolTip(tr("Reopen the port when its device returns after it went away"));
    box->addWidget(m_autoReconnect);
    return box;
}

void SerialChannelWidget::fillLists()
{
    const QList<QSerialPortInfo> ports = QSerialPortInfo::availablePorts();
    for (const QSerialPortInfo &port : ports)
        m_portName->addItem(port.portName(), port.portName());

    for (int rate : kBaudRates)
        m_baudRate->addItem(QString::number(rate), rate);
    m_baudRate->addItem(tr("Custom"));
    m_baudRate->setCurrentIndex(m_baudRate->findData(9600));

    for (int bits = 5; bits <= 8; ++bits)
        m_dataBits->addItem(QString::number(bits), bits);
    m_dataBits->setCurrentIndex(m_dataBits->findData(8));

    m_stopBits->addItem(QStringLiteral("1"), int(QSerialPort::OneStop));
    m_stopBits->addItem(QStringLiteral("1.5"), int(QSerialPort::OneAndHalfStop));
    m_stopBits->addItem(QStringLiteral("2"), int(QSerialPort::TwoStop));

    m_parity->addItem(tr("No"), int(QSerialPort::NoParity));
    m_parity->addItem(tr("Odd"), int(QSerialPort::OddParity));
    m_parity->addItem(tr("Even"), int(QSerialPort::EvenParity));
    m_parity->addItem(tr("Mark"), int(QSerialPort::MarkParity));
    m_parity->addItem(tr("Space"), int(QSerialPort::SpaceParity));

    m_flowControl->addItem(tr("No"), int(QSerialPort::NoFlowControl));
    m_flowControl->addItem(tr("RTS/CTS"), int(QSerialPort::HardwareControl));
    m_flowControl->addItem(tr("XON/XOFF"), int(QSerialPort::SoftwareControl));
}

void SerialChannelWidget::loadSerialSettings()
{
    const YAML::Node section = storedSettings();

    const QString name = settingsString(section, "name", QString());
    const int port = m_portName->findText(name, Qt::MatchExactly);
    if (port >= 0)
        m_portName->setCurrentIndex(port);
    else if (name.startsWith(QLatin1Char('/')) && QFileInfo::exists(name))
        m_portName->setEditText(name); // a device path typed earlier that still exists
    else if (m_portName->count() > 0)
        m_portName->setCurrentIndex(0);

    const int rate = settingsInt(section, "baudrate", 9600);
    const int listed = m_baudRate->findText(QString::number(rate), Qt::MatchExactly);
    if (listed >= 0) {
        m_baudRate->setCurrentIndex(listed);
    } else if (rate > 0) {
        // A rate typed under "Custom" comes back the same way.
        m_baudRate->setCurrentIndex(m_baudRate->count() - 1);
        onBaudRateIndexChanged(m_baudRate->currentIndex());
        m_baudRate->setEditText(QString::number(rate));
    }

    auto selectData = [](QComboBox *box, int value) {
        const int index = box->findData(value);
        if (index >= 0)
            box->setCurrentIndex(index);
    };
    selectData(m_dataBits, settingsInt(section, "dataBits", 8));
    selectData(m_stopBits, settingsInt(section, "stopBits", 1));
    selectData(m_parity, settingsInt(section, "parity", 0));
    selectData(m_flowControl, settingsInt(section, "flowControl", 0));

    const QSignalBlocker quietRts(m_rts);
    const QSignalBlocker quietDtr(m_dtr);
    const QSignalBlocker quietReconnect(m_autoReconnect);
    const QSignalBlocker quietBreak(m_breakDuration);
    m_rts->setChecked(settingsBool(section, "requestToSend", true));
    m_dtr->setChecked(settingsBool(section, "dataTerminalReady", true));
    m_autoReconnect->setChecked(settingsBool(section, "autoReconnect", false));
    m_breakDuration->setValue(qBound(1, settingsInt(section, "breakDuration", kDefaultBreakMs), kMaxBreakMs));
}

void SerialChannelWidget::storeLineSettings()
{
    YAML::Node section = storedSettings();
    if (!section.IsDefined() || !section.IsMap())
        section = YAML::Node(YAML::NodeType::Map);
    else
        section = YAML::Clone(section);
    section["requestToSend"] = m_rts->isChecked();
    section["dataTerminalReady"] = m_dtr->isChecked();
    section["autoReconnect"] = m_autoReconnect->isChecked();
    section["breakDuration"] = m_breakDuration->value();
    storeSettings(section);
}

void SerialChannelWidget::saveSerialSettings()
{
    YAML::Node section(YAML::NodeType::Map);
    section["name"] = toSettingsText(m_portName->currentText().trimmed());
    section["baudrate"] = baudRate();
    section["dataBits"] = m_dataBits->currentData().toInt();
    section["stopBits"] = m_stopBits->currentData().toInt();
    section["parity"] = m_parity->currentData().toInt();
    section["flowControl"] = m_flowControl->currentData().toInt();
    section["requestToSend"] = m_rts->isChecked();
    section["dataTerminalReady"] = m_dtr->isChecked();
    section["autoReconnect"] = m_autoReconnect->isChecked();
    section["breakDuration"] = m_breakDuration->value();
    storeSettings(section);
}

void SerialChannelWidget::updatePortInfo()
{
    // An unknown port gives empty texts and no identifiers: "N/A" throughout.
    const QSerialPortInfo info = findPort(m_portName->currentText().trimmed());
    m_description->setText(orNotAvailable(info.description()));
    m_manufacturer->setText(orNotAvailable(info.manufacturer()));
    m_serialNumber->setText(orNotAvailable(info.serialNumber()));
    m_location->setText(orNotAvailable(info.systemLocation()));
    m_vendorId->setText(
        orNotAvailable(info.hasVendorIdentifier() ? QString::number(info.vendorIdentifier()) : QString()));
    m_productId->setText(
        orNotAvailable(info.hasProductIdentifier() ? QString::number(info.productIdentifier()) : QString()));
    for (QLabel *label : {m_description, m_manufacturer, m_serialNumber, m_location})
        label->setToolTip(label->text());
}

void SerialChannelWidget::addDevice(const QString &deviceName)
{
    const QString name = listedPortName(deviceName);
    if (name.isEmpty() || m_portName->findText(name, Qt::MatchExactly) >= 0)
        return;
    // The system changed the list, not the user: what the window says about
    // the last channel (a port that went away) stays.
    m_quietEdits = true;
    m_portName->addItem(name, name);
    // While a port is open the list must keep naming the open one.
    if (!m_openLook)
        m_portName->setCurrentIndex(m_portName->count() - 1);
    m_quietEdits = false;
}

void SerialChannelWidget::removeDevice(const QString &deviceName)
{
    const int index = m_portName->findText(listedPortName(deviceName), Qt::MatchExactly);
    if (index >= 0) {
        m_quietEdits = true;
        m_portName->removeItem(index);
        m_quietEdits = false;
    }
}

int SerialChannelWidget::baudRate() const
{
    bool ok = false;
    const int rate = m_baudRate->currentText().trimmed().toInt(&ok);
    return ok && rate > 0 ? rate : 0;
}

SerialChannelParams SerialChannelWidget::serialParams() const
{
    SerialChannelParams params;
    params.type = SerialPort;
    params.timing = m_timing->strategy();
    params.portName = m_portName->currentText().trimmed();
    params.baudRate = baudRate();
    params.dataBits = m_dataBits->currentData().toInt();
    params.stopBits = m_stopBits->currentData().toInt();
    params.parity = m_parity->currentData().toInt();
    params.flowControl = m_flowControl->currentData().toInt();
    params.requestToSend = m_rts->isChecked();
    params.dataTerminalReady = m_dtr->isChecked();
    params.autoReconnect = m_autoReconnect->isChecked();
    return params;
}

void SerialChannelWidget::toggleSerialChannel()
{
    ChannelProxy *proxy = channelProxy();
    if (!proxy)
        return;

    // A port waiting for its device to return is closed too.
    if (proxy->isOpen() || proxy->isReconnecting()) {
        proxy->close();
        setOpenLook(false);
        emit channelOpenStateChanged(false);
        return;
    }

    const SerialChannelParams params = serialParams();
    if (params.portName.isEmpty()) {
        warnChannelFailed(this, tr("Choose a serial port, or type the path of its device."));
        return;
    }
    if (params.baudRate <= 0) {
        warnChannelFailed(
            this, tr("The baud rate \"%1\" is not valid: type a whole number of bits per second above 0.")
                      .arg(m_baudRate->currentText().trimmed()));
        return;
    }
    m_noModemLines = false;
    if (!proxy->open(params)) {
        QString reason = openErrorText(params);
        if (reason.isEmpty())
            reason = tr("the port refused these parameters");
        const QString message = tr("Unable to open the serial port %1: %2").arg(params.portName, reason);
        reportOpenFailure(message);
        return;
    }
    saveSerialSettings();
    setOpenLook(true);
    emit channelOpenStateChanged(true);
}

void SerialChannelWidget::setParamsEnabled(bool on)
{
    for (QComboBox *box : {m_portName, m_baudRate, m_dataBits, m_stopBits, m_parity, m_flowControl})
        box->setEnabled(on);
    m_timing->setEnabled(on);
    m_autoReconnect->setEnabled(on);
}

void SerialChannelWidget::setOpenLook(bool open)
{
    m_openLook = open;
    setParamsEnabled(!open);
    m_control->setText(open ? tr("Close") : tr("Open"));
    if (!open)
        showActualBaudRate(0);
    // The first reading of the lines came with the open; later changes follow.
    ChannelProxy *proxy = channelProxy();
    const bool serialOpen = open && proxy && proxy->isOpen() && proxy->channelParams().type == SerialPort;
    showPins(serialOpen ? proxy->serialPins() : 0, serialOpen);
    updateLineControls();
}

void SerialChannelWidget::updateLineControls()
{
    // A break needs a serial port of this page open.
    ChannelProxy *proxy = channelProxy();
    const bool serialOpen
        = m_openLook && proxy && proxy->isOpen() && proxy->channelParams().type == SerialPort;
    m_sendBreak->setEnabled(serialOpen);
    const bool flowDrivesRts = m_flowControl->currentData().toInt() == int(QSerialPort::HardwareControl);
    m_rts->setEnabled(!flowDrivesRts);
    m_rts->setToolTip(flowDrivesRts ? tr("RTS/CTS flow control drives RTS")
                                    : tr("Request To Send: raised or lowered now, and so at the next open"));
}

void SerialChannelWidget::onFlowControlChanged()
{
    updateLineControls();
}

void SerialChannelWidget::onLineToggled(quint32 pin, bool on)
{
    storeLineSettings();
    ChannelProxy *proxy = channelProxy();
    if (!proxy || !m_openLook || !proxy->isOpen() || proxy->channelParams().type != SerialPort)
        return;
    if (pin == PinRts)
        proxy->setRequestToSend(on);
    else
        proxy->setDataTerminalReady(on);
}

void SerialChannelWidget::showPins(quint32 pins, bool known)
{
    if (known && m_noModemLines)
        return;
    m_pins = pins;
    for (int i = 0; i < 4; ++i) {
        setLamp(m_lamps[i], pins & kLamps[i].pin, known);
        m_lamps[i]->setToolTip(
            known ? tr("%1 is %2")
                        .arg(QLatin1String(kLamps[i].name), (pins & kLamps[i].pin) ? tr("on") : tr("off"))
                  : tr("%1: not known").arg(QLatin1String(kLamps[i].name)));
    }
}

void SerialChannelWidget::onLineUnavailable(const QString &what, const QString &reason)
{
    if (what != QLatin1String("Modem lines"))
        return;
    m_noModemLines = true;
    showPins(0, false);
    for (QLabel *lamp : m_lamps)
        lamp->setToolTip(tr("This port reports no modem lines (%1)").arg(reason));
}

void SerialChannelWidget::showActualBaudRate(int actual)
{
    m_actualBaud->setVisible(actual > 0);
    m_actualBaud->setText(actual > 0 ? tr("set: %1").arg(actual) : QString());
    m_actualBaud->setToolTip(
        actual > 0 ? tr("The driver set %1 baud instead of the %2 asked for").arg(actual).arg(baudRate())
                   : QString());
}

QString SerialChannelWidget::actualBaudText() const
{
    return m_actualBaud->isVisible() ? m_actualBaud->text() : QString();
}

void SerialChannelWidget::onBaudRateIndexChanged(int index)
{
    const bool custom = index >= 0 && !m_baudRate->itemData(index).isValid();
    if (custom == m_baudRate->isEditable())
        return;
    m_baudRate->setEditable(custom);
    if (custom) {
        m_baudRate->setInsertPolicy(QComboBox::NoInsert);
        m_baudRate->lineEdit()->clear();
        m_baudRate->lineEdit()->setPlaceholderText(tr("Type a rate"));
        m_baudRate->lineEdit()->setFocus();
    }
}
