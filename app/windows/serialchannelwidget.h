#pragma once

#include <QWidget>

#include <dorvane/app_export.h>
#include <dorvane/channelparams.h>

#include <memory>

class QComboBox;
class QLabel;
class QPushButton;
class TimingButtons;
class WdxDeviceWatcher;

// Chooses a serial port and its parameters and opens or closes it through
// the application's channel proxy. The parameters of the last port opened
// are kept in the "serialPort" settings section.
class DORVANE_APP_EXPORT SerialChannelWidget : public QWidget
{
    Q_OBJECT

public:
    explicit SerialChannelWidget(QWidget *parent = nullptr);
    ~SerialChannelWidget() override;

    void loadSerialSettings();
    void saveSerialSettings();
    void updatePortInfo();
    void toggleSerialChannel();
    void setParamsEnabled(bool on);

    // The open look (parameters disabled, button "Close") or the closed one,
    // without touching the channel: for a channel opened or closed elsewhere.
    void setOpenLook(bool open);
    bool hasOpenLook() const { return m_openLook; }

    // The record the controls describe.
    SerialChannelParams serialParams() const;
    // The rate in the baud box, 0 when it is not a number above 0.
    int baudRate() const;

    // Device arrival and removal, as the device watcher reports them.
    void addDevice(const QString &deviceName);
    void removeDevice(const QString &deviceName);

signals:
    void channelOpenStateChanged(bool isOpen);
    // A port that could not be opened, with the reason.
    void channelFailed(const QString &message);

private:
    void buildControls();
    void fillLists();
    void onBaudRateIndexChanged(int index);
    void warn(const QString &text);

    QComboBox *m_portName = nullptr;
    QComboBox *m_baudRate = nullptr;
    QComboBox *m_dataBits = nullptr;
    QComboBox *m_stopBits = nullptr;
    QComboBox *m_parity = nullptr;
    QComboBox *m_flowControl = nullptr;
    QLabel *m_flowControlLabel = nullptr;
    std::unique_ptr<TimingButtons> m_timing;
    QPushButton *m_control = nullptr;

    QLabel *m_description = nullptr;
    QLabel *m_manufacturer = nullptr;
    QLabel *m_serialNumber = nullptr;
    QLabel *m_location = nullptr;
    QLabel *m_vendorId = nullptr;
    QLabel *m_productId = nullptr;

    WdxDeviceWatcher *m_deviceWatcher = nullptr;
    bool m_openLook = false;
};
