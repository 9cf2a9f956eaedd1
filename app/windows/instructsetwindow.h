#pragma once

#include <QMainWindow>

#include <dorvane/app_export.h>

// Named, ready-made transmit texts kept in instruct-set files.
// Until the window itself is built it shows an empty workspace, so that the
// main window's docks and tool bar are complete.
class DORVANE_APP_EXPORT InstructSetWindow : public QMainWindow
{
    Q_OBJECT

public:
    explicit InstructSetWindow(QWidget *parent = nullptr);

    // Appends an instruct holding the transmit window's text.
    void add(const QString &content, int textMode);
};
