#include <dorvane/wdxreaction.h>

#include <QAction>

WdxReaction::WdxReaction(QAction *action, Qt::ConnectionType type)
    : QObject(action)
{
    if (action)
        connect(action, &QAction::triggered, this, &WdxReaction::handleTriggered, type);
}

QAction *WdxReaction::parentAction() const
{
    return qobject_cast<QAction *>(parent());
}

void WdxReaction::updateEnableState()
{
}

void WdxReaction::onTriggered()
{
}

void WdxReaction::handleTriggered()
{
    onTriggered();
}
