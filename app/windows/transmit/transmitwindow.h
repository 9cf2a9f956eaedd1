#pragma once

#include <QMainWindow>

#include <dorvane/app_export.h>

#include <memory>

class ApplicationOptions;
struct Services;
class StreamSender;
class ChannelProxy;
class PeriodSendController;
class QAction;
class QComboBox;
class QLineEdit;
class QProgressBar;
class QSpinBox;
class QToolButton;
class TransmitTextEdit;
class TxProtocol;
class WdxToolBar;

// The free-text sender: the user types hex digits or plain text and sends
// them once or periodically over the open channel. A calculator bar turns
// decimal numbers into bytes and a checksum bar computes CRCs over the typed
// bytes; both insert their result at the cursor.
class DORVANE_APP_EXPORT TransmitWindow : public QMainWindow
{
    Q_OBJECT

public:
    explicit TransmitWindow(const Services &services, QWidget *parent = nullptr);
    ~TransmitWindow() override;

    // Replaces the editor's text; mode 0 selects hex input, 1 text input,
    // another mode keeps the input mode. An empty text is ignored.
    void setTransmitText(const QString &text, int mode);

    // Sends the editor's text once, or starts or stops periodic sending.
    void sendTransmitText();

    TransmitTextEdit *editor() const { return m_editor; }
    int inputMode() const;
    // Mode 0 hex input, 1 text input.
    void setInputMode(int mode);
    // The periodic sending interval, in ms.
    int interval() const;
    void setInterval(int ms);

    // Calculator and checksum bar state: 1 little endian, 0 big endian;
    // the calculator's number size in bytes.
    int calcEndian() const { return m_calcEndian; }
    int crcEndian() const { return m_crcEndian; }
    int numberSize() const { return m_numberSize; }

    // Refreshes "Hex out" from the decimal input.
    void refreshHexOut();
    // Computes the selected model's CRC over the editor's checksum input.
    void computeChecksum();

    // Text mode: what follows each send (0 none, 1 CR, 2 LF, 3 CR LF).
    int lineEnding() const;
    // Sends a file's raw bytes in chunks; the progress bar and Cancel follow it.
    void sendFile(const QString &path);
    void cancelFileSend();

signals:
    // A changed text went out (sent once, or its periodic sending started).
    void textSent(const QString &text, int textMode);
    // "Add To Instruct Set": the text is to become a row of the instruct set.
    void addToInstructSetRequested(const QString &text, int textMode);

private:
    void createStandardBar();
    void createCalculatorBar();
    void createChecksumBar();
    void createPacingBar();
    void createFileBar();
    void restorePacing();
    void storePacing();
    void showFileSendFinished(quint64 id, bool completed, const QString &message);
    // The bytes a text-mode send writes: the text, then the line ending.
    QByteArray plainTextBytes() const;
    void showPeriodSendState(QObject *sender, bool isRun);
    void addToInstructSet();
    // Inserts a hex result at the cursor, apart from the digits before it.
    void insertAtCursor(const QString &text);

    TransmitTextEdit *m_editor = nullptr;
    std::unique_ptr<TxProtocol> m_transmitProtocol;

    WdxToolBar *m_standardBar = nullptr;
    QAction *m_modeAction = nullptr;
    QToolButton *m_periodButton = nullptr;
    PeriodSendController *m_periodSend;
    ChannelProxy &m_channel;
    StreamSender &m_sender;
    QSpinBox *m_interval = nullptr;
    QToolButton *m_sendButton = nullptr;

    WdxToolBar *m_calcBar = nullptr;
    QLineEdit *m_decimalInput = nullptr;
    QLineEdit *m_hexOut = nullptr;
    QAction *m_calcEndianAction = nullptr;
    QToolButton *m_sizeButton = nullptr;

    WdxToolBar *m_crcBar = nullptr;
    QComboBox *m_crcModel = nullptr;
    QLineEdit *m_checksum = nullptr;
    QAction *m_crcEndianAction = nullptr;

    WdxToolBar *m_pacingBar = nullptr;
    QComboBox *m_lineEnding = nullptr;
    QSpinBox *m_charDelay = nullptr;
    QSpinBox *m_lineDelay = nullptr;

    WdxToolBar *m_fileBar = nullptr;
    QSpinBox *m_chunkSize = nullptr;
    QSpinBox *m_chunkDelay = nullptr;
    QProgressBar *m_fileProgress = nullptr;
    QToolButton *m_cancelFile = nullptr;
    quint64 m_fileSendId = 0;

    ApplicationOptions &m_options;

    int m_calcEndian = 1;
    int m_crcEndian = 1;
    int m_numberSize = 4;
};
