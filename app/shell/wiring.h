#pragma once

class MainWindow;
class ReceiveWatcher;
class RxFrameWatcher;
class TransmitWatcher;

// The one place where windows meet each other and the watchers meet the
// windows: every such arrow is a signal connected here, so no window needs
// to know another. Called once, after the main window is built.
void connectWorkbench(MainWindow &window, TransmitWatcher &transmitWatcher, ReceiveWatcher &receiveWatcher,
                      RxFrameWatcher &frameWatcher);
