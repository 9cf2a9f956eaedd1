#pragma once

#include <QTableWidget>

#include <dorvane/app_export.h>

// The latest decoded values, one row per measured field: its name, the raw
// value as decoded and the value scaled by the field's coefficient. The
// window sets it from its refresh timer, not per frame.
class DORVANE_APP_EXPORT RxValueTable : public QTableWidget
{
    Q_OBJECT

public:
    explicit RxValueTable(QWidget *parent = nullptr);

    void setFields(const QStringList &names);
    void setValue(int row, const QString &raw, double scaled);
    QString rawText(int row) const;
    QString scaledText(int row) const;

    // Scaled values are shown to the precision that reads back exactly.
    static QString scaledToText(double value);
};
