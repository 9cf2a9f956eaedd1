#include <dorvane/wdxblankwidget.h>

#include <QFontMetrics>
#include <QPainter>
#include <QStyleOption>
#include <QSvgRenderer>

namespace {

// Gap between the picture and the text, and the room kept beside the text.
const int textGap = 15;
const int textSideRoom = 10;
const int largestFontSize = 40;

QFont fontAt(int pixelSize)
{
    QFont font(QStringLiteral("Consolas"));
    font.setStyleHint(QFont::Monospace);
    if (pixelSize > 0)
        font.setPixelSize(pixelSize);
    return font;
}

} // namespace

WdxBlankWidget::WdxBlankWidget(QWidget *parent)
    : QWidget(parent)
{
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
}

WdxBlankWidget::~WdxBlankWidget() = default;

void WdxBlankWidget::setPixmap(const QPixmap &pixmap)
{
    m_pixmap = pixmap;
    m_scaledPixmap = QPixmap();
    updateLayout();
    update();
}

bool WdxBlankWidget::setSvg(const QString &fileName)
{
    if (!m_svg)
        m_svg = new QSvgRenderer(this);
    const bool valid = m_svg->load(fileName);
    updateLayout();
    update();
    return valid;
}

bool WdxBlankWidget::hasValidSvg() const
{
    return m_svg && m_svg->isValid();
}

void WdxBlankWidget::setText(const QString &text)
{
    m_text = text;
    updateLayout();
    update();
}

void WdxBlankWidget::setDrawBackground(bool on)
{
    m_drawBackground = on;
    update();
}

bool WdxBlankWidget::hasPicture() const
{
    return hasValidSvg() || !m_pixmap.isNull();
}

QFont WdxBlankWidget::textFont() const
{
    return fontAt(m_fontPixelSize);
}

QRect WdxBlankWidget::textRect() const
{
    if (m_pictureRect.isNull())
        return rect();
    return QRect(0, m_pictureRect.bottom() + 1 + textGap, width(), m_fontPixelSize);
}

void WdxBlankWidget::updateLayout()
{
    m_fontPixelSize = 0;
    if (!m_text.isEmpty()) {
        const int room = width() - textSideRoom;
        for (int size = largestFontSize; size >= 1; --size) {
            m_fontPixelSize = size;
            if (QFontMetrics(fontAt(size)).horizontalAdvance(m_text) < room)
                break;
        }
    }

    m_pictureRect = QRect();
    if (hasPicture()) {
        const int r = int(0.2 * qMin(width(), height() - textGap - m_fontPixelSize));
        if (r > 0) {
            const QPoint centre(width() / 2, height() / 2 - m_fontPixelSize - textGap);
            m_pictureRect = QRect(centre.x() - r, centre.y() - r, 2 * r, 2 * r);
        }
    }

    if (!hasValidSvg() && !m_pixmap.isNull() && !m_pictureRect.isNull()) {
        const QSize fitted = m_pixmap.size().scaled(m_pictureRect.size(), Qt::KeepAspectRatio);
        if (m_pixmap.size() == m_pictureRect.size())
            m_scaledPixmap = m_pixmap;
        else if (m_scaledPixmap.size() != fitted)
            m_scaledPixmap
                = m_pixmap.scaled(m_pictureRect.size(), Qt::KeepAspectRatio, Qt::SmoothTransformation);
    }
}

void WdxBlankWidget::resizeEvent(QResizeEvent *event)
{
    updateLayout();
    QWidget::resizeEvent(event);
}

void WdxBlankWidget::paintEvent(QPaintEvent *)
{
    if (!m_drawBackground)
        return;
    QPainter painter(this);
    QStyleOption option;
    option.initFrom(this);
    style()->drawPrimitive(QStyle::PE_Widget, &option, &painter, this);

    if (!m_pictureRect.isNull()) {
        if (hasValidSvg()) {
            m_svg->render(&painter, m_pictureRect);
        } else if (!m_scaledPixmap.isNull()) {
            QRect target(QPoint(), m_scaledPixmap.size());
            target.moveCenter(m_pictureRect.center());
            painter.drawPixmap(target, m_scaledPixmap);
        }
    }

    if (m_fontPixelSize > 0) {
        painter.setFont(textFont());
        painter.setPen(QColor(122, 122, 122));
        painter.drawText(textRect(), Qt::AlignCenter | Qt::TextSingleLine, m_text);
    }
}
