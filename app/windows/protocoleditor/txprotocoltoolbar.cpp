#include "windows/protocoleditor/txprotocoltoolbar.h"

#include "windows/common/protocolexportdialog.h"
#include "windows/protocoleditor/txfieldeditor.h"

#include <QAction>
#include <QIcon>
#include <QKeySequence>
#include <QMenu>
#include <QSpinBox>
#include <QToolButton>

#include <algorithm>

TxProtocolToolBar::TxProtocolToolBar(QWidget *parent)
    : WdxToolBar(tr("Standard"), parent)
{
    setObjectName(QStringLiteral("ProtocolStandardToolBar"));
    setIconSize(QSize(16, 16));
    setMovable(false);
    // The dock is narrow: the bar shows pictures, its texts are tips.
    auto action = [this](const QString &text, const char *icon) {
        return QToolBar::addAction(QIcon(QLatin1String(icon)), text);
    };
    m_newAction = action(tr("New Protocol"), ":/Resources/protocol/new.png");
    m_openAction = action(tr("Open Protocol"), ":/Resources/protocol/open.png");
    m_saveAction = action(tr("Save Protocol"), ":/Resources/protocol/save.png");
    // "Save Protocol" always asks for a name; the keys save in place too.
    m_saveAction->setToolTip(tr("Save Protocol (%1 saves to the same file)")
                                 .arg(QKeySequence(QKeySequence::Save).toString(QKeySequence::NativeText)));
    addSeparator();
    m_newFieldAction = action(tr("New Field"), ":/Resources/protocol/new-field.png");
    m_insertFieldAction = action(tr("Insert Field At"), ":/Resources/protocol/insert-field.png");
    m_positionSpin = addSpinBox(1, 300, 1, 48, false);
    m_positionSpin->setObjectName(QStringLiteral("InsertPositionSpin"));
    m_positionSpin->setMaximumWidth(48);
    m_positionSpin->setToolTip(tr("Position of the inserted field"));
    addSeparator();
    const QList<QPair<int, QAction *>> modes
        = {{TxFieldEditor::EnableMode, action(tr("Enable"), ":/Resources/toolbar/enable.png")},
           {TxFieldEditor::CopyMode, action(tr("Copy"), ":/Resources/toolbar/copy.png")},
           {TxFieldEditor::MoveMode, action(tr("Move"), ":/Resources/toolbar/move.png")},
           {TxFieldEditor::DeletionMode, action(tr("Deletion"), ":/Resources/toolbar/delete.png")}};
    for (const auto &mode : modes) {
        const int id = mode.first;
        mode.second->setCheckable(true);
        m_modes.insert(id, mode.second);
        connect(mode.second, &QAction::toggled, this, [this, id](bool on) { emit editModeToggled(id, on); });
    }
    addSeparator();
    m_newValueSetAction = action(tr("New Value Set"), ":/Resources/protocol/vset.png");
    // The exports share one picture button: the narrow dock has room for one
    // more slot and no more.
    auto *exportMenu = new QMenu(this);
    exportMenu->setObjectName(QStringLiteral("ProtocolExportMenu"));
    m_exportDissectorAction
        = exportMenu->addAction(ProtocolExportDialog::title(ProtocolExportOptions::WiresharkDissector));
    m_exportDissectorAction->setObjectName(QStringLiteral("ProtocolExportDissectorAction"));
    m_exportCHeaderAction
        = exportMenu->addAction(ProtocolExportDialog::title(ProtocolExportOptions::CHeader));
    m_exportCHeaderAction->setObjectName(QStringLiteral("ProtocolExportCHeaderAction"));
    auto *exportButton = new QToolButton(this);
    exportButton->setObjectName(QStringLiteral("ProtocolExportButton"));
    exportButton->setText(tr("Export"));
    exportButton->setToolTip(tr("Export the current value set as a Wireshark dissector or a C header"));
    exportButton->setIcon(QIcon(QStringLiteral(":/Resources/protocol/export.png")));
    exportButton->setToolButtonStyle(Qt::ToolButtonIconOnly);
    // No menu arrow: it would cost the slot's width again.
    exportButton->setStyleSheet(QStringLiteral("QToolButton::menu-indicator { image: none; }"));
    exportButton->setMenu(exportMenu);
    exportButton->setPopupMode(QToolButton::InstantPopup);
    m_exportButtonAction = addWidget(exportButton);
}

int TxProtocolToolBar::insertPosition() const
{
    return m_positionSpin->value();
}

bool TxProtocolToolBar::isModeOn(int mode) const
{
    const QAction *action = m_modes.value(mode);
    return action && action->isChecked();
}

void TxProtocolToolBar::setDocumentOpen(bool open)
{
    for (QAction *action : {m_saveAction, m_newFieldAction, m_insertFieldAction, m_newValueSetAction,
                            m_exportDissectorAction, m_exportCHeaderAction, m_exportButtonAction})
        action->setEnabled(open);
    m_positionSpin->setEnabled(open);
}

void TxProtocolToolBar::setRowCount(int count)
{
    m_positionSpin->setMaximum(std::max(1, count));
}
