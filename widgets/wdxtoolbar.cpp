#include <dorvane/wdxtoolbar.h>

#include <dorvane/wdx.h>

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QSpinBox>
#include <QToolButton>
#include <QWidgetAction>

WdxToolBar::WdxToolBar(QWidget *parent)
    : QToolBar(parent)
{
}

WdxToolBar::WdxToolBar(const QString &title, QWidget *parent)
    : QToolBar(title, parent)
{
}

QAction *WdxToolBar::addAction(const QString &text, const QIcon &icon)
{
    QAction *action = QToolBar::addAction(text);
    attachIcon(action, icon);
    return action;
}

QToolButton *WdxToolBar::addToolButton(const QString &text, const QIcon &icon, bool checkable, bool checked)
{
    QToolButton *button = Wdx::createToolButton(icon, text, checkable, checked, this);
    addWidget(button);
    return button;
}

QSpinBox *WdxToolBar::addSpinBox(int min, int max, int value, int minWidth, bool showButtons,
                                 const QString &suffix)
{
    QSpinBox *box = Wdx::createSpinBox(min, max, value, minWidth, showButtons, suffix, this);
    addWidget(box);
    return box;
}

QComboBox *WdxToolBar::addComboBox(int minWidth)
{
    QComboBox *box = new QComboBox(this);
    if (minWidth > 0)
        box->setMinimumWidth(minWidth);
    addWidget(box);
    return box;
}

QCheckBox *WdxToolBar::addCheckBox(const QString &text)
{
    QCheckBox *box = new QCheckBox(text, this);
    addWidget(box);
    return box;
}

QLabel *WdxToolBar::addLabel(const QString &text)
{
    QLabel *label = new QLabel(text, this);
    addWidget(label);
    return label;
}

QLineEdit *WdxToolBar::addLineEdit(int minWidth, int maxWidth)
{
    QLineEdit *edit = new QLineEdit(this);
    if (minWidth > 0)
        edit->setMinimumWidth(minWidth);
    if (maxWidth > 0)
        edit->setMaximumWidth(maxWidth);
    addWidget(edit);
    return edit;
}

QWidget *WdxToolBar::addSpacer(int width)
{
    QWidget *spacer = Wdx::createSpacerWidget(Qt::Horizontal, width, this);
    addWidget(spacer);
    return spacer;
}

QAction *WdxToolBar::addWidgetAction(const QString &text, const QIcon &icon, QWidget *widget)
{
    QToolButton *button = new QToolButton(this);
    QAction *action = new QAction(icon, text, button);
    button->setDefaultAction(action);
    button->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    QMenu *menu = new QMenu(button);
    QWidgetAction *holder = new QWidgetAction(menu);
    holder->setDefaultWidget(widget);
    menu->addAction(holder);
    button->setMenu(menu);
    button->setPopupMode(QToolButton::MenuButtonPopup);
    addWidget(button);
    return action;
}

bool WdxToolBar::attachIcon(QAction *action, const QIcon &icon)
{
    QToolButton *button = qobject_cast<QToolButton *>(widgetForAction(action));
    if (!button)
        return false;
    action->setIcon(icon);
    button->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    return true;
}
