#include "shell/wiring.h"

#include "services/receivewatcher.h"
#include "services/rxframewatcher.h"
#include "services/timingwatcher.h"
#include "services/transmitwatcher.h"
#include "shell/mainwindow.h"
#include "windows/dialogue/dialoguewindow.h"
#include "windows/history/historywindow.h"
#include "windows/instructs/instructsetwindow.h"
#include "windows/interpret/interpretwindow.h"
#include "windows/protocolsets/txprotocolsetwindow.h"
#include "windows/transmit/transmitwindow.h"

#include <dorvane/channelproxy.h>

void connectWorkbench(MainWindow &window, TransmitWatcher &transmitWatcher, ReceiveWatcher &receiveWatcher,
                      RxFrameWatcher &frameWatcher)
{
    MainWindow *main = &window;
    DialogueWindow *dialogue = window.dialogueWindow();
    TransmitWindow *transmit = window.transmitWindow();
    HistoryWindow *history = window.historyWindow();
    InstructSetWindow *instructs = window.instructSetWindow();
    InterpretWindow *interpret = window.interpretWindow();

    // Counters and echo. A received chunk is echoed before the frame watcher
    // sees it: the connections run in the order they are made.
    QObject::connect(&transmitWatcher, &TransmitWatcher::countChanged, main, &MainWindow::setTxCount);
    QObject::connect(&receiveWatcher, &ReceiveWatcher::countChanged, main, &MainWindow::setRxCount);
    QObject::connect(&transmitWatcher, &TransmitWatcher::transmitted, dialogue,
                     &DialogueWindow::echoTransmitted);
    QObject::connect(
        &receiveWatcher, &ReceiveWatcher::received, dialogue,
        [dialogue](const QByteArray &data, const QDateTime &time) { dialogue->echoReceived(data, time); });
    QObject::connect(
        &receiveWatcher, &ReceiveWatcher::received, &frameWatcher,
        [&frameWatcher](const QByteArray &data, const QDateTime &) { frameWatcher.inputData(data); },
        Qt::DirectConnection);

    // Picking in the echo view and the values it shows.
    QObject::connect(dialogue, &DialogueWindow::interpretDataChanged, main, &MainWindow::interpretHex);
    QObject::connect(interpret, &InterpretWindow::interpretTriggerChanged, dialogue,
                     &DialogueWindow::setInterpretTrigger);
    QObject::connect(interpret, &InterpretWindow::interpretToggled, dialogue,
                     &DialogueWindow::setInterpretEnabled);

    // Texts passed between the transmit window, the history and the
    // instruct set; the window that takes one is shown.
    QObject::connect(transmit, &TransmitWindow::textSent, history, &HistoryWindow::record);
    QObject::connect(transmit, &TransmitWindow::addToInstructSetRequested, instructs,
                     [main, instructs](const QString &text, int textMode) {
                         instructs->add(text, textMode);
                         // The set may be hidden or behind another tab.
                         main->presentDock(main->instructSetDock());
                     });
    QObject::connect(instructs, &InstructSetWindow::transmitTextRequested, transmit,
                     [main, transmit](const QString &text, int textMode) {
                         transmit->setTransmitText(text, textMode);
                         main->presentDock(main->transmitDock());
                     });

    // A protocol-set row opens its file in the protocol editor.
    QObject::connect(window.protocolSetWindow(), &TxProtocolSetWindow::protocolFileOpenRequested, main,
                     &MainWindow::openProtocolFile);
}

void connectTimingWatcher(ChannelProxy &proxy, TimingWatcher &watcher)
{
    // The state change comes through the same queue as the writes, so the
    // first write of a sending finds the watcher started.
    QObject::connect(&proxy, &ChannelProxy::periodSendStateChanged, &watcher,
                     &TimingWatcher::periodSendStateChanged);
    // A closed channel ends its sending's figures, though it tells no stop.
    QObject::connect(&proxy, &ChannelProxy::stateChanged, &watcher,
                     [&watcher](ChannelType, ChanneState state) {
                         if (state == Closed)
                             watcher.periodSendStateChanged(false);
                     });
    QObject::connect(&proxy, &ChannelProxy::chunkWritten, &watcher,
                     [&watcher](const ChannelChunk &chunk) { watcher.addWritten(chunk.monotonicUs); });
    QObject::connect(&proxy, &ChannelProxy::chunkArrived, &watcher,
                     [&watcher](const ChannelChunk &chunk) { watcher.addArrived(chunk.monotonicUs); });
}
