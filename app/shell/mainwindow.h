#pragma once

#include <QMainWindow>

#include <dorvane/app_export.h>

class ApplicationOptions;
class ChannelWindow;
class Context;
class DialogueWindow;
class HistoryWindow;
class InstructSetWindow;
class InterpretWindow;
class QDockWidget;
class QLabel;
class QPushButton;
class QTextBrowser;
class RxFrameWatcher;
class RxFrameWindow;
class TimingWatcher;
class TimingWindow;
class TransmitWindow;
class TxProtocolEditor;
class TxProtocolSetWindow;
class WdxInfoBar;
class WdxStatusBar;
class WdxToolBar;
class LinkHealth;
class LinkHealthWindow;
struct Services;

// The one top-level window: every workbench window lives in one of its
// docks, the tool bar shows and hides them, and the status bar carries the
// channel state and the byte counters.
class DORVANE_APP_EXPORT MainWindow : public QMainWindow
{
    Q_OBJECT

public:
    explicit MainWindow(const Services &services, QWidget *parent = nullptr);
    ~MainWindow() override;

    // Shows and raises a dock that is hidden or behind another tab, hides a
    // visible one.
    void toggleDock(QDockWidget *dock);
    // Shows and raises a dock that is hidden or behind another tab; leaves a
    // visible one as it is.
    void presentDock(QDockWidget *dock);

    void setRxCount(quint32 count);
    void setTxCount(quint32 count);
    void resetCounters();

    // Decodes the hex text picked in the dialogue and hands the bytes to the
    // interpret window.
    void interpretHex(const QString &hexstr);

    void openProtocolFile(const QString &path);
    void openProtocolSetFile(const QString &path);
    void openInstructSetFile(const QString &path);

    // The RX Frames window, in a dock of its own that starts hidden, shown
    // by the "RX Frames" tool bar action after "Inspect".
    void createRxFramesWindow(RxFrameWatcher *watcher, Context *context, ApplicationOptions *options);
    void openRxProtocolFile(const QString &path);
    RxFrameWindow *rxFrameWindow() const { return m_rxFrameWindow; }
    QDockWidget *rxFramesDock() const { return m_rxFramesDock; }

    // The Link Health window, in a dock that starts hidden, shown by the
    // "Link Health" tool bar action after "RX Frames".
    void createLinkHealthWindow(LinkHealth *health, ApplicationOptions *options);
    LinkHealthWindow *linkHealthWindow() const { return m_linkHealthWindow; }
    QDockWidget *linkHealthDock() const { return m_linkHealthDock; }
    // The Timing window, in a dock of its own ("TimingPanel") that starts
    // hidden, shown by the "Timing" tool bar action after "RX Frames".
    void createTimingWindow(TimingWatcher *watcher);
    TimingWindow *timingWindow() const { return m_timingWindow; }
    QDockWidget *timingDock() const { return m_timingDock; }

    // The horizontal requests for the Channel, Dialogue and protocol-editor
    // docks at a window width.
    static QList<int> horizontalDockSizes(int width);

    ChannelWindow *channelWindow() const { return m_channelWindow; }
    TxProtocolSetWindow *protocolSetWindow() const { return m_protocolSetWindow; }
    TxProtocolEditor *protocolEditor() const { return m_protocolEditor; }
    DialogueWindow *dialogueWindow() const { return m_dialogueWindow; }
    TransmitWindow *transmitWindow() const { return m_transmitWindow; }
    InterpretWindow *interpretWindow() const { return m_interpretWindow; }
    HistoryWindow *historyWindow() const { return m_historyWindow; }
    InstructSetWindow *instructSetWindow() const { return m_instructSetWindow; }
    // The docks' sizes were brought back: the window's own proportions wait
    // until it is resized from this size.
    void keepDockSizesAt(const QSize &size) { m_restoredSize = size; }

    QDockWidget *channelDock() const { return m_channelDock; }
    QDockWidget *protocolSetDock() const { return m_protocolSetDock; }
    QDockWidget *protocolEditorDock() const { return m_protocolEditorDock; }
    QDockWidget *dialogueDock() const { return m_dialogueDock; }
    QDockWidget *transmitDock() const { return m_transmitDock; }
    QDockWidget *interpretDock() const { return m_interpretDock; }
    QDockWidget *historyDock() const { return m_historyDock; }
    QDockWidget *instructSetDock() const { return m_instructSetDock; }

    WdxToolBar *toolBar() const { return m_toolBar; }

protected:
    bool event(QEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void createWindows(const Services &services);
    void createDocks();
    void createToolBar();
    void createStatusBar();
    void openHelp();
    void showAbout();
    // Brings a dock to the front whatever its state, for documents opened
    // from outside.

    WdxToolBar *m_toolBar = nullptr;

    ChannelWindow *m_channelWindow = nullptr;
    TxProtocolSetWindow *m_protocolSetWindow = nullptr;
    TxProtocolEditor *m_protocolEditor = nullptr;
    DialogueWindow *m_dialogueWindow = nullptr;
    TransmitWindow *m_transmitWindow = nullptr;
    InterpretWindow *m_interpretWindow = nullptr;
    HistoryWindow *m_historyWindow = nullptr;
    InstructSetWindow *m_instructSetWindow = nullptr;

    QDockWidget *m_channelDock = nullptr;
    QDockWidget *m_protocolSetDock = nullptr;
    QDockWidget *m_protocolEditorDock = nullptr;
    QDockWidget *m_dialogueDock = nullptr;
    QDockWidget *m_transmitDock = nullptr;
    QDockWidget *m_interpretDock = nullptr;
    QDockWidget *m_historyDock = nullptr;
    QDockWidget *m_instructSetDock = nullptr;
    RxFrameWindow *m_rxFrameWindow = nullptr;
    QDockWidget *m_rxFramesDock = nullptr;
    LinkHealthWindow *m_linkHealthWindow = nullptr;
    QDockWidget *m_linkHealthDock = nullptr;
    TimingWindow *m_timingWindow = nullptr;
    QDockWidget *m_timingDock = nullptr;

    WdxStatusBar *m_statusBar = nullptr;
    QTextBrowser *m_helpBrowser = nullptr;
    QSize m_restoredSize;
    WdxInfoBar *m_statusInfo = nullptr;
    QLabel *m_rxCounter = nullptr;
    QLabel *m_txCounter = nullptr;
    QPushButton *m_resetButton = nullptr;
};
