#include <dorvane/wdxseparator.h>

#include <QFontMetrics>
#include <QPainter>

WdxSeparator::WdxSeparator(QWidget *parent)
    : WdxSeparator(QString(), parent)
{
}

WdxSeparator::WdxSeparator(const QString &title, QWidget *parent)
    : QWidget(parent)
    , m_title(title)
    , m_font(font())
{
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    if (m_font.pointSizeF() > 0)
        m_font.setPointSizeF(m_font.pointSizeF() * 0.9);
    else if (m_font.pixelSize() > 0)
        m_font.setPixelSize(qMax(1, int(m_font.pixelSize() * 0.9)));
}

void WdxSeparator::setTitle(const QString &title)
{
    m_title = title;
    update();
}

void WdxSeparator::setTitleFont(const QFont &font)
{
    m_font = font;
    update();
}

void WdxSeparator::setTextColor(const QColor &c)
{
    m_textColor = c;
    update();
}

void WdxSeparator::setTextBackgroundColor(const QColor &c)
{
    m_textBackgroundColor = c;
    update();
}

void WdxSeparator::setLineColor(const QColor &c)
{
    m_lineColor = c;
    update();
}

QSize WdxSeparator::sizeHint() const
{
    return QSize(64, 20);
}

void WdxSeparator::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    const QRect area = rect();
    int lineStart = area.left();
    if (!m_title.isEmpty()) {
        const int titleWidth = QFontMetrics(m_font).horizontalAdvance(m_title);
        const QRect box(area.left(), area.top(), titleWidth + 6, area.height());
        if (m_textBackgroundColor.isValid())
            painter.fillRect(box, m_textBackgroundColor);
        if (m_textColor.isValid()) {
            painter.setFont(m_font);
            painter.setPen(m_textColor);
            painter.drawText(box, Qt::AlignCenter | Qt::TextSingleLine, m_title);
        }
        lineStart = area.left() + titleWidth + 11;
    }
    const int y = area.center().y() + 1;
    painter.setPen(m_lineColor);
    painter.drawLine(lineStart, y, area.right(), y);
}
