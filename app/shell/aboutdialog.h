#pragma once

#include <QDialog>

#include <dorvane/app_export.h>

// The product's name, version and a way to Qt's own about box.
class DORVANE_APP_EXPORT AboutDialog : public QDialog
{
    Q_OBJECT

public:
    explicit AboutDialog(QWidget *parent = nullptr);
};
