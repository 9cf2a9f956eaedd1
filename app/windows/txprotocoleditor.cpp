#include "txprotocoleditor.h"

#include "workspaceplaceholder.h"

TxProtocolEditor::TxProtocolEditor(QWidget *parent)
    : QMainWindow(parent)
{
    setCentralWidget(createWorkspacePlaceholder(this, "protocol", tr("Transmit protocol")));
    m_statusWidget = new QWidget(this);
    m_statusWidget->hide();
}

bool TxProtocolEditor::open(const QString &path)
{
    Q_UNUSED(path)
    return false;
}

bool TxProtocolEditor::askSave()
{
    return true;
}
