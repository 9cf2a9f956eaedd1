#include <dorvane/wdxpalettewidget.h>

#include <QMouseEvent>
#include <QPainter>
#include <QStyleOption>

namespace {

const QColor currentOuter(239, 72, 16);
const QColor hoverOuter(242, 148, 54);
const QColor highlightInner(255, 226, 148);
const QColor plainOutline(226, 228, 231);

QList<QColor> standardColors()
{
    return {QColor(255, 0, 0),   QColor(255, 165, 0),   QColor(255, 255, 0), QColor(0, 255, 0),
            QColor(0, 255, 255), QColor(0, 0, 255),     QColor(128, 0, 128), QColor(255, 0, 255),
            QColor(50, 205, 50), QColor(255, 192, 203), QColor(165, 42, 42), QColor(128, 128, 128)};
}

QList<QColor> paintProgramColors()
{
    return {QColor(237, 28, 36),   QColor(255, 127, 39), QColor(255, 242, 0),  QColor(34, 177, 76),
            QColor(0, 162, 232),   QColor(63, 72, 204),  QColor(163, 73, 164), QColor(255, 255, 255),
            QColor(127, 127, 127), QColor(0, 0, 0)};
}

} // namespace

WdxPaletteWidget::WdxPaletteWidget(QWidget *parent)
    : QWidget(parent)
{
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
    setStandardPalette();
}

void WdxPaletteWidget::setStandardPalette()
{
    m_rows = 3;
    m_columns = 4;
    setPalette(standardColors());
    autoAdjustSize();
}

void WdxPaletteWidget::setMsPaintPalette()
{
    m_rows = 2;
    m_columns = 5;
    setPalette(paintProgramColors());
    autoAdjustSize();
}

void WdxPaletteWidget::setPalette(const QList<QColor> &colors)
{
    m_colors = colors;
    m_currentIndex = colors.isEmpty() ? -1 : 0;
    update();
}

void WdxPaletteWidget::setPaletteSize(int rows, int columns)
{
    if (rows < 0 || columns < 0)
        return;
    m_rows = rows;
    m_columns = columns;
    autoAdjustSize();
    update();
}

void WdxPaletteWidget::setBlockSize(const QSize &size)
{
    m_blockSize = size;
    autoAdjustSize();
    update();
}

void WdxPaletteWidget::setMargins(const QMargins &margins)
{
    m_margins = margins;
    autoAdjustSize();
    update();
}

void WdxPaletteWidget::setSpacing(int spacing)
{
    m_spacing = spacing;
    autoAdjustSize();
    update();
}

void WdxPaletteWidget::setScaledContents(bool scaled)
{
    m_scaledContents = scaled;
    if (!scaled)
        setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    autoAdjustSize();
    update();
}

QColor WdxPaletteWidget::currentColor() const
{
    return colorAt(m_currentIndex);
}

void WdxPaletteWidget::setCurrentColor(const QColor &c)
{
    m_currentIndex = m_colors.indexOf(c);
    update();
}

bool WdxPaletteWidget::hasColor(const QColor &c) const
{
    return m_colors.contains(c);
}

int WdxPaletteWidget::blockCount() const
{
    return m_rows * m_columns;
}

QSize WdxPaletteWidget::currentBlockSize() const
{
    if (m_scaledContents || m_rows == 0 || m_columns == 0)
        return m_blockSize;
    const int w = (width() - m_margins.left() - m_margins.right() - (m_columns - 1) * m_spacing) / m_columns;
    const int h = (height() - m_margins.top() - m_margins.bottom() - (m_rows - 1) * m_spacing) / m_rows;
    return QSize(w, h);
}

QRect WdxPaletteWidget::blockRect(int index) const
{
    if (index < 0 || index >= blockCount())
        return QRect();
    const QSize block = currentBlockSize();
    const int row = index / m_columns;
    const int column = index % m_columns;
    return QRect(m_margins.left() + column * (block.width() + m_spacing),
                 m_margins.top() + row * (block.height() + m_spacing), block.width(), block.height());
}

int WdxPaletteWidget::blockAt(const QPoint &pos) const
{
    for (int i = 0; i < blockCount(); ++i) {
        if (blockRect(i).contains(pos))
            return i;
    }
    return -1;
}

QColor WdxPaletteWidget::colorAt(int index) const
{
    if (index < 0 || index >= m_colors.size())
        return QColor(Qt::transparent);
    return m_colors.at(index);
}

void WdxPaletteWidget::autoAdjustSize()
{
    if (!m_scaledContents)
        return;
    const int w = m_columns * m_blockSize.width() + (m_columns - 1) * m_spacing + m_margins.left()
                  + m_margins.right();
    const int h
        = m_rows * m_blockSize.height() + (m_rows - 1) * m_spacing + m_margins.top() + m_margins.bottom();
    setMaximumSize(qMax(0, w), qMax(0, h));
}

QSize WdxPaletteWidget::sizeHint() const
{
    return QSize(180, 200);
}

void WdxPaletteWidget::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    QStyleOption option;
    option.initFrom(this);
    style()->drawPrimitive(QStyle::PE_Widget, &option, &painter, this);

    for (int i = 0; i < blockCount(); ++i) {
        const QRect block = blockRect(i).adjusted(0, 0, -1, -1);
        if (block.isEmpty())
            continue;
        painter.fillRect(block, colorAt(i));
        painter.setBrush(Qt::NoBrush);
        if (i == m_currentIndex || i == m_hoverIndex) {
            painter.setPen(i == m_currentIndex ? currentOuter : hoverOuter);
            painter.drawRect(block);
            painter.setPen(highlightInner);
            painter.drawRect(block.adjusted(1, 1, -1, -1));
        } else {
            painter.setPen(plainOutline);
            painter.drawRect(block);
        }
    }
}

void WdxPaletteWidget::mouseMoveEvent(QMouseEvent *event)
{
    const int index = blockAt(event->pos());
    if (index != m_hoverIndex) {
        m_hoverIndex = index;
        update();
    }
    QWidget::mouseMoveEvent(event);
}

void WdxPaletteWidget::mouseReleaseEvent(QMouseEvent *event)
{
    if (m_hoverIndex != -1 && m_hoverIndex != m_currentIndex && rect().contains(event->pos())) {
        m_currentIndex = m_hoverIndex;
        update();
        emit currentColorChanged(currentColor());
    }
    QWidget::mouseReleaseEvent(event);
}

void WdxPaletteWidget::leaveEvent(QEvent *event)
{
    if (m_hoverIndex != -1) {
        m_hoverIndex = -1;
        update();
    }
    QWidget::leaveEvent(event);
}
