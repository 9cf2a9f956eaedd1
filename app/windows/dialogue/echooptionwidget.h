#pragma once

#include <QWidget>

#include <dorvane/app_export.h>

class EchoTextEdit;

// The label options of the echo view, in the drop-down of the tool bar's
// timestamp button. Every box writes straight to the view.
class DORVANE_APP_EXPORT EchoOptionWidget : public QWidget
{
    Q_OBJECT

public:
    explicit EchoOptionWidget(EchoTextEdit *edit, QWidget *parent = nullptr);
};
