#pragma once

#include <QList>
#include <QMainWindow>
#include <QPair>
#include <QStringList>

#include <dorvane/app_export.h>

struct Services;
class ChannelProxy;
class NetChannelWidget;
class QButtonGroup;
class QLabel;
class ElidedLabel;
class QStackedWidget;
class SerialChannelWidget;
class WdxInfoBar;

// The dock in which the user chooses and opens the one channel: a serial
// port or a network endpoint. Its status widget, shown in the main window's
// status bar, tells which channel is open, or why the last one failed.
class DORVANE_APP_EXPORT ChannelWindow : public QMainWindow
{
    Q_OBJECT

public:
    explicit ChannelWindow(const Services &services, QWidget *parent = nullptr);
    ~ChannelWindow() override;

    WdxInfoBar *statusWidget() const { return m_statusWidget; }
    void updateChannelStatus(bool isOpen);

    SerialChannelWidget *serialWidget() const { return m_serialWidget; }
    NetChannelWidget *netWidget() const { return m_netWidget; }
    QStackedWidget *pages() const { return m_pages; }

    QString statusText() const;
    // The reason the last channel failed; empty once a channel opens.
    QString statusError() const;

    // Forgets the reason the last channel failed or ended.
    void clearChannelNotes();

    // What the open serial port cannot do, and the rate its driver really
    // set when it differs; empty when there is nothing to say.
    QString lineNote() const;

private:
    ChannelProxy &m_channel;
    // Shows the reason in the status bar (an empty one hides it), and in a
    // warning box as well when asked.
    void showChannelError(const QString &message, bool warn);
    void onLineUnavailable(const QString &what, const QString &reason);
    void onBaudRateMismatch(qint32 requested, qint32 actual);
    void onReconnectingChanged(bool reconnecting);
    void showLineNote();
    void clearLineNote();

    SerialChannelWidget *m_serialWidget = nullptr;
    NetChannelWidget *m_netWidget = nullptr;
    QStackedWidget *m_pages = nullptr;
    QButtonGroup *m_pageButtons = nullptr;

    WdxInfoBar *m_statusWidget = nullptr;
    QLabel *m_statusIcon = nullptr;
    ElidedLabel *m_statusText = nullptr;
    ElidedLabel *m_statusError = nullptr;
    ElidedLabel *m_statusNote = nullptr;
    // What the port cannot do and why, in the order it said them.
    QList<QPair<QString, QString>> m_unavailable;
    QString m_baudNote;
};
