#include "windows/protocoleditor/txvaluecolumn.h"

#include "windows/protocoleditor/txfieldeditor.h"
#include "windows/protocoleditor/txvalueedit.h"

#include <dorvane/wdx.h>

#include <QHBoxLayout>
#include <QIcon>
#include <QPushButton>

TxValueColumn::TxValueColumn(bool deletable, QWidget *headerParent, QObject *parent)
    : QObject(parent)
    , m_header(new QWidget(headerParent))
    , m_deletable(deletable)
{
    m_header->setObjectName(QStringLiteral("valueEditorHeader"));
    m_headerButton
        = Wdx::createPushButton(tr("Active"), QStringLiteral("valueHeaderButton"), true, false, m_header);
    m_headerButton->setMinimumWidth(32);
    m_headerButton->setToolTip(tr("Send this value set"));
    m_deleteButton = Wdx::createPushButton(QIcon(QStringLiteral(":/Resources/editor/delete.png")), m_header);
    m_deleteButton->setObjectName(QStringLiteral("valueDeleteButton"));
    m_deleteButton->setToolTip(tr("Delete Value Set"));
    m_deleteButton->setVisible(false);
    auto *layout = new QHBoxLayout(m_header);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);
    layout->addWidget(m_headerButton, 1);
    layout->addWidget(m_deleteButton);
    connect(m_headerButton, &QPushButton::clicked, this, &TxValueColumn::activated);
    connect(m_deleteButton, &QPushButton::clicked, this, &TxValueColumn::deleteClicked);
}

TxValueColumn::~TxValueColumn()
{
    delete m_header;
}

void TxValueColumn::setNumber(int number)
{
    m_headerButton->setText(QString::number(number));
}

void TxValueColumn::setDeletionMode(bool on)
{
    m_deleteButton->setVisible(on && m_deletable);
}

TxValueEdit *TxValueColumn::addEdit(TxFieldEditor *row, int position)
{
    auto *edit = new TxValueEdit(this);
    row->insertValueEdit(position, edit);
    edit->show();
    m_edits.insert(row, edit);
    connect(edit, &TxValueEdit::editRequested, this, [this, row] { emit editRequested(row); });
    connect(edit, &TxValueEdit::revertRequested, this, [this, row] { emit revertRequested(row); });
    return edit;
}

TxValueEdit *TxValueColumn::editFor(const TxFieldEditor *row) const
{
    return m_edits.value(row);
}

void TxValueColumn::removeEdit(TxFieldEditor *row)
{
    delete m_edits.take(row);
}

void TxValueColumn::forgetEdit(TxFieldEditor *row)
{
    m_edits.remove(row);
}
