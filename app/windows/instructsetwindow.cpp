#include "instructsetwindow.h"

#include "workspaceplaceholder.h"

InstructSetWindow::InstructSetWindow(QWidget *parent)
    : QMainWindow(parent)
{
    setCentralWidget(createWorkspacePlaceholder(this, "inset", tr("Instruct set")));
}

void InstructSetWindow::add(const QString &, int)
{
}
