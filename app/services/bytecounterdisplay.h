#pragma once

#include <QObject>

#include <functional>

class QTimer;

// Shows a running byte total in the status bar without redrawing the label
// for every chunk: the total is counted at once, the label follows at most
// every 20 ms. Shared by the two byte watchers.
class ByteCounterDisplay : public QObject
{
    Q_OBJECT

public:
    // show receives the total as an unsigned 32-bit count.
    ByteCounterDisplay(std::function<void(quint32)> show, QObject *parent);

    // The total changed; the label catches up with the next tick.
    void changed(quint64 total);
    // Shows the total now.
    void showNow(quint64 total);

private:
    std::function<void(quint32)> m_show;
    QTimer *m_timer;
    quint64 m_pending = 0;
};
