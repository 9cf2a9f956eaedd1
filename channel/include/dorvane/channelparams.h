#pragma once
// Parameter records and enumerations shared by the channel layer and its users.

#include <QMetaType>
#include <QString>
#include <QtGlobal>

// Which kind of channel ChannelProxy::open creates.
enum ChannelType : qint32 { SerialPort = 0, Udp = 1, TcpClient = 2, TcpServer = 3 };

// Connection state reported by ChannelProxy::stateChanged.
enum ChanneState : qint32 { Opened = 0, Closed = 1 };

// How periodic sending is timed.
enum TimingStrategy : qint32 {
    CoarseTiming = 0,        // repeating coarse QTimer
    PreciseTiming = 1,       // repeating precise QTimer
    HighResolutionTiming = 2 // busy loop on a nanosecond clock, worker at highest priority
};

Q_DECLARE_METATYPE(ChannelType)
Q_DECLARE_METATYPE(ChanneState)
Q_DECLARE_METATYPE(TimingStrategy)

// Base of every open request. Requests are always one of the extended records
// below; the record is polymorphic so that a channel can tell a base record, or
// the wrong extension, from the one its type implies instead of misreading it.
struct ChannelParams
{
    ChannelParams() = default;
    ChannelParams(const ChannelParams &) = default;
    ChannelParams &operator=(const ChannelParams &) = default;
    virtual ~ChannelParams() = default;

    ChannelType type = SerialPort;
    TimingStrategy timing = CoarseTiming;
    // A serial port whose device disappears is reopened when it returns; a
    // TCP client whose connection fails or ends connects again, with a
    // back-off from 0.5 s to 10 s, until the channel is closed.
    bool autoReconnect = false;
};

// Flow control of a serial port.
enum SerialFlowControl : qint32 { NoFlowControl = 0, RtsCtsFlowControl = 1, XonXoffFlowControl = 2 };

// Modem lines of a serial port, as bits of ChannelProxy::serialPinsChanged.
enum SerialPin : quint32 {
    PinCts = 0x01,
    PinDsr = 0x02,
    PinDcd = 0x04,
    PinRi = 0x08,
    PinRts = 0x10, // driven by this side
    PinDtr = 0x20, // driven by this side
};

// Request for a serial port. dataBits, stopBits and parity hold QSerialPort enum values.
struct SerialChannelParams : ChannelParams
{
    SerialChannelParams() { type = SerialPort; }

    QString portName; // system name (COM3, ttyUSB0) or device path (/dev/pts/3)
    qint32 baudRate = 9600;
    qint32 dataBits = 8;                // 5 to 8
    qint32 stopBits = 1;                // 1 one, 2 two, 3 one and a half
    qint32 parity = 0;                  // 0 none, 2 even, 3 odd, 4 space, 5 mark
    qint32 flowControl = NoFlowControl; // a SerialFlowControl value
    // Line states set right after the port opens. Raised is what the system
    // itself does on open; RTS is left to the driver under RTS/CTS flow control.
    bool requestToSend = true;
    bool dataTerminalReady = true;
};

// Request for a UDP socket, a TCP client or a TCP server.
struct NetChannelParams : ChannelParams
{
    explicit NetChannelParams(ChannelType channelType = Udp) { type = channelType; }

    QString localAddress; // empty: a TCP client does not bind
    quint16 localPort = 0;
    QString remoteAddress;
    quint16 remotePort = 0;
    QString multicastAddress; // empty: unicast
};
