#pragma once

#include <QToolBar>

#include <dorvane/wdxwidgets_export.h>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QSpinBox;
class QToolButton;

// A tool bar whose helpers create, add and return the child they made.
class WDXWIDGETS_EXPORT WdxToolBar : public QToolBar
{
    Q_OBJECT

public:
    explicit WdxToolBar(QWidget *parent = nullptr);
    explicit WdxToolBar(const QString &title, QWidget *parent = nullptr);

    using QToolBar::addAction;
    // A text action whose tool button shows the icon with the text beside it.
    QAction *addAction(const QString &text, const QIcon &icon);
    QToolButton *addToolButton(const QString &text, const QIcon &icon, bool checkable = false,
                               bool checked = false);
    QSpinBox *addSpinBox(int min, int max, int value, int minWidth = -1, bool showButtons = true,
                         const QString &suffix = QString());
    // Widths are applied when > 0.
    QComboBox *addComboBox(int minWidth = -1);
    QCheckBox *addCheckBox(const QString &text);
    QLabel *addLabel(const QString &text);
    QLineEdit *addLineEdit(int minWidth = -1, int maxWidth = -1);
    // A horizontal spacer widget; width <= 0 takes the free room.
    QWidget *addSpacer(int width);
    // A tool button running a new action (icon, text) whose menu button pops up the widget.
    QAction *addWidgetAction(const QString &text, const QIcon &icon, QWidget *widget);
    // Gives the action's tool button the icon and the text-beside-icon style; false without a tool button.
    bool attachIcon(QAction *action, const QIcon &icon);
};
