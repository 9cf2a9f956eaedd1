#pragma once

#include <QObject>
#include <QPointer>
#include <QString>

#include <dorvane/app_export.h>

class ChannelProxy;

// Remembers which window (or protocol-set row) started the periodic sending,
// so that only that one may stop it and the others can name it when they are
// refused.
class DORVANE_APP_EXPORT ChannelTracker : public QObject
{
    Q_OBJECT

public:
    explicit ChannelTracker(ChannelProxy *proxy, QObject *parent = nullptr);

    // Refused (false, nothing changed) while periodic sending runs.
    bool track(QObject *sender, const QString &description);

    bool running() const { return m_running; }
    // The channel's periodic sending is over (its channel ended): the owner
    // hears that it stopped, as when it stops itself.
    void endPeriodSend();
    QObject *trackedSender() const { return m_trackedSender; }
    QString trackedDescription() const { return m_trackedDescription; }

signals:
    void periodSendStateChanged(QObject *sender, bool isRun);

private:
    void onPeriodSendStateChanged(bool state);

    bool m_running = false;
    // A row object may go away while it is still the tracked one; a guarded
    // pointer never hands a dangling sender to the listeners.
    QPointer<QObject> m_trackedSender;
    QString m_trackedDescription;
};
