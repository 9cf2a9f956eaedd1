#pragma once

#include <QMainWindow>

#include <dorvane/app_export.h>

// Composes hex or text data and sends it once or periodically.
// Until the window itself is built it shows an empty workspace, so that the
// main window's docks and tool bar are complete.
class DORVANE_APP_EXPORT TransmitWindow : public QMainWindow
{
    Q_OBJECT

public:
    explicit TransmitWindow(QWidget *parent = nullptr);

    // Replaces the editor's text; mode 0 selects hex input, 1 text input.
    void setTransmitText(const QString &text, int mode);
};
