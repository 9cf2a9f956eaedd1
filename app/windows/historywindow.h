#pragma once

#include <QMainWindow>

#include <dorvane/app_export.h>

// The texts sent so far, ready to be sent again.
// Until the window itself is built it shows an empty workspace, so that the
// main window's docks and tool bar are complete.
class DORVANE_APP_EXPORT HistoryWindow : public QMainWindow
{
    Q_OBJECT

public:
    explicit HistoryWindow(QWidget *parent = nullptr);

    // Keeps a text the transmit window has just sent.
    void record(const QString &content, int textMode);
};
