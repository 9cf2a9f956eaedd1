#include <dorvane/wdxclickablelabel.h>

#include <QMouseEvent>

WdxClickableLabel::WdxClickableLabel(QWidget *parent)
    : QLabel(parent)
{
}

WdxClickableLabel::WdxClickableLabel(const QString &text, QWidget *parent)
    : QLabel(text, parent)
{
}

void WdxClickableLabel::mousePressEvent(QMouseEvent *event)
{
    emit clicked();
    event->accept();
}
