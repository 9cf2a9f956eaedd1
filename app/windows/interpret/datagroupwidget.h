#pragma once

#include <QList>
#include <QStringList>
#include <QWidget>

#include <dorvane/app_export.h>

class QLabel;

// One group of the interpret window: a side bar beside a grid of name and
// value labels, one row per value.
class DORVANE_APP_EXPORT DataGroupWidget : public QWidget
{
    Q_OBJECT

public:
    DataGroupWidget(const QStringList &names, QWidget *parent = nullptr);

    QList<QLabel *> valueLabels() const { return m_values; }

private:
    QList<QLabel *> m_values;
};
