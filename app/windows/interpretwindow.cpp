#include "interpretwindow.h"

#include "workspaceplaceholder.h"

InterpretWindow::InterpretWindow(QWidget *parent)
    : QMainWindow(parent)
{
    setCentralWidget(createWorkspacePlaceholder(this, "inspect", tr("Interpretation of picked bytes")));
}

void InterpretWindow::setData(const QByteArray &bytes)
{
    if (!bytes.isEmpty())
        m_data = bytes;
}
