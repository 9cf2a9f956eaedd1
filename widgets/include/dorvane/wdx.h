#pragma once

#include <QList>
#include <QMargins>
#include <QString>
#include <Qt>

#include <dorvane/wdxwidgets_export.h>

class QAbstractButton;
class QAction;
class QActionGroup;
class QBoxLayout;
class QButtonGroup;
class QDockWidget;
class QDoubleSpinBox;
class QIcon;
class QLabel;
class QLineEdit;
class QObject;
class QPushButton;
class QSpacerItem;
class QSpinBox;
class QToolButton;
class QWidget;
class WdxHyperLink;

// Factories and layout helpers shared by every window.
namespace Wdx {

WDXWIDGETS_EXPORT QPushButton *createPushButton(const QIcon &icon, QWidget *parent = nullptr);
// The object name is set when not empty; the checked state only for a checkable button.
WDXWIDGETS_EXPORT QPushButton *createPushButton(const QString &text, const QString &objectName = QString(),
                                                bool checkable = false, bool checked = false,
                                                QWidget *parent = nullptr);
// A tool button with its text beside the icon.
WDXWIDGETS_EXPORT QToolButton *createToolButton(const QIcon &icon, const QString &text,
                                                bool checkable = false, bool checked = false,
                                                QWidget *parent = nullptr);
// A negative minWidth means no minimum width; without buttons the box has no up/down arrows.
WDXWIDGETS_EXPORT QSpinBox *createSpinBox(int min, int max, int value, int minWidth = -1,
                                          bool showButtons = true, const QString &suffix = QString(),
                                          QWidget *parent = nullptr);
WDXWIDGETS_EXPORT QDoubleSpinBox *createDoubleSpinBox(double min, double max, double value, int minWidth = -1,
                                                      bool showButtons = true,
                                                      const QString &suffix = QString(),
                                                      QWidget *parent = nullptr);
WDXWIDGETS_EXPORT QLineEdit *createLineEdit(QWidget *parent = nullptr);
WDXWIDGETS_EXPORT QLabel *createLabel(const QString &text, const QString &objectName = QString(),
                                      Qt::Alignment alignment = Qt::AlignLeft | Qt::AlignVCenter,
                                      QWidget *parent = nullptr);
// A hyperlink that opens its URL with the desktop services when pressed.
WDXWIDGETS_EXPORT WdxHyperLink *createHyperLink(const QString &text, const QString &url,
                                                const QString &objectName = QString(),
                                                QWidget *parent = nullptr);

// A spacer item of size x 20 (horizontal) or 20 x size (vertical), expanding along the orientation
// when size < 1 and fixed otherwise. Null for any other orientation; the caller owns the item.
WDXWIDGETS_EXPORT QSpacerItem *createSpacer(Qt::Orientation orientation, int size);
// An empty widget of minimum width (horizontal) or height (vertical) size when size > 0, expanding in
// that direction when size <= 0 and fixed otherwise.
WDXWIDGETS_EXPORT QWidget *createSpacerWidget(Qt::Orientation orientation, int size,
                                              QWidget *parent = nullptr);

// Groups holding the non-null entries.
WDXWIDGETS_EXPORT QActionGroup *createActionGroup(QObject *parent, const QList<QAction *> &actions,
                                                  bool exclusive = true);
WDXWIDGETS_EXPORT QButtonGroup *createButtonGroup(QObject *parent, const QList<QAbstractButton *> &buttons,
                                                  bool exclusive = true);

// A dock widget allowed on the left and right sides when leftRight, at the top and bottom when topBottom,
// and nowhere when neither.
WDXWIDGETS_EXPORT QDockWidget *createDockWidget(QWidget *parent, QWidget *widget, const QString &title,
                                                bool leftRight = true, bool topBottom = true);

// Lays the widgets out in a horizontal or vertical box on parent; a null entry adds a stretch. A negative
// margin or spacing keeps the style's value. Returns null for any other orientation, and when parent
// already has a layout (which stays in place).
WDXWIDGETS_EXPORT QBoxLayout *layoutWidgets(Qt::Orientation orientation, QWidget *parent,
                                            const QList<QWidget *> &widgets, int margin = -1,
                                            int spacing = -1);
WDXWIDGETS_EXPORT QBoxLayout *layoutWidgets(Qt::Orientation orientation, QWidget *parent,
                                            const QList<QWidget *> &widgets, const QMargins &margins,
                                            int spacing = -1);

} // namespace Wdx
