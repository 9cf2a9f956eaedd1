#pragma once

#include <QObject>

class QSocketNotifier;

// Turns SIGINT and SIGTERM into a signal on the event loop (a byte through a
// socket pair), so the program ends by returning from main: transports close
// and the pseudo-terminal's symlink is removed.
class SignalWatcher : public QObject
{
    Q_OBJECT

public:
    explicit SignalWatcher(QObject *parent = nullptr);
    ~SignalWatcher() override;

    bool isValid() const { return m_notifier != nullptr; }

signals:
    void stopRequested(int signalNumber);

private:
    QSocketNotifier *m_notifier = nullptr;
};
