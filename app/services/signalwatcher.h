#pragma once

#include <QObject>

class QSocketNotifier;

// Turns SIGINT and SIGTERM into a signal on the event loop (a byte through a
// socket pair), so a command-line program ends by returning from main: its
// channels close and its files are complete. SIGPIPE is ignored while it lives
// (a reader or peer that goes away ends the output, not the program); the
// destructor restores the default actions of SIGINT and SIGTERM.
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
