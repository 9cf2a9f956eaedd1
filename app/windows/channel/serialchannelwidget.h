#pragma once

#include "windows/channel/channelpage.h"

#include <dorvane/app_export.h>
#include <dorvane/channelparams.h>

class QComboBox;
class QLabel;
class WdxDeviceWatcher;

// Chooses a serial port and its parameters and opens or closes it through
// the application's channel proxy. The parameters of the last port opened
// are kept in the "serialPort" settings section.
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

private:
    void buildControls();
    void fillLists();
    void onBaudRateIndexChanged(int index);

    QComboBox *m_portName = nullptr;
    QComboBox *m_baudRate = nullptr;
    QComboBox *m_dataBits = nullptr;
    QComboBox *m_stopBits = nullptr;
    QComboBox *m_parity = nullptr;
    QComboBox *m_flowControl = nullptr;
    QLabel *m_flowControlLabel = nullptr;

    QLabel *m_description = nullptr;
    QLabel *m_manufacturer = nullptr;
    QLabel *m_serialNumber = nullptr;
    QLabel *m_location = nullptr;
    QLabel *m_vendorId = nullptr;
    QLabel *m_productId = nullptr;

    WdxDeviceWatcher *m_deviceWatcher = nullptr;
};
