#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QMainWindow>

#include <dorvane/app_export.h>

class ApplicationOptions;
class ChannelProxy;
class DialogueCapture;
class EchoFindBar;
class EchoRulerWidget;
class EchoTextEdit;
class QAction;
class QLabel;
class QTimer;
class WdxToolBar;

// The running log of the channel's traffic: the echo view with its byte
// ruler and the "Standard" tool bar that switches its options.
class DORVANE_APP_EXPORT DialogueWindow : public QMainWindow
{
    Q_OBJECT

public:
    // The channel's chunks feed "Log to File"; without a channel there is
    // nothing to capture.
    DialogueWindow(const ApplicationOptions &options, ChannelProxy *channel, QWidget *parent = nullptr);

    // A chunk the channel received, stamped with the channel's time (now
    // when none is given).
    void echoReceived(const QByteArray &data, const QDateTime &time = QDateTime());
    void echoTransmitted(const QDateTime &time, const QByteArray &data);

    // Direction 0 received, 1 transmitted.
    void setInterpretEnabled(int direction, bool on);
    bool interpretEnabled(int direction) const;
    // 0 picks on a mouse press, 1 while hovering.
    void setInterpretTrigger(int mode);

    EchoTextEdit *echoEdit() const { return m_edit; }
    EchoRulerWidget *ruler() const { return m_ruler; }
    WdxToolBar *toolBar() const { return m_toolBar; }
    DialogueCapture *capture() const { return m_capture; }
    QAction *captureAction() const { return m_captureAction; }
    QAction *pauseAction() const { return m_pauseAction; }
    EchoFindBar *findBar() const { return m_findBar; }
    // Ctrl+F: shows the find bar over the view, its text selected.
    void showFindBar();

    // Starts "Log to File" without asking; false, with a notice, when the
    // file cannot be opened.
    bool startCapture(const QString &path, bool append, quint64 rotateBytes);
    void stopCapture();

signals:
    // Hex text of the bytes picked in the log.
    void interpretDataChanged(const QString &hexstr);
    // A capture that stopped on a failed write, with the reason.
    void captureFailed(const QString &reason);

private:
    void createToolBar();
    QAction *addToolAction(const QString &text, const char *icon, void (DialogueWindow::*slot)());

    void onSwitchEchoMode();
    void onClearEchoText();
    void onEchoRxData();
    void onEchoTxData();
    void onDisplayLabel();
    void onEchoDataInNewLine();
    void onInsertBreak();
    void onAutoLineWrapMode();
    void onShowRuler();
    void onClearRuler();
    void onEchoFontChanged();
    void onLogToFile();
    void onCaptureFailed(const QString &reason);
    void updateCaptureStatus();

    EchoTextEdit *m_edit = nullptr;
    EchoRulerWidget *m_ruler = nullptr;
    WdxToolBar *m_toolBar = nullptr;
    WdxToolBar *m_captureBar = nullptr;
    QAction *m_echoModeAction = nullptr;
    QAction *m_echoRxAction = nullptr;
    QAction *m_echoTxAction = nullptr;
    QAction *m_labelAction = nullptr;
    QAction *m_newLineAction = nullptr;
    QAction *m_wrapAction = nullptr;
    QAction *m_rulerAction = nullptr;
    QAction *m_captureAction = nullptr;
    QAction *m_pauseAction = nullptr;
    EchoFindBar *m_findBar = nullptr;
    DialogueCapture *m_capture = nullptr;
    QLabel *m_captureStatus = nullptr;
    QTimer *m_captureTimer = nullptr;
};
