#pragma once

#include <QMainWindow>

#include <dorvane/app_export.h>

// The one top-level window; every workbench window lives in one of its docks.
class DORVANE_APP_EXPORT MainWindow : public QMainWindow
{
    Q_OBJECT

public:
    explicit MainWindow(QWidget *parent = nullptr);
    ~MainWindow() override;

    void openProtocolFile(const QString &path);
    void openProtocolSetFile(const QString &path);
};
