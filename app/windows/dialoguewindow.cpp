#include "dialoguewindow.h"

#include "workspaceplaceholder.h"

DialogueWindow::DialogueWindow(QWidget *parent)
    : QMainWindow(parent)
{
    setCentralWidget(createWorkspacePlaceholder(this, "dialogue", tr("Received and transmitted data")));
}
