#pragma once

#include <QStatusBar>

#include <dorvane/wdxwidgets_export.h>

class QLabel;
class WdxHyperLink;

// A status bar whose helpers add permanent or ordinary widgets and return them.
class WDXWIDGETS_EXPORT WdxStatusBar : public QStatusBar
{
    Q_OBJECT

public:
    explicit WdxStatusBar(QWidget *parent = nullptr);

    QLabel *addIcon(const QIcon &icon, const QSize &size, bool permanent = false,
                    const QString &objectName = QString());
    WdxHyperLink *addLink(const QString &text, const QString &url, bool permanent = false,
                          const QString &objectName = QString());
    QWidget *addSpacer(int width, bool permanent = false);

private:
    void place(QWidget *widget, bool permanent);
};
