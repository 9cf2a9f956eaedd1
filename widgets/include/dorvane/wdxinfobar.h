#pragma once

#include <QWidget>

#include <dorvane/wdxwidgets_export.h>

class QFrame;
class QHBoxLayout;
class QLabel;
class QPushButton;
class WdxHyperLink;

// A row of labels, links, buttons and separators; every helper appends and returns its child.
class WDXWIDGETS_EXPORT WdxInfoBar : public QWidget
{
    Q_OBJECT

public:
    explicit WdxInfoBar(QWidget *parent = nullptr);

    QHBoxLayout *boxLayout() const { return m_layout; }

    // A label showing the icon's pixmap at size, centred.
    QLabel *addIcon(const QIcon &icon, const QSize &size, const QString &objectName = QString());
    // Followed by a fixed horizontal spacer of width space when space > 0.
    QLabel *addLabel(const QString &text, int space = 0);
    // A caption label and a value label; returns the value label.
    QLabel *addPairLabel(const QString &caption, const QString &value, int space = 0);
    // A sunken vertical line, 2 pixels wide.
    QFrame *addSeparator();
    WdxHyperLink *addLink(const QString &text, const QString &url, const QString &objectName = QString());
    QPushButton *addPushButton(const QString &text);
    // A horizontal spacer widget; width <= 0 takes the free room.
    QWidget *addSpacer(int width);
    QWidget *addWidget(QWidget *widget);
    void clearSpace(bool noMargins = true, bool noSpacing = true);

private:
    void appendSpace(int space);

    QHBoxLayout *m_layout;
};
