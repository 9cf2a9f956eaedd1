#include "workspaceplaceholder.h"

#include <QWidget>

QWidget *createWorkspacePlaceholder(QWidget *parent)
{
    auto *workspace = new QWidget(parent);
    workspace->setObjectName(QStringLiteral("Workspace"));
    workspace->setAttribute(Qt::WA_StyledBackground);
    return workspace;
}
