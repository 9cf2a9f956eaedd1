#pragma once

#include <QLabel>

#include <dorvane/app_export.h>

// Caption of a group of controls in the channel parameter widgets; the
// style sheets give it its look by class name.
class DORVANE_APP_EXPORT GroupLabel : public QLabel
{
    Q_OBJECT

public:
    explicit GroupLabel(const QString &text, QWidget *parent = nullptr);
};
