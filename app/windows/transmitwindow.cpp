#include "transmitwindow.h"

#include "workspaceplaceholder.h"

TransmitWindow::TransmitWindow(QWidget *parent)
    : QMainWindow(parent)
{
    setCentralWidget(createWorkspacePlaceholder(this, "transmit", tr("Data to transmit")));
}

void TransmitWindow::setTransmitText(const QString &, int)
{
}
