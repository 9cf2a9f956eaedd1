#include "windows/common/elidedlabel.h"

#include <QPainter>
#include <QStyle>

ElidedLabel::ElidedLabel(const QString &text, QWidget *parent)
    : QLabel(parent)
{
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Preferred);
    setText(text);
}

void ElidedLabel::setText(const QString &text)
{
    QLabel::setText(text);
    // The tool tip is only worth having when something is cut.
    setToolTip(text);
    updateGeometry();
}

QString ElidedLabel::shownText() const
{
    return fontMetrics().elidedText(text(), Qt::ElideRight, contentsRect().width());
}

QSize ElidedLabel::minimumSizeHint() const
{
    // Room for a few characters and the ellipsis, whatever the text.
    return QSize(fontMetrics().horizontalAdvance(QStringLiteral("Xxxx…")),
                 QLabel::minimumSizeHint().height());
}

QSize ElidedLabel::sizeHint() const
{
    const QMargins margins = contentsMargins();
    return QSize(fontMetrics().horizontalAdvance(text()) + margins.left() + margins.right() + 2,
                 QLabel::sizeHint().height());
}

void ElidedLabel::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    style()->drawItemText(&painter, contentsRect(), int(alignment() | Qt::AlignVCenter), palette(),
                          isEnabled(), shownText(), foregroundRole());
}
