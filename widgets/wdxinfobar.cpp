#include <dorvane/wdxinfobar.h>

#include <dorvane/wdx.h>
#include <dorvane/wdxhyperlink.h>

#include <QFrame>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QPushButton>
#include <QSpacerItem>

WdxInfoBar::WdxInfoBar(QWidget *parent)
    : QWidget(parent)
    , m_layout(new QHBoxLayout(this))
{
}

QLabel *WdxInfoBar::addIcon(const QIcon &icon, const QSize &size, const QString &objectName)
{
    QLabel *label = new QLabel(this);
    label->setPixmap(icon.pixmap(size));
    label->setAlignment(Qt::AlignCenter);
    if (!objectName.isEmpty())
        label->setObjectName(objectName);
    m_layout->addWidget(label);
    return label;
}

QLabel *WdxInfoBar::addLabel(const QString &text, int space)
{
    QLabel *label = new QLabel(text, this);
    m_layout->addWidget(label);
    appendSpace(space);
    return label;
}

QLabel *WdxInfoBar::addPairLabel(const QString &caption, const QString &value, int space)
{
    m_layout->addWidget(new QLabel(caption, this));
    QLabel *valueLabel = new QLabel(value, this);
    m_layout->addWidget(valueLabel);
    appendSpace(space);
    return valueLabel;
}

QFrame *WdxInfoBar::addSeparator()
{
    QFrame *line = new QFrame(this);
    line->setFrameShape(QFrame::VLine);
    line->setFrameShadow(QFrame::Sunken);
    line->setFixedWidth(2);
    m_layout->addWidget(line);
    return line;
}

WdxHyperLink *WdxInfoBar::addLink(const QString &text, const QString &url, const QString &objectName)
{
    WdxHyperLink *link = Wdx::createHyperLink(text, url, objectName, this);
    m_layout->addWidget(link);
    return link;
}

QPushButton *WdxInfoBar::addPushButton(const QString &text)
{
    QPushButton *button = new QPushButton(text, this);
    m_layout->addWidget(button);
    return button;
}

QWidget *WdxInfoBar::addSpacer(int width)
{
    return addWidget(Wdx::createSpacerWidget(Qt::Horizontal, width, this));
}

QWidget *WdxInfoBar::addWidget(QWidget *widget)
{
    if (widget)
        m_layout->addWidget(widget);
    return widget;
}

void WdxInfoBar::clearSpace(bool noMargins, bool noSpacing)
{
    if (noMargins)
        m_layout->setContentsMargins(0, 0, 0, 0);
    if (noSpacing)
        m_layout->setSpacing(0);
}

void WdxInfoBar::appendSpace(int space)
{
    if (space > 0)
        m_layout->addSpacerItem(Wdx::createSpacer(Qt::Horizontal, space));
}
