#pragma once

#include <QLabel>

#include <dorvane/app_export.h>

// A one-line status text that takes the room it is given and no more: what
// does not fit ends in "…", and the tool tip holds the whole text. text()
// is always the whole text.
class DORVANE_APP_EXPORT ElidedLabel : public QLabel
{
    Q_OBJECT

public:
    explicit ElidedLabel(const QString &text = QString(), QWidget *parent = nullptr);

    void setText(const QString &text);
    // The text as it is drawn at the present width.
    QString shownText() const;

    QSize minimumSizeHint() const override;
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;
};
