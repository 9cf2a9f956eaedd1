#pragma once

#include "windows/channel/channelpage.h"

#include <dorvane/app_export.h>
#include <dorvane/channelparams.h>

class QCheckBox;
class QComboBox;
class QLabel;
class QPushButton;
class QSpinBox;
class WdxDeviceWatcher;

// Chooses a serial port and its parameters and opens or closes it through
// the application's channel proxy. The parameters of the last port opened
// are kept in the "serialPort" settings section. Its line controls drive
// RTS and DTR (their state at open kept in the settings too), send a break
// and show the modem lines the port reports.
class DORVANE_APP_EXPORT SerialChannelWidget : public ChannelPage
{
    Q_OBJECT

public:
    SerialChannelWidget(ApplicationOptions &options, ChannelProxy &channel, QWidget *parent = nullptr);
    ~SerialChannelWidget() override;

    void loadSerialSettings();
    void saveSerialSettings();
    void updatePortInfo();
    void toggleSerialChannel();
    void setParamsEnabled(bool on);

    // The open look (parameters disabled, button "Close") or the closed one,
    // without touching the channel: for a channel opened or closed elsewhere.
    void setOpenLook(bool open);

    // The record the controls describe.
    SerialChannelParams serialParams() const;
    // The rate in the baud box, 0 when it is not a number above 0.
    int baudRate() const;

    // Device arrival and removal, as the device watcher reports them.
    void addDevice(const QString &deviceName);
    void removeDevice(const QString &deviceName);

    // The rate the driver set instead of the one asked for, shown beside
    // the baud box while the port is open; 0 hides it.
    void showActualBaudRate(int actual);
    QString actualBaudText() const;

private:
    void buildControls();
    QLayout *buildLineControls();
    void fillLists();
    void onBaudRateIndexChanged(int index);
    void onFlowControlChanged();
    void onLineToggled(quint32 pin, bool on);
    void showPins(quint32 pins, bool known);
    void onLineUnavailable(const QString &what, const QString &reason);
    // Writes the line keys alone into the stored section: a toggle is kept
    // at once, without taking over a port chosen but never opened.
    void storeLineSettings();
    void updateLineControls();

    QComboBox *m_portName = nullptr;
    QComboBox *m_baudRate = nullptr;
    QComboBox *m_dataBits = nullptr;
    QComboBox *m_stopBits = nullptr;
    QComboBox *m_parity = nullptr;
    QComboBox *m_flowControl = nullptr;
    QLabel *m_flowControlLabel = nullptr;
    QLabel *m_actualBaud = nullptr;

    QCheckBox *m_rts = nullptr;
    QCheckBox *m_dtr = nullptr;
    QPushButton *m_sendBreak = nullptr;
    QSpinBox *m_breakDuration = nullptr;
    QCheckBox *m_autoReconnect = nullptr;
    // CTS, DSR, DCD, RI.
    QLabel *m_lamps[4] = {};
    quint32 m_pins = 0;
    // The open device said it has no modem lines (kept over a reconnect).
    bool m_noModemLines = false;

    QLabel *m_description = nullptr;
    QLabel *m_manufacturer = nullptr;
    QLabel *m_serialNumber = nullptr;
    QLabel *m_location = nullptr;
    QLabel *m_vendorId = nullptr;
    QLabel *m_productId = nullptr;

    WdxDeviceWatcher *m_deviceWatcher = nullptr;
};
