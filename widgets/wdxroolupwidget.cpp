#include <dorvane/wdxroolupwidget.h>

#include <QHBoxLayout>
#include <QLabel>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>

namespace {

struct RollupIcons
{
    QIcon expand{QStringLiteral(":/Resources/images/expand.png")};
    QIcon collapse{QStringLiteral(":/Resources/images/collapse.png")};
};

// Loaded with the first roll-up widget, shared by all.
const RollupIcons &rollupIcons()
{
    static const RollupIcons icons;
    return icons;
}

} // namespace

WdxRoolupWidget::WdxRoolupWidget(QWidget *parent)
    : WdxRoolupWidget(tr("Untitled"), parent)
{
}

WdxRoolupWidget::WdxRoolupWidget(const QString &title, QWidget *parent)
    : QWidget(parent)
    , m_iconLabel(new QLabel(this))
    , m_titleLabel(new QLabel(title, this))
    , m_rollupButton(new QToolButton(this))
    , m_bodyLayout(new QVBoxLayout)
{
    m_iconLabel->setFixedSize(16, 16);
    m_iconLabel->setScaledContents(true);
    m_iconLabel->hide();
    m_titleLabel->setObjectName(QStringLiteral("TitleLabel"));
    m_rollupButton->setObjectName(QStringLiteral("RollupButton"));
    m_rollupButton->setAutoRaise(true);
    m_rollupButton->setIcon(expandIcon());
    connect(m_rollupButton, &QToolButton::clicked, this, [this] { setExpand(!m_expanded); });

    QHBoxLayout *titleLayout = new QHBoxLayout;
    titleLayout->setContentsMargins(0, 0, 0, 0);
    titleLayout->addWidget(m_iconLabel);
    titleLayout->addWidget(m_titleLabel, 1);
    titleLayout->addWidget(m_rollupButton);

    QVBoxLayout *layout = new QVBoxLayout(this);
    layout->addLayout(titleLayout);
    layout->addLayout(m_bodyLayout);
}

WdxRoolupWidget::~WdxRoolupWidget()
{
    // The body widgets die with the base class, after these lists; they must not report back.
    unwatchAll();
}

QIcon WdxRoolupWidget::expandIcon()
{
    return rollupIcons().expand;
}

QIcon WdxRoolupWidget::collapseIcon()
{
    return rollupIcons().collapse;
}

void WdxRoolupWidget::addWidget(QWidget *widget)
{
    if (!widget || m_widgets.contains(widget))
        return;
    m_widgets.append(widget);
    m_bodyLayout->addWidget(widget);
    watch(widget);
    if (!m_expanded)
        widget->hide();
}

void WdxRoolupWidget::hideWidget(QWidget *widget)
{
    if (!widget)
        return;
    widget->hide();
    if (!m_hiddenWidgets.contains(widget)) {
        m_hiddenWidgets.append(widget);
        watch(widget); // it may be hidden before it joins the body
    }
}

void WdxRoolupWidget::showWidget(QWidget *widget)
{
    if (!widget)
        return;
    m_hiddenWidgets.removeAll(widget);
    // A collapsed body shows nothing; the widget appears with the next expand.
    if (m_expanded || !m_widgets.contains(widget))
        widget->show();
}

void WdxRoolupWidget::clearWidgets()
{
    unwatchAll();
    for (QWidget *widget : qAsConst(m_widgets)) {
        m_bodyLayout->removeWidget(widget);
        widget->hide();
    }
    m_widgets.clear();
    m_hiddenWidgets.clear();
}

void WdxRoolupWidget::setText(const QString &title)
{
    m_titleLabel->setText(title);
}

QString WdxRoolupWidget::text() const
{
    return m_titleLabel->text();
}

void WdxRoolupWidget::setIcon(const QIcon &icon, const QSize &size)
{
    m_iconLabel->setFixedSize(size);
    m_iconLabel->setPixmap(icon.pixmap(size));
}

void WdxRoolupWidget::setIconVisible(bool visible)
{
    m_iconLabel->setVisible(visible);
}

void WdxRoolupWidget::setExpand(bool expand)
{
    m_expanded = expand;
    m_rollupButton->setIcon(expand ? expandIcon() : collapseIcon());
    for (QWidget *widget : qAsConst(m_widgets)) {
        if (!expand)
            widget->hide();
        else if (widget->isHidden() && !m_hiddenWidgets.contains(widget))
            widget->show();
    }
    emit expandChanged(expand);
}

void WdxRoolupWidget::watch(QWidget *widget)
{
    // A widget deleted elsewhere must not stay in the lists.
    connect(widget, &QObject::destroyed, this, &WdxRoolupWidget::forgetWidget, Qt::UniqueConnection);
}

void WdxRoolupWidget::unwatchAll()
{
    for (const QList<QWidget *> *list : {&m_widgets, &m_hiddenWidgets}) {
        for (QWidget *widget : *list)
            disconnect(widget, &QObject::destroyed, this, &WdxRoolupWidget::forgetWidget);
    }
}

void WdxRoolupWidget::forgetWidget(QObject *widget)
{
    // Compared as objects: the widget part is already gone.
    const auto same = [widget](QWidget *entry) { return static_cast<QObject *>(entry) == widget; };
    m_widgets.erase(std::remove_if(m_widgets.begin(), m_widgets.end(), same), m_widgets.end());
    m_hiddenWidgets.erase(std::remove_if(m_hiddenWidgets.begin(), m_hiddenWidgets.end(), same),
                          m_hiddenWidgets.end());
}
