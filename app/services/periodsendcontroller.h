#pragma once

#include <QObject>
#include <QString>

class ChannelProxy;
class ChannelTracker;
class StreamSender;

// The one place that decides about periodic sending, for every window that
// offers it (the transmit window, the protocol editor's build bar, the
// protocol-set window and its rows): starts it for an owner, lets only that
// owner stop it, and tells the others who owns it so they can refuse.
//
// The channel tracker remembers the owner; the channel's own word is what
// counts. A channel that ends (closed by the user, or its device gone) ends
// its periodic sending with it: every owner hears stateChanged(owner, false)
// and shows its idle look again, and a press after reopening starts anew.
// GUI thread only.
class PeriodSendController : public QObject
{
    Q_OBJECT

public:
    PeriodSendController(ChannelProxy *proxy, ChannelTracker *tracker, QObject *parent = nullptr);

    // Some periodic sending runs.
    bool runs();
    // The periodic sending that runs is this owner's.
    bool runsFor(const QObject *owner);
    // Who owns the running periodic sending (null when none runs or its
    // owner went away), and the name the refusal notice shows.
    QObject *owner();
    QString ownerDescription() const;

    // Stops the periodic sending when it is the owner's; false otherwise.
    bool stop(const QObject *owner);
    // Starts periodic sending of what the sender has selected; false, with
    // nothing changed, while another periodic sending runs or no channel is
    // open. The caller shows the refusal (noticePeriodSendBusy).
    bool start(QObject *owner, const QString &description, StreamSender *sender, int interval);

signals:
    // The owner's periodic sending started or ended: its Send/Stop look.
    void stateChanged(QObject *owner, bool running);

private:
    // Brings the tracker into step with the channel, which may have ended
    // its sending without a word (a channel that closed under it).
    void syncWithChannel();

    ChannelProxy *m_proxy;
    ChannelTracker *m_tracker;
};
