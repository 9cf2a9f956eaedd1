#pragma once

class ChannelProxy;
class MainWindow;
class ReceiveWatcher;
class RxFrameWatcher;
class TimingWatcher;
class TransmitWatcher;

// The one place where windows meet each other and the watchers meet the
// windows: every such arrow is a signal connected here, so no window needs
// to know another. Called once, after the main window is built.
void connectWorkbench(MainWindow &window, TransmitWatcher &transmitWatcher, ReceiveWatcher &receiveWatcher,
                      RxFrameWatcher &frameWatcher);

// Feeds the timing watcher with the proxy's periodic-sending state and the
// stamps of every chunk written and received.
void connectTimingWatcher(ChannelProxy &proxy, TimingWatcher &watcher);
