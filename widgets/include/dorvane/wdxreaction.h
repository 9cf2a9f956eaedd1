#pragma once

#include <QObject>

#include <dorvane/wdxwidgets_export.h>

class QAction;

// Behaviour attached to an action: a child of the action whose onTriggered runs when it is triggered.
class WDXWIDGETS_EXPORT WdxReaction : public QObject
{
    Q_OBJECT

public:
    explicit WdxReaction(QAction *action, Qt::ConnectionType type = Qt::AutoConnection);

    QAction *parentAction() const;

    virtual void updateEnableState();

protected:
    virtual void onTriggered();

private slots:
    void handleTriggered();
};
