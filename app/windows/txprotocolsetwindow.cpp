#include "txprotocolsetwindow.h"

#include "workspaceplaceholder.h"

TxProtocolSetWindow::TxProtocolSetWindow(QWidget *parent)
    : QMainWindow(parent)
{
    setCentralWidget(createWorkspacePlaceholder(this, "explorer", tr("Protocol set")));
    m_statusWidget = new QWidget(this);
    m_statusWidget->hide();
}

bool TxProtocolSetWindow::open(const QString &path)
{
    Q_UNUSED(path)
    return false;
}

bool TxProtocolSetWindow::askSave()
{
    return true;
}
