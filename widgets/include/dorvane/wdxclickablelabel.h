#pragma once

#include <QLabel>

#include <dorvane/wdxwidgets_export.h>

// A label that emits clicked on a mouse press.
class WDXWIDGETS_EXPORT WdxClickableLabel : public QLabel
{
    Q_OBJECT

public:
    explicit WdxClickableLabel(QWidget *parent = nullptr);
    explicit WdxClickableLabel(const QString &text, QWidget *parent = nullptr);

signals:
    void clicked();

protected:
    void mousePressEvent(QMouseEvent *event) override;
};
