#include <dorvane/wdxstatusbar.h>

#include <dorvane/wdx.h>
#include <dorvane/wdxhyperlink.h>

#include <QIcon>
#include <QLabel>

WdxStatusBar::WdxStatusBar(QWidget *parent)
    : QStatusBar(parent)
{
}

QLabel *WdxStatusBar::addIcon(const QIcon &icon, const QSize &size, bool permanent, const QString &objectName)
{
    QLabel *label = new QLabel(this);
    label->setPixmap(icon.pixmap(size));
    label->setAlignment(Qt::AlignCenter);
    if (!objectName.isEmpty())
        label->setObjectName(objectName);
    place(label, permanent);
    return label;
}

WdxHyperLink *WdxStatusBar::addLink(const QString &text, const QString &url, bool permanent,
                                    const QString &objectName)
{
    WdxHyperLink *link = Wdx::createHyperLink(text, url, objectName, this);
    place(link, permanent);
    return link;
}

QWidget *WdxStatusBar::addSpacer(int width, bool permanent)
{
    QWidget *spacer = Wdx::createSpacerWidget(Qt::Horizontal, width, this);
    place(spacer, permanent);
    return spacer;
}

void WdxStatusBar::place(QWidget *widget, bool permanent)
{
    if (permanent)
        addPermanentWidget(widget);
    else
        addWidget(widget);
}
