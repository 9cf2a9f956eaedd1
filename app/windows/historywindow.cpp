#include "historywindow.h"

#include "workspaceplaceholder.h"

HistoryWindow::HistoryWindow(QWidget *parent)
    : QMainWindow(parent)
{
    setCentralWidget(createWorkspacePlaceholder(this, "history", tr("Transmit history")));
}

void HistoryWindow::record(const QString &, int)
{
}
