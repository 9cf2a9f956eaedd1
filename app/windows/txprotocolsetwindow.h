#pragma once

#include <QMainWindow>

#include <dorvane/app_export.h>

// Sends several protocol files of a protocol set in turn.
// Until the window itself is built it shows an empty workspace, so that the
// main window's docks and tool bar are complete.
class DORVANE_APP_EXPORT TxProtocolSetWindow : public QMainWindow
{
    Q_OBJECT

public:
    explicit TxProtocolSetWindow(QWidget *parent = nullptr);

    // Loads a protocol-set file; false when it cannot be read.
    bool open(const QString &path);
    // Asks to save unsaved changes; false when the user cancels.
    bool askSave();
    // Document summary shown in the main window's status bar.
    QWidget *statusWidget() const { return m_statusWidget; }

private:
    QWidget *m_statusWidget = nullptr;
};
