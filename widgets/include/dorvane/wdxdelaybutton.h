#pragma once

#include <QPushButton>

#include <dorvane/wdxwidgets_export.h>

class QTimer;

// A push button that holds back after a click for the click interval: it can disable itself meanwhile,
// count down in its text, and emit clicked at once or when the interval has passed.
class WDXWIDGETS_EXPORT WdxDelayButton : public QPushButton
{
    Q_OBJECT
    Q_PROPERTY(int clickInterval READ clickInterval WRITE setClickInterval)
    Q_PROPERTY(int countdownInterval READ countdownInterval WRITE setCountdownInterval)
    Q_PROPERTY(ClickMode clickMode READ clickMode WRITE setClickMode)
    Q_PROPERTY(bool autoDisable READ isAutoDisable WRITE setAutoDisable)

public:
    enum ClickMode {
        ImmediateClick = 0, // clicked on the release, then the button rests
        DelayedClick = 1    // clicked when the click interval has passed
    };
    Q_ENUM(ClickMode)

    explicit WdxDelayButton(QWidget *parent = nullptr);
    WdxDelayButton(int clickInterval, int countdownInterval, bool autoDisable, QWidget *parent = nullptr);

    // Below 1 the button behaves like an ordinary push button.
    void setClickInterval(int ms) { m_clickInterval = ms; }
    int clickInterval() const { return m_clickInterval; }
    void setClickMode(ClickMode mode) { m_clickMode = mode; }
    ClickMode clickMode() const { return m_clickMode; }
    void setAutoDisable(bool on) { m_autoDisable = on; }
    bool isAutoDisable() const { return m_autoDisable; }
    // Above 0 the text counts the remaining time down at this interval; the current text becomes the
    // base text the countdown is appended to.
    void setCountdownInterval(int ms);
    int countdownInterval() const { return m_countdownInterval; }
    QString baseText() const { return m_baseText; }
    // Whether a click waits for the delay to pass.
    bool isPending() const { return m_pending; }
    bool isDelaying() const;

protected:
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    void onDelayTimeout();
    void onCountdownTick();
    void showCountdown(int ms);

    int m_clickInterval = 0;
    int m_countdownInterval = 0;
    ClickMode m_clickMode = ImmediateClick;
    bool m_autoDisable = true;
    bool m_pending = false;
    QTimer *m_delayTimer;
    QTimer *m_countdownTimer = nullptr;
    QString m_baseText;
};
