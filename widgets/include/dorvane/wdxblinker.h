#pragma once

#include <QObject>
#include <QPointer>
#include <QWidget>

#include <dorvane/wdxwidgets_export.h>

class QTimer;
class WdxBlinkPolicy;

// Drives a blink policy on a widget: each count has two phases of one interval each. The first count
// starts the blink, the counts after it blink, and the last count (when limited) finishes it.
class WDXWIDGETS_EXPORT WdxBlinker : public QObject
{
    Q_OBJECT

public:
    enum State { Idle = 0, Running = 1, Finished = 2 };
    Q_ENUM(State)

    explicit WdxBlinker(QObject *parent = nullptr);
    // Neither the widget nor the policy is owned.
    WdxBlinker(QWidget *widget, WdxBlinkPolicy *policy, QObject *parent = nullptr);
    ~WdxBlinker() override;

    // Null restores the built-in policy, which does nothing.
    void setBlinkPolicy(WdxBlinkPolicy *policy);
    WdxBlinkPolicy *blinkPolicy() const { return m_policy; }
    void setWidget(QWidget *widget) { m_widget = widget; }
    QWidget *widget() const { return m_widget; }
    void setInterval(int ms) { m_interval = ms; }
    int interval() const { return m_interval; }
    // -1 blinks until stopped.
    void setBlinkTimes(int times) { m_blinkTimes = times; }
    int blinkTimes() const { return m_blinkTimes; }
    // With restart enabled a stopped blinker returns to idle and can start again, from count 0.
    void enableRestart(bool enable) { m_restartEnabled = enable; }
    bool isRestartEnabled() const { return m_restartEnabled; }

    State state() const { return m_state; }
    int blinkCount() const { return m_count; }
    int phase() const { return m_phase; }
    bool isActive() const;

public slots:
    // Starts when idle; returns whether the blinker runs.
    bool start();
    void stop();

private:
    void tick();

    QPointer<QWidget> m_widget;
    QTimer *m_timer;
    WdxBlinkPolicy *m_policy;
    int m_interval = 250;
    int m_blinkTimes = -1;
    int m_count = 0;
    int m_phase = 0;
    bool m_restartEnabled = false;
    State m_state = Idle;
};
