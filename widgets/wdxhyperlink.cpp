#include <dorvane/wdxhyperlink.h>

#include <QDesktopServices>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QUrl>

WdxHyperLink::WdxHyperLink(QWidget *parent)
    : QLabel(parent)
{
    setMouseTracking(true);
    setTextFormat(Qt::PlainText);
    // Style sheets colour the foreground role, so a link takes its colour from "color" as well.
    setForegroundRole(QPalette::Link);
}

WdxHyperLink::WdxHyperLink(const QString &text, const QString &url, QWidget *parent)
    : WdxHyperLink(parent)
{
    setText(text);
    m_url = url;
}

WdxHyperLink::~WdxHyperLink()
{
    // A link destroyed under the pointer still owes the cursor it pushed.
    setHovered(false);
}

void WdxHyperLink::setShowUnderline(bool on)
{
    m_showUnderline = on;
    update();
}

void WdxHyperLink::setHovered(bool hovered)
{
    if (hovered == m_hovered)
        return;
    m_hovered = hovered;
    if (hovered)
        QGuiApplication::setOverrideCursor(QCursor(Qt::PointingHandCursor));
    else
        QGuiApplication::restoreOverrideCursor();
    update();
}

void WdxHyperLink::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    QFont linkFont = font();
    linkFont.setUnderline(m_hovered && m_showUnderline);
    painter.setFont(linkFont);
    painter.setPen(palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, foregroundRole()));
    painter.drawText(contentsRect(), Qt::AlignCenter, text());
}

void WdxHyperLink::mousePressEvent(QMouseEvent *event)
{
    event->accept();
    if (openExternalLinks())
        QDesktopServices::openUrl(QUrl(m_url));
    else
        emit clicked();
}

void WdxHyperLink::enterEvent(QEvent *event)
{
    setHovered(true);
    QLabel::enterEvent(event);
}

void WdxHyperLink::leaveEvent(QEvent *event)
{
    setHovered(false);
    QLabel::leaveEvent(event);
}

void WdxHyperLink::hideEvent(QHideEvent *event)
{
    // A hidden link gets no leave event.
    setHovered(false);
    QLabel::hideEvent(event);
}
