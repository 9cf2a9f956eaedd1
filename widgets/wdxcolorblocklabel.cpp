#include <dorvane/wdxcolorblocklabel.h>

#include <QDrag>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>
#include <QPixmap>

WdxColorBlockLabel::WdxColorBlockLabel(QWidget *parent)
    : QLabel(parent)
{
}

void WdxColorBlockLabel::setColor(const QColor &c)
{
    m_color = c;
    update();
    emit colorChanged(c);
}

void WdxColorBlockLabel::setComparisonColor(const QColor &c)
{
    m_comparisonColor = c;
    update();
}

void WdxColorBlockLabel::setDisplayMode(DisplayMode mode)
{
    m_displayMode = mode;
    update();
}

void WdxColorBlockLabel::setBackground(const QBrush &brush)
{
    m_background = brush;
    update();
}

QSize WdxColorBlockLabel::sizeHint() const
{
    return QSize(24, 24);
}

void WdxColorBlockLabel::paintEvent(QPaintEvent *)
{
    QColor opaque = m_color;
    opaque.setAlpha(255);
    QColor left = opaque;
    QColor right = opaque;
    switch (m_displayMode) {
    case NoAlpha:
        break;
    case AllAlpha:
        left = right = m_color;
        break;
    case SplitAlpha:
        right = m_color;
        break;
    case SplitColor:
        left = m_comparisonColor;
        right = m_color;
        break;
    }

    const int halfWidth = (width() - 2) / 2;
    const int innerHeight = height() - 2;
    if (halfWidth <= 0 || innerHeight <= 0)
        return;
    const QRect leftRect(1, 1, halfWidth, innerHeight);
    const QRect rightRect(1 + halfWidth, 1, halfWidth, innerHeight);

    QPainter painter(this);
    if (left.alpha() != 255 || right.alpha() != 255)
        painter.fillRect(leftRect.united(rightRect), m_background);
    painter.fillRect(leftRect, left);
    painter.fillRect(rightRect, right);
}

void WdxColorBlockLabel::mousePressEvent(QMouseEvent *event)
{
    m_pressed = event->button() == Qt::LeftButton;
    QLabel::mousePressEvent(event);
}

void WdxColorBlockLabel::mouseMoveEvent(QMouseEvent *event)
{
    if (m_pressed && (event->buttons() & Qt::LeftButton) && !rect().contains(event->pos())) {
        m_pressed = false;
        startDrag();
        return;
    }
    QLabel::mouseMoveEvent(event);
}

void WdxColorBlockLabel::mouseReleaseEvent(QMouseEvent *event)
{
    m_pressed = false;
    if (rect().contains(event->pos()))
        emit clicked();
    QLabel::mouseReleaseEvent(event);
}

void WdxColorBlockLabel::startDrag()
{
    QMimeData *data = new QMimeData;
    data->setColorData(m_color);
    QPixmap picture(24, 24);
    picture.fill(m_color);
    QDrag *drag = new QDrag(this);
    drag->setMimeData(data);
    drag->setPixmap(picture);
    drag->exec(Qt::MoveAction);
}
