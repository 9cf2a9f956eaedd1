#include <dorvane/wdx.h>

#include <dorvane/wdxhyperlink.h>

#include <QAbstractButton>
#include <QAction>
#include <QActionGroup>
#include <QBoxLayout>
#include <QButtonGroup>
#include <QDockWidget>
#include <QDoubleSpinBox>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpacerItem>
#include <QSpinBox>
#include <QToolButton>

namespace {

void setUpSpinBox(QAbstractSpinBox *box, int minWidth, bool showButtons)
{
    box->setMinimumWidth(minWidth < 0 ? 0 : minWidth);
    box->setButtonSymbols(showButtons ? QAbstractSpinBox::UpDownArrows : QAbstractSpinBox::NoButtons);
}

QBoxLayout *makeBoxLayout(Qt::Orientation orientation, QWidget *parent, const QList<QWidget *> &widgets,
                          int spacing)
{
    if (orientation != Qt::Horizontal && orientation != Qt::Vertical)
        return nullptr;
    // A second layout cannot be installed on a widget; it would only leak.
    if (parent && parent->layout())
        return nullptr;
    QBoxLayout *layout = new QBoxLayout(
        orientation == Qt::Horizontal ? QBoxLayout::LeftToRight : QBoxLayout::TopToBottom, parent);
    if (spacing >= 0)
        layout->setSpacing(spacing);
    for (QWidget *widget : widgets) {
        if (widget)
            layout->addWidget(widget);
        else
            layout->addStretch();
    }
    return layout;
}

} // namespace

namespace Wdx {

QPushButton *createPushButton(const QIcon &icon, QWidget *parent)
{
    QPushButton *button = new QPushButton(parent);
    button->setIcon(icon);
    return button;
}

QPushButton *createPushButton(const QString &text, const QString &objectName, bool checkable, bool checked,
                              QWidget *parent)
{
    QPushButton *button = new QPushButton(text, parent);
    if (!objectName.isEmpty())
        button->setObjectName(objectName);
    button->setCheckable(checkable);
    if (checkable)
        button->setChecked(checked);
    return button;
}

QToolButton *createToolButton(const QIcon &icon, const QString &text, bool checkable, bool checked,
                              QWidget *parent)
{
    QToolButton *button = new QToolButton(parent);
    button->setIcon(icon);
    button->setText(text);
    button->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    button->setCheckable(checkable);
    if (checkable)
        button->setChecked(checked);
    return button;
}

QSpinBox *createSpinBox(int min, int max, int value, int minWidth, bool showButtons, const QString &suffix,
                        QWidget *parent)
{
    QSpinBox *box = new QSpinBox(parent);
    setUpSpinBox(box, minWidth, showButtons);
    box->setRange(min, max);
    box->setValue(value);
    box->setSuffix(suffix);
    return box;
}

QDoubleSpinBox *createDoubleSpinBox(double min, double max, double value, int minWidth, bool showButtons,
                                    const QString &suffix, QWidget *parent)
{
    QDoubleSpinBox *box = new QDoubleSpinBox(parent);
    setUpSpinBox(box, minWidth, showButtons);
    box->setRange(min, max);
    box->setValue(value);
    box->setSuffix(suffix);
    return box;
}

QLineEdit *createLineEdit(QWidget *parent)
{
    return new QLineEdit(parent);
}

QLabel *createLabel(const QString &text, const QString &objectName, Qt::Alignment alignment, QWidget *parent)
{
    QLabel *label = new QLabel(text, parent);
    if (!objectName.isEmpty())
        label->setObjectName(objectName);
    label->setAlignment(alignment);
    return label;
}

WdxHyperLink *createHyperLink(const QString &text, const QString &url, const QString &objectName,
                              QWidget *parent)
{
    WdxHyperLink *link = new WdxHyperLink(text, url, parent);
    if (!objectName.isEmpty())
        link->setObjectName(objectName);
    link->setOpenExternalLinks(true);
    return link;
}

QSpacerItem *createSpacer(Qt::Orientation orientation, int size)
{
    const QSizePolicy::Policy along = size < 1 ? QSizePolicy::Expanding : QSizePolicy::Fixed;
    // A negative extent would only confuse the layout.
    const int extent = qMax(0, size);
    switch (orientation) {
    case Qt::Horizontal:
        return new QSpacerItem(extent, 20, along, QSizePolicy::Minimum);
    case Qt::Vertical:
        return new QSpacerItem(20, extent, QSizePolicy::Minimum, along);
    }
    return nullptr;
}

QWidget *createSpacerWidget(Qt::Orientation orientation, int size, QWidget *parent)
{
    QWidget *widget = new QWidget(parent);
    const QSizePolicy::Policy along = size <= 0 ? QSizePolicy::Expanding : QSizePolicy::Fixed;
    if (orientation == Qt::Horizontal) {
        if (size > 0)
            widget->setMinimumWidth(size);
        widget->setSizePolicy(along, QSizePolicy::Preferred);
    } else if (orientation == Qt::Vertical) {
        if (size > 0)
            widget->setMinimumHeight(size);
        widget->setSizePolicy(QSizePolicy::Preferred, along);
    }
    return widget;
}

QActionGroup *createActionGroup(QObject *parent, const QList<QAction *> &actions, bool exclusive)
{
    QActionGroup *group = new QActionGroup(parent);
    group->setExclusive(exclusive);
    for (QAction *action : actions) {
        if (action)
            group->addAction(action);
    }
    return group;
}

QButtonGroup *createButtonGroup(QObject *parent, const QList<QAbstractButton *> &buttons, bool exclusive)
{
    QButtonGroup *group = new QButtonGroup(parent);
    group->setExclusive(exclusive);
    for (QAbstractButton *button : buttons) {
        if (button)
            group->addButton(button);
    }
    return group;
}

QDockWidget *createDockWidget(QWidget *parent, QWidget *widget, const QString &title, bool leftRight,
                              bool topBottom)
{
    QDockWidget *dock = new QDockWidget(title, parent);
    dock->setWidget(widget);
    Qt::DockWidgetAreas areas = Qt::NoDockWidgetArea;
    if (leftRight)
        areas |= Qt::LeftDockWidgetArea | Qt::RightDockWidgetArea;
    if (topBottom)
        areas |= Qt::TopDockWidgetArea | Qt::BottomDockWidgetArea;
    dock->setAllowedAreas(areas);
    return dock;
}

QBoxLayout *layoutWidgets(Qt::Orientation orientation, QWidget *parent, const QList<QWidget *> &widgets,
                          int margin, int spacing)
{
    QBoxLayout *layout = makeBoxLayout(orientation, parent, widgets, spacing);
    if (layout && margin >= 0)
        layout->setContentsMargins(margin, margin, margin, margin);
    return layout;
}

QBoxLayout *layoutWidgets(Qt::Orientation orientation, QWidget *parent, const QList<QWidget *> &widgets,
                          const QMargins &margins, int spacing)
{
    QBoxLayout *layout = makeBoxLayout(orientation, parent, widgets, spacing);
    if (layout)
        layout->setContentsMargins(margins);
    return layout;
}

} // namespace Wdx
