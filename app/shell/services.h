#pragma once

class ApplicationOptions;
class ChannelProxy;
class Context;
class LinkHealth;
class PeriodSendController;
class RxFrameWatcher;
class StreamSender;
class TimingWatcher;

// What the application builds at start-up and hands to the windows through
// their constructors; each window keeps only what it uses. Everything here
// outlives every window (the application tears the windows down first).
struct Services
{
    ApplicationOptions &options;
    Context &context;
    ChannelProxy &channel;
    PeriodSendController &periodSend;
    StreamSender &protocolSetSender;
    StreamSender &protocolEditorSender;
    StreamSender &transmitSender;
    RxFrameWatcher &frameWatcher;
    TimingWatcher &timingWatcher;
    LinkHealth *linkHealth = nullptr;
};
