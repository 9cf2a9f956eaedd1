#include "dialoguewindow.h"

#include "workspaceplaceholder.h"

DialogueWindow::DialogueWindow(QWidget *parent)
    : QMainWindow(parent)
{
    setCentralWidget(createWorkspacePlaceholder(this));
}
