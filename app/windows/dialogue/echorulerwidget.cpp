#include "windows/dialogue/echorulerwidget.h"

#include "windows/dialogue/echotextedit.h"

#include <QFontMetrics>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QStyle>
#include <QStyleOption>

namespace {

// The band around the origin in which the pointer grabs it.
const int kOriginBand = 60;

} // namespace

EchoRulerWidget::EchoRulerWidget(EchoTextEdit *edit, QWidget *parent)
    : QWidget(parent)
    , m_edit(edit)
{
    setMouseTracking(true);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    QScrollBar *bar = m_edit->horizontalScrollBar();
    connect(bar, &QScrollBar::valueChanged, this, [this](int value) {
        m_scrollOffset = value;
        update();
    });
    connect(bar, &QScrollBar::rangeChanged, this, [this] { updateRulerWidth(); });
    m_scrollOffset = bar->value();
    updateRulerWidth();
}

QSize EchoRulerWidget::sizeHint() const
{
    return QSize(200, 23);
}

void EchoRulerWidget::setFillColor(const QColor &color)
{
    m_fillColor = color;
    update();
}

void EchoRulerWidget::setTickColor(const QColor &color)
{
    m_tickColor = color;
    update();
}

void EchoRulerWidget::setNoniusColor(const QColor &color)
{
    m_noniusColor = color;
    update();
}

void EchoRulerWidget::setTickStyle(int style)
{
    m_tickStyle = style == 0 ? 0 : 1;
    update();
}

int EchoRulerWidget::cellWidth() const
{
    return qMax(1, QFontMetrics(m_edit->font()).horizontalAdvance(QStringLiteral("FFF")));
}

void EchoRulerWidget::clearNoniuses()
{
    while (!m_noniuses.isEmpty()) {
        const int index = m_noniuses.size() - 1;
        m_noniuses.removeAt(index);
        emit noniusDeleted(index);
    }
    m_draggedNonius = -1;
    update();
}

void EchoRulerWidget::updateRulerWidth()
{
    m_rulerWidth = qMax(width(), m_edit->width() + m_edit->horizontalScrollBar()->maximum());
    update();
}

void EchoRulerWidget::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    updateRulerWidth();
}

int EchoRulerWidget::noniusAt(const QPoint &pos) const
{
    const QPoint content(contentX(pos), pos.y());
    for (int i = 0; i < m_noniuses.size(); ++i) {
        if (m_noniuses.at(i).rect.contains(content))
            return i;
    }
    return -1;
}

void EchoRulerWidget::drawNonius(QPainter &painter, const Nonius &nonius) const
{
    painter.fillRect(nonius.rect, m_noniusColor);
    if (!nonius.text.isEmpty())
        painter.drawText(nonius.rect, Qt::AlignCenter, nonius.text);
}

void EchoRulerWidget::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    QStyleOption option;
    option.initFrom(this);
    style()->drawPrimitive(QStyle::PE_Widget, &option, &painter, this);

    painter.translate(-m_scrollOffset, 0);
    painter.fillRect(QRect(0, 0, m_rulerWidth, height()), m_fillColor);

    const int cell = cellWidth();
    const int cellHeight = qMax(1, height() - 4);
    QFont numberFont(m_edit->font().family(), 9, QFont::Normal);
    painter.setFont(numberFont);
    const int firstVisible = m_scrollOffset;
    const int lastVisible = m_scrollOffset + width();
    int k = 1;
    for (int x = m_originOffset; x < m_rulerWidth; x += cell, ++k) {
        if (x + cell < firstVisible)
            continue;
        if (x > lastVisible)
            break;
        const QRect box(x, 2, cell, cellHeight);
        if (m_tickStyle == 1) {
            painter.setPen(m_tickColor);
            painter.drawLine(x, 2 + cellHeight / 4, x, 2 + cellHeight * 3 / 4);
        } else {
            painter.fillRect(box.adjusted(1, 0, -1, 0), QColor(Qt::lightGray));
        }
        painter.setPen(m_tickColor);
        painter.drawText(box, Qt::AlignCenter, QString::number(k));
    }

    for (int i = 0; i < m_noniuses.size(); ++i) {
        if (i != m_draggedNonius)
            drawNonius(painter, m_noniuses.at(i));
    }
    if (m_draggedNonius >= 0 && m_draggedNonius < m_noniuses.size())
        drawNonius(painter, m_noniuses.at(m_draggedNonius));

    m_edit->viewport()->update();
}

void EchoRulerWidget::mouseDoubleClickEvent(QMouseEvent *event)
{
    if (noniusAt(event->pos()) >= 0)
        return;
    const int w = fontMetrics().horizontalAdvance(QStringLiteral("FF"));
    int x = rect().left() + contentX(event->pos()) - w / 2;
    if (m_scrollOffset == 0 && x < rect().left())
        x = rect().left();
    const QRect marker(x, rect().top() + 2, w, height() - 4);
    m_noniuses.append({marker, QString()});
    update();
    emit noniusCreated(marker);
}

void EchoRulerWidget::mousePressEvent(QMouseEvent *event)
{
    grabMouse();
    if (event->button() == Qt::LeftButton) {
        m_lastPos = QPoint(contentX(event->pos()), event->pos().y());
        m_draggedNonius = noniusAt(event->pos());
    } else if (event->button() == Qt::RightButton) {
        const int index = noniusAt(event->pos());
        if (index >= 0) {
            m_noniuses.removeAt(index);
            m_draggedNonius = -1;
            update();
            emit noniusDeleted(index);
        }
    }
}

void EchoRulerWidget::mouseMoveEvent(QMouseEvent *event)
{
    const QPoint content(contentX(event->pos()), event->pos().y());
    if (event->buttons() & Qt::LeftButton) {
        const int dx = content.x() - m_lastPos.x();
        if (m_draggedNonius >= 0 && m_draggedNonius < m_noniuses.size()) {
            QRect &marker = m_noniuses[m_draggedNonius].rect;
            const int half = marker.width() / 2;
            const int left = qBound(rect().left() - half, marker.left() + dx, m_rulerWidth + half);
            marker.moveLeft(left);
            m_lastPos = content;
            update();
            emit noniusMoved(m_draggedNonius, marker);
        } else if (m_originGrabbed) {
            m_originOffset = qMax(rect().left(), m_originOffset + dx);
            m_lastPos = content;
            update();
        }
        return;
    }
    if (event->buttons() == Qt::NoButton && noniusAt(event->pos()) < 0) {
        m_originGrabbed = qAbs(content.x() - m_originOffset) <= kOriginBand / 2;
        setCursor(m_originGrabbed ? Qt::SizeHorCursor : Qt::ArrowCursor);
    }
}

void EchoRulerWidget::mouseReleaseEvent(QMouseEvent *)
{
    releaseMouse();
}
