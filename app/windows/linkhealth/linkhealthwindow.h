#pragma once

#include <QPointer>
#include <QWidget>

#include <dorvane/app_export.h>

class ApplicationOptions;
class LinkHealth;
class QLabel;
class QSpinBox;
class QTimer;
class RttHistogram;

// The Link Health window: round trips of requests and their replies, the
// receive protocol's checksum and counter checks, and the UART's error
// counters. Drawn from a timer while it is visible, never per chunk.
class DORVANE_APP_EXPORT LinkHealthWindow : public QWidget
{
    Q_OBJECT

public:
    LinkHealthWindow(LinkHealth *health, ApplicationOptions *options, QWidget *parent = nullptr);
    ~LinkHealthWindow() override;

    // Draws the figures now.
    void refreshNow();
    QString figureText(const char *name) const;

protected:
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;

private:
    QLabel *addFigure(class QGridLayout *grid, int row, int column, const QString &caption, const char *name);
    void loadSettings();
    void saveSettings();

    QPointer<LinkHealth> m_health;
    ApplicationOptions *m_options;
    QTimer *m_refresh = nullptr;
    QSpinBox *m_windowSpin = nullptr;
    RttHistogram *m_histogram = nullptr;
    QLabel *m_rttMin = nullptr;
    QLabel *m_rttP50 = nullptr;
    QLabel *m_rttP99 = nullptr;
    QLabel *m_rttMax = nullptr;
    QLabel *m_replies = nullptr;
    QLabel *m_missing = nullptr;
    QLabel *m_source = nullptr;
    QLabel *m_checksum = nullptr;
    QLabel *m_gaps = nullptr;
    QLabel *m_repeats = nullptr;
    QLabel *m_roleProblem = nullptr;
    QLabel *m_uart[5] = {};
    QLabel *m_uartState = nullptr;
};
