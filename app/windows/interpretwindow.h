#pragma once

#include <QByteArray>
#include <QMainWindow>

#include <dorvane/app_export.h>

// Shows picked bytes read as every common binary type.
// Until the window itself is built it shows an empty workspace, so that the
// main window's docks and tool bar are complete.
class DORVANE_APP_EXPORT InterpretWindow : public QMainWindow
{
    Q_OBJECT

public:
    explicit InterpretWindow(QWidget *parent = nullptr);

    // The bytes to interpret; empty input is ignored.
    void setData(const QByteArray &bytes);
    QByteArray data() const { return m_data; }

private:
    QByteArray m_data;
};
