#pragma once

#include <QWidgetAction>

#include <dorvane/wdxwidgets_export.h>

class WdxSeparator;

// A disabled menu entry showing a titled separator line.
class WDXWIDGETS_EXPORT WdxMenuSeparator : public QWidgetAction
{
    Q_OBJECT

public:
    explicit WdxMenuSeparator(const QString &title, QObject *parent = nullptr);

    WdxSeparator *separator() const;
};
