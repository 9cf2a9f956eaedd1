#pragma once

#include <QMainWindow>

#include <dorvane/app_export.h>

// The running log of the channel's traffic.
// Until the window itself is built it shows an empty workspace, so that the
// main window's docks and tool bar are complete.
class DORVANE_APP_EXPORT DialogueWindow : public QMainWindow
{
    Q_OBJECT

public:
    explicit DialogueWindow(QWidget *parent = nullptr);

signals:
    // Hex text of the bytes picked in the log.
    void interpretDataChanged(const QString &hexstr);
};
