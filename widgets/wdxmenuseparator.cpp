#include <dorvane/wdxmenuseparator.h>

#include <dorvane/wdxseparator.h>

WdxMenuSeparator::WdxMenuSeparator(const QString &title, QObject *parent)
    : QWidgetAction(parent)
{
    setDefaultWidget(new WdxSeparator(title));
    setEnabled(false);
}

WdxSeparator *WdxMenuSeparator::separator() const
{
    return qobject_cast<WdxSeparator *>(defaultWidget());
}
