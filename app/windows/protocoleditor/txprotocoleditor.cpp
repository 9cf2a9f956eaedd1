#include "windows/protocoleditor/txprotocoleditor.h"

#include "shell/applicationoptions.h"
#include "shell/notices.h"
#include "shell/savefileaskdialog.h"
#include "shell/services.h"
#include "windows/common/editorheaderview.h"
#include "windows/common/nameedit.h"
#include "windows/common/protocolexportdialog.h"
#include "windows/common/scrollworkspace.h"
#include "windows/protocoleditor/datatypeselectdialog.h"
#include "windows/protocoleditor/fieldeditdialog.h"
#include "windows/protocoleditor/txfieldeditor.h"
#include "windows/protocoleditor/txprotocolbuildbar.h"
#include "windows/protocoleditor/txprotocoltoolbar.h"
#include "windows/protocoleditor/txvaluecolumn.h"
#include "windows/protocoleditor/txvalueedit.h"

#include <dorvane/Channel.h>
#include <dorvane/Core.h>
#include <dorvane/WdxWidgets.h>

#include <QAction>
#include <QButtonGroup>
#include <QCoreApplication>
#include <QCursor>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QFormLayout>
#include <QLabel>
#include <QPushButton>
#include <QResizeEvent>
#include <QScrollBar>
#include <QSpinBox>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>
#include <functional>

namespace {

// Header sections over the first row's controls.
enum HeaderSection {
    TitleSection = 5,
    EndianSection = 6,
    TypeSection = 7,
};

const int kSaveAsKeys = Qt::CTRL + Qt::SHIFT + Qt::Key_S;

int digitCount(int count)
{
    return QString::number(count).size();
}

std::string localText(const QString &text)
{
    return text.toLocal8Bit().toStdString();
}

QString fromLocal(const std::string &text)
{
    return QString::fromLocal8Bit(text.c_str(), int(text.size()));
}

void copyValue(ValueMetaInfo *target, const ValueMetaInfo *source)
{
    if (!target || !source)
        return;
    target->SetValueGeneratorType(source->GetValueGeneratorType());
    target->SetParamList(source->GetParamList());
}

bool sameValue(const ValueMetaInfo *a, const ValueMetaInfo *b)
{
    return a && b && a->GetValueGeneratorType() == b->GetValueGeneratorType()
           && a->GetParamList() == b->GetParamList();
}

} // namespace

TxProtocolEditor::TxProtocolEditor(const Services &services, QWidget *parent)
    : QMainWindow(parent)
    , m_options(services.options)
    , m_context(services.context)
{
    m_columnButtons = new QButtonGroup(this);
    m_columnButtons->setExclusive(true);
    createToolBars(services);
    createInfoBar();
    createCentralWidget();
    createShortcuts();
    updateEnabledStates();
    updateHeaderVisibility();
}

TxProtocolEditor::~TxProtocolEditor()
{
    // The rows point into the protocol: they go first.
    removeAllRowsAndColumns();
}

void TxProtocolEditor::createToolBars(const Services &services)
{
    m_toolBar = new TxProtocolToolBar(this);
    addToolBar(Qt::TopToolBarArea, m_toolBar);
    connect(m_toolBar->newAction(), &QAction::triggered, this, &TxProtocolEditor::newDocument);
    connect(m_toolBar->openAction(), &QAction::triggered, this, &TxProtocolEditor::openDocument);
    connect(m_toolBar->saveAction(), &QAction::triggered, this, &TxProtocolEditor::saveDocumentAs);
    connect(m_toolBar->newFieldAction(), &QAction::triggered, this, &TxProtocolEditor::addFieldAtEnd);
    connect(m_toolBar->insertFieldAction(), &QAction::triggered, this,
            &TxProtocolEditor::insertFieldAtPosition);
    connect(m_toolBar->newValueSetAction(), &QAction::triggered, this, &TxProtocolEditor::addValueColumn);
    connect(m_toolBar, &TxProtocolToolBar::editModeToggled, this, &TxProtocolEditor::setEditMode);
    connect(m_toolBar->exportDissectorAction(), &QAction::triggered, this,
            [this] { askExportProtocol(ProtocolExportOptions::WiresharkDissector); });
    connect(m_toolBar->exportCHeaderAction(), &QAction::triggered, this,
            [this] { askExportProtocol(ProtocolExportOptions::CHeader); });

    addToolBarBreak();
    m_buildBar = new TxProtocolBuildBar(services, this, tr("Protocol Editor"), this);
    m_buildBar->setMovable(false);
    addToolBar(Qt::TopToolBarArea, m_buildBar);
    connect(m_buildBar, &TxProtocolBuildBar::sendClicked, this, &TxProtocolEditor::send);
    connect(m_buildBar, &TxProtocolBuildBar::statusMessage, this, &TxProtocolEditor::showNote);
}

void TxProtocolEditor::createInfoBar()
{
    m_infoBar = new WdxInfoBar(this);
    m_infoBar->setObjectName(QStringLiteral("ProtocolEditorStatus"));
    m_infoBar->clearSpace(true, false);
    m_infoBar->addSeparator();
    m_infoBar->addIcon(QIcon(QStringLiteral(":/Resources/statusbar/protocol.png")), QSize(16, 16));
    m_documentLabel = m_infoBar->addLabel(tr("No Protocol Document"), 6);
    m_documentLabel->setObjectName(QStringLiteral("ProtocolDocumentLabel"));
    m_fieldCountLabel = m_infoBar->addPairLabel(tr("Fields:"), QStringLiteral("0"), 6);
    m_fieldCountLabel->setObjectName(QStringLiteral("FieldCountLabel"));
    m_sizeLabel = m_infoBar->addPairLabel(tr("Bytes:"), QStringLiteral("0"), 4);
    m_sizeLabel->setObjectName(QStringLiteral("ProtocolSizeLabel"));
    m_infoBar->addSeparator();
    m_messageLabel = m_infoBar->addLabel(QString(), 4);
    m_messageLabel->setObjectName(QStringLiteral("ProtocolEditorMessage"));
    m_infoBar->hide();
}

void TxProtocolEditor::createCentralWidget()
{
    auto *central = new QWidget(this);
    central->setObjectName(QStringLiteral("Workspace"));
    auto *layout = new QVBoxLayout(central);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    m_header = new EditorHeaderView(central);
    m_header->setObjectName(QStringLiteral("ProtocolHeaderView"));
    m_header->addSection(TitleSection, tr("Title"), Qt::AlignLeft);
    m_header->addSection(TypeSection, tr("Type"), Qt::AlignHCenter);
    m_header->addSection(EndianSection, tr("Endian"), Qt::AlignHCenter);
    // Placed labels and column headers leave the header's layout: the
    // header keeps the height of a button.
    m_header->setMinimumHeight(QPushButton(QStringLiteral("1")).sizeHint().height() + 4);
    m_workspace = new ScrollWorkspace(central);
    m_workspace->setPicture(QStringLiteral(":/Resources/svg/file-binary.svg"));
    m_workspace->content()->installEventFilter(this);
    connect(m_workspace->horizontalScrollBar(), &QScrollBar::valueChanged, this,
            &TxProtocolEditor::placeHeader);
    layout->addWidget(m_header);
    layout->addWidget(m_workspace, 1);
    setCentralWidget(central);
}

void TxProtocolEditor::createShortcuts()
{
    // Only while the focus is inside the editor: the other document windows
    // use the same keys.
    auto shortcut = [this](const QKeySequence &keys, const std::function<void()> &run) {
        auto *action = new QAction(this);
        action->setShortcut(keys);
        action->setShortcutContext(Qt::WidgetWithChildrenShortcut);
        addAction(action);
        connect(action, &QAction::triggered, this, run);
    };
    shortcut(QKeySequence::New, [this] { newDocument(); });
    shortcut(QKeySequence::Open, [this] { openDocument(); });
    shortcut(QKeySequence::Save, [this] { saveDocument(); });
    shortcut(QKeySequence(kSaveAsKeys), [this] { saveDocumentAs(); });
}

// ---------------------------------------------------------------- rows and columns

int TxProtocolEditor::typeButtonWidth()
{
    if (m_typeButtonWidth < 0)
        m_typeButtonWidth = TxFieldEditor::typeButtonWidth(this, &m_context);
    return m_typeButtonWidth;
}

TxFieldEditor *TxProtocolEditor::addField(int index, const TxField *source)
{
    if (!m_protocol)
        return nullptr;
    const int oldCount = m_rows.size();
    TxField *field = m_protocol->AddField(index);
    if (source)
        *field = *source;
    // An index outside the list appends.
    if (index < 0 || index > oldCount)
        index = oldCount;
    createRow(index, field);
    renumberAfterCountChange(index, oldCount);
    markAllNeedBuild();
    refreshStatus(AllItems);
    setModified();
    if (m_rows.size() == 1)
        updateHeaderVisibility();
    postResize();
    return m_rows.value(index);
}

void TxProtocolEditor::addFieldAtEnd()
{
    addField(m_rows.size());
}

void TxProtocolEditor::insertFieldAtPosition()
{
    addField(m_toolBar->insertPosition() - 1);
}

void TxProtocolEditor::createRow(int index, TxField *field)
{
    const QFont numberFont = m_options.editorFont;
    auto *row = new TxFieldEditor(field, &m_context, numberFont, typeButtonWidth(), m_workspace->content());
    for (int mode : {TxFieldEditor::EnableMode, TxFieldEditor::DeletionMode, TxFieldEditor::MoveMode,
                     TxFieldEditor::CopyMode})
        row->setEditMode(TxFieldEditor::EditMode(mode), m_toolBar->isModeOn(mode));
    m_workspace->rowLayout()->insertRow(index, row);
    // The layout would show it only at the next pass of the event loop.
    row->show();
    m_rows.insert(index, row);
    m_toolBar->setRowCount(m_rows.size());

    connect(row, &TxFieldEditor::nameChanged, this,
            [this, row](const QString &name) { renameField(row, name); });
    connect(row, &TxFieldEditor::typeClicked, this, [this, row] { changeType(row); });
    connect(row, &TxFieldEditor::endianClicked, this, [this, row] { toggleEndian(row); });
    connect(row, &TxFieldEditor::enableClicked, this, [this, row] { toggleEnabled(row); });
    connect(row, &TxFieldEditor::deleteClicked, this, [this, row] { deleteField(row); });
    connect(row, &TxFieldEditor::moveUpClicked, this, [this, row] { moveField(row, -1); });
    connect(row, &TxFieldEditor::moveDownClicked, this, [this, row] { moveField(row, 1); });
    connect(row, &TxFieldEditor::copyUpClicked, this, [this, row] { copyField(row, 0); });
    connect(row, &TxFieldEditor::copyDownClicked, this, [this, row] { copyField(row, 1); });

    for (int c = 0; c < m_columns.size(); ++c)
        m_columns.at(c)->addEdit(row, c);
    fillRowValues(row);
}

void TxProtocolEditor::fillRowValues(TxFieldEditor *row)
{
    const ValueMetaInfo *first = row->field()->GetValueMetaInfo(0);
    for (int c = 0; c < m_columns.size(); ++c) {
        TxValueEdit *edit = m_columns.at(c)->editFor(row);
        if (!edit)
            continue;
        edit->setInheriting(c > 0);
        // A later column that holds a value of its own shows it.
        edit->setOverridden(c > 0 && !sameValue(row->field()->GetValueMetaInfo(c), first));
        showRowValue(row, m_columns.at(c));
    }
}

void TxProtocolEditor::showRowValue(TxFieldEditor *row, TxValueColumn *column)
{
    TxValueEdit *edit = column->editFor(row);
    const ValueMetaInfo *value = row->field()->GetValueMetaInfo(m_columns.indexOf(column));
    if (!edit || !value)
        return;
    const Context *ctx = context();
    const QString generator
        = ctx ? QString::fromStdString(ctx->GetValueGeneratorName(value->GetValueGeneratorType()))
              : QString();
    edit->showValue(generator, fromLocal(value->GetParamList()));
}

TxValueColumn *TxProtocolEditor::createColumn()
{
    auto *column = new TxValueColumn(!m_columns.isEmpty(), m_header, this);
    m_columns.append(column);
    column->setNumber(m_columns.size());
    column->setDeletionMode(m_toolBar->isModeOn(TxFieldEditor::DeletionMode));
    m_columnButtons->addButton(column->headerButton());
    m_header->addHeaderWidget(column->headerWidget());
    connect(column, &TxValueColumn::activated, this, [this, column] { activateColumn(column); });
    connect(column, &TxValueColumn::deleteClicked, this, [this, column] { deleteColumn(column); });
    connect(column, &TxValueColumn::editRequested, this,
            [this, column](TxFieldEditor *row) { editValue(column, row); });
    connect(column, &TxValueColumn::revertRequested, this,
            [this, column](TxFieldEditor *row) { revertValue(column, row); });
    return column;
}

void TxProtocolEditor::removeAllRowsAndColumns()
{
    for (TxValueColumn *column : qAsConst(m_columns)) {
        for (TxFieldEditor *row : qAsConst(m_rows))
            column->forgetEdit(row);
    }
    for (TxFieldEditor *row : qAsConst(m_rows))
        disconnect(row, nullptr, this, nullptr);
    QFormLayout *rows = m_workspace->rowLayout();
    while (rows->rowCount() > 0)
        rows->removeRow(0);
    m_rows.clear();
    for (TxValueColumn *column : qAsConst(m_columns)) {
        m_columnButtons->removeButton(column->headerButton());
        m_header->removeHeaderWidget(column->headerWidget());
        delete column;
    }
    m_columns.clear();
    m_currentColumn = -1;
    m_buildBar->forgetBuild();
}

void TxProtocolEditor::renumber(int from)
{
    const int width = digitCount(m_rows.size());
    for (int i = std::max(0, from); i < m_rows.size(); ++i)
        m_rows.at(i)->setNumber(i + 1, width);
}

void TxProtocolEditor::renumberAfterCountChange(int from, int oldCount)
{
    // A new digit in the count widens every number.
    renumber(digitCount(oldCount) != digitCount(m_rows.size()) ? 0 : from);
}

void TxProtocolEditor::setEditMode(int mode, bool on)
{
    for (TxFieldEditor *row : qAsConst(m_rows))
        row->setEditMode(TxFieldEditor::EditMode(mode), on);
    if (mode == TxFieldEditor::DeletionMode) {
        for (TxValueColumn *column : qAsConst(m_columns))
            column->setDeletionMode(on);
    }
    postResize();
}

void TxProtocolEditor::updateHeaderVisibility()
{
    const bool hasFields = m_protocol && m_protocol->GetFieldCount() > 0;
    m_header->setVisible(hasFields);
    m_workspace->setPictureVisible(!hasFields);
}

void TxProtocolEditor::placeHeader()
{
    if (m_rows.isEmpty() || m_header->isHidden())
        return;
    if (QLayout *layout = m_workspace->content()->layout())
        layout->activate();
    TxFieldEditor *first = m_rows.first();
    m_header->placeSectionOver(TitleSection, first->nameEdit());
    m_header->placeSectionOver(TypeSection, first->typeButton());
    // The byte-order button is narrower than its caption: the caption ends
    // where the button ends and reaches left over the type button's margin.
    const QWidget *endian = first->endianButton();
    QLabel *caption = m_header->sectionLabel(EndianSection);
    const int captionWidth = std::max(endian->width(), caption->sizeHint().width());
    const int right = m_header->mapFromGlobal(endian->mapToGlobal(QPoint(endian->width(), 0))).x();
    caption->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    m_header->placeSection(EndianSection, QRect(right - captionWidth, 0, captionWidth, m_header->height()));
    for (TxValueColumn *column : qAsConst(m_columns))
        m_header->placeWidgetOver(column->headerWidget(), column->editFor(first));
}

void TxProtocolEditor::postResize()
{
    QCoreApplication::postEvent(this, new QResizeEvent(size(), size()));
}

void TxProtocolEditor::resizeEvent(QResizeEvent *event)
{
    QMainWindow::resizeEvent(event);
    placeHeader();
}

bool TxProtocolEditor::eventFilter(QObject *watched, QEvent *event)
{
    // The rows move when the scroll bar comes or goes: the header follows
    // once the rows are laid out again.
    if (watched == m_workspace->content() && event->type() == QEvent::Resize)
        QTimer::singleShot(0, this, &TxProtocolEditor::placeHeader);
    return QMainWindow::eventFilter(watched, event);
}

void TxProtocolEditor::markAllNeedBuild()
{
    for (TxValueColumn *column : qAsConst(m_columns))
        column->setNeedsBuild(true);
}

// ---------------------------------------------------------------- row operations

void TxProtocolEditor::changeType(TxFieldEditor *row)
{
    DataTypeSelectDialog dialog(context(), this);
    if (dialog.exec() != QDialog::Accepted || !m_rows.contains(row))
        return;
    TxField *field = row->field();
    if (dialog.typeId() != field->GetTypeId()) {
        field->SetTypeId(dialog.typeId());
        row->refresh();
        markAllNeedBuild();
        refreshStatus(ByteCountItem);
    }
    setModified();
}

void TxProtocolEditor::toggleEndian(TxFieldEditor *row)
{
    TxField *field = row->field();
    if (field->GetEndian() == BigEndian)
        field->SetEndian(LittleEndian);
    else if (field->GetEndian() == LittleEndian)
        field->SetEndian(BigEndian);
    row->refresh();
    markAllNeedBuild();
    setModified();
}

void TxProtocolEditor::toggleEnabled(TxFieldEditor *row)
{
    row->field()->SetEnabled(!row->field()->IsEnabled());
    row->refresh();
    markAllNeedBuild();
    refreshStatus(ByteCountItem);
    setModified();
}

void TxProtocolEditor::deleteField(TxFieldEditor *row)
{
    const int index = m_rows.indexOf(row);
    if (index < 0 || !m_protocol)
        return;
    TxField *field = row->field();
    if (!m_protocol->RemoveField(index))
        return;
    // Detached from the protocol: ours to destroy once the row is gone.
    std::unique_ptr<TxField> removed(field);
    for (TxValueColumn *column : qAsConst(m_columns))
        column->forgetEdit(row);
    disconnect(row, nullptr, this, nullptr);
    row->setField(nullptr);
    QFormLayout::TakeRowResult taken = m_workspace->rowLayout()->takeRow(index);
    delete taken.labelItem;
    delete taken.fieldItem;
    // The click that got here is still running inside the row.
    row->hide();
    row->deleteLater();
    m_rows.removeAt(index);
    m_toolBar->setRowCount(m_rows.size());

    renumber(0);
    refreshStatus(FieldCountItem | ByteCountItem);
    updateHeaderVisibility();
    postResize();
    markAllNeedBuild();
    setModified();
}

void TxProtocolEditor::moveField(TxFieldEditor *row, int step)
{
    const int from = m_rows.indexOf(row);
    const int to = from + step;
    if (from < 0 || to < 0 || to >= m_rows.size())
        return;
    TxFieldEditor *other = m_rows.at(to);
    row->nameEdit()->commitEdit();
    other->nameEdit()->commitEdit();
    // The protocol keeps its field objects in place and exchanges their
    // contents; each row then follows its own content.
    TxField *here = row->field();
    TxField *there = other->field();
    TxField swap;
    swap = *here;
    *here = *there;
    *there = swap;
    row->setField(there);
    other->setField(here);
    m_rows.swapItemsAt(from, to);
    m_workspace->moveRow(from, to);
    const int width = digitCount(m_rows.size());
    row->setNumber(to + 1, width);
    other->setNumber(from + 1, width);
    // The pointer stays over the button of the row it moved.
    const int spacing = std::max(0, m_workspace->rowLayout()->verticalSpacing());
    QCursor::setPos(QCursor::pos() + QPoint(0, step * (row->height() + spacing)));
    markAllNeedBuild();
    setModified();
}

void TxProtocolEditor::copyField(TxFieldEditor *row, int offset)
{
    const int index = m_rows.indexOf(row);
    if (index < 0)
        return;
    row->nameEdit()->commitEdit();
    addField(index + offset, row->field());
}

void TxProtocolEditor::renameField(TxFieldEditor *row, const QString &name)
{
    if (!row->field())
        return;
    row->field()->SetName(localText(name));
    setModified();
}

// ---------------------------------------------------------------- value columns

void TxProtocolEditor::addValueColumn()
{
    if (!m_protocol || !m_protocol->CanInsertValues())
        return;
    const int index = m_protocol->AppendValueColumn();
    if (index < 0)
        return;
    TxValueColumn *column = createColumn();
    for (TxFieldEditor *row : qAsConst(m_rows)) {
        TxValueEdit *edit = column->addEdit(row, index);
        edit->setInheriting(true);
        showRowValue(row, column);
    }
    column->headerButton()->click();
    postResize();
    setModified();
}

void TxProtocolEditor::activateColumn(TxValueColumn *column)
{
    m_currentColumn = m_columns.indexOf(column);
    refreshStatus(ByteCountItem);
}

void TxProtocolEditor::deleteColumn(TxValueColumn *column)
{
    const int index = m_columns.indexOf(column);
    if (index < 0 || !m_protocol || !m_protocol->RemoveValueColumn(index))
        return;
    m_columnButtons->removeButton(column->headerButton());
    for (TxFieldEditor *row : qAsConst(m_rows))
        column->removeEdit(row);
    m_header->removeHeaderWidget(column->headerWidget());
    m_columns.removeAt(index);
    // The click that got here is still running inside the column's header.
    column->deleteLater();
    for (int c = 0; c < m_columns.size(); ++c)
        m_columns.at(c)->setNumber(c + 1);
    // The sender's stream was built for a column number that has moved.
    m_buildBar->forgetBuild();
    m_currentColumn = -1;
    for (int c = 0; c < m_columns.size(); ++c) {
        if (m_columns.at(c)->headerButton()->isChecked())
            m_currentColumn = c;
    }
    if (m_currentColumn < 0 && !m_columns.isEmpty())
        m_columns.first()->headerButton()->click();
    refreshStatus(ByteCountItem);
    postResize();
    setModified();
}

void TxProtocolEditor::editValue(TxValueColumn *column, TxFieldEditor *row)
{
    const int index = m_columns.indexOf(column);
    TxField *field = row->field();
    ValueMetaInfo *value = field ? field->GetValueMetaInfo(index) : nullptr;
    if (!value)
        return;
    // The dialog starts from the value being edited, so an overridden value
    // is not shown as the first column's.
    FieldEditDialog dialog(context(), this);
    dialog.setValue(field->GetTypeId(), value->GetValueGeneratorType(), fromLocal(value->GetParamList()));
    if (dialog.exec() != QDialog::Accepted || !m_rows.contains(row) || !m_columns.contains(column))
        return;
    const std::string params = localText(dialog.params());
    if (dialog.generator() == value->GetValueGeneratorType() && params == value->GetParamList())
        return;
    value->SetValueGeneratorType(dialog.generator());
    value->SetParamList(params);
    column->setNeedsBuild(true);
    if (index == 0) {
        for (int c = 1; c < m_columns.size(); ++c) {
            TxValueEdit *edit = m_columns.at(c)->editFor(row);
            if (!edit || edit->isOverridden())
                continue;
            copyValue(field->GetValueMetaInfo(c), value);
            m_columns.at(c)->setNeedsBuild(true);
            showRowValue(row, m_columns.at(c));
        }
    } else if (TxValueEdit *edit = column->editFor(row)) {
        edit->setOverridden(true);
    }
    showRowValue(row, column);
    refreshStatus(ByteCountItem);
    setModified();
}

void TxProtocolEditor::revertValue(TxValueColumn *column, TxFieldEditor *row)
{
    const int index = m_columns.indexOf(column);
    TxValueEdit *edit = column->editFor(row);
    if (index < 1 || !edit || !row->field())
        return;
    copyValue(row->field()->GetValueMetaInfo(index), row->field()->GetValueMetaInfo(0));
    edit->setOverridden(false);
    showRowValue(row, column);
    column->setNeedsBuild(true);
    refreshStatus(ByteCountItem);
    setModified();
}

// ---------------------------------------------------------------- document

void TxProtocolEditor::setModified()
{
    m_modified = true;
}

void TxProtocolEditor::commitPendingNames()
{
    for (TxFieldEditor *row : qAsConst(m_rows))
        row->nameEdit()->commitEdit();
}

void TxProtocolEditor::newDocument()
{
    if (!askSave())
        return;
    removeAllRowsAndColumns();
    m_protocol = std::make_unique<TxProtocol>();
    createColumn()->headerButton()->click();
    addField(0);
    m_path.clear();
    m_modified = false;
    updateEnabledStates();
    refreshStatus(AllItems);
}

void TxProtocolEditor::openDocument()
{
    if (!askSave())
        return;
    const QString path = askOpenFileName(this, OpenTransmitProtocol);
    if (path.isEmpty())
        return;
    if (!loadDocument(path, false))
        warnOpenFailed(this, path);
}

std::unique_ptr<TxProtocol> TxProtocolEditor::readProtocol(const QString &path) const
{
    // Every field is a row of a dozen widgets: a protocol of many thousand
    // fields would hold the workbench for minutes, so it is not opened.
    constexpr int kMaxEditableFields = 1000;
    auto protocol = std::make_unique<TxProtocol>();
    if (!QFileInfo(path).isFile() || !context() || !protocol->Load(localText(path), context())
        || protocol->GetFieldCount() < 1 || protocol->GetFieldCount() > kMaxEditableFields
        || protocol->GetValueCountPerField() < 1)
        return nullptr;
    return protocol;
}

bool TxProtocolEditor::isReadable(const QString &path) const
{
    return readProtocol(path) != nullptr;
}

bool TxProtocolEditor::open(const QString &path)
{
    return loadDocument(path, true);
}

bool TxProtocolEditor::loadDocument(const QString &path, bool askFirst)
{
    auto wait = std::make_unique<WdxWaitCursor>();
    // Read into a protocol of its own: the open document stays as it is
    // until the new one is known to be good.
    std::unique_ptr<TxProtocol> loaded = readProtocol(path);
    if (!loaded)
        return false;
    if (askFirst) {
        wait.reset();
        if (!askSave())
            return false;
        wait = std::make_unique<WdxWaitCursor>();
    }

    removeAllRowsAndColumns();
    m_protocol = std::move(loaded);
    for (int c = 0; c < m_protocol->GetValueCountPerField(); ++c)
        createColumn();
    m_columns.first()->headerButton()->click();
    for (int i = 0; i < m_protocol->GetFieldCount(); ++i)
        createRow(i, m_protocol->GetField(i));
    m_path = path;
    m_modified = false;
    updateEnabledStates();
    renumber(0);
    refreshStatus(AllItems);
    updateHeaderVisibility();
    postResize();
    return true;
}

bool TxProtocolEditor::askSave()
{
    commitPendingNames();
    if (!m_modified)
        return true;
    return SaveFileAskDialog::askToSave(this, tr("Save Protocol"),
                                        tr("Protocol has changed, do you want save it?"),
                                        [this] { return saveDocument(); });
}

QString TxProtocolEditor::askSaveFileName()
{
    const QString start = !m_path.isEmpty() ? m_path : m_options.lastProtocolDir;
    QString path
        = QFileDialog::getSaveFileName(this, tr("Save protocol"), start, tr("Dorvane protocol (*.dvptc)"));
    if (!path.isEmpty() && QFileInfo(path).suffix().isEmpty())
        path += QStringLiteral(".dvptc");
    return path;
}

void TxProtocolEditor::askExportProtocol(int kind)
{
    if (!m_protocol)
        return;
    commitPendingNames();
    const QString written = ProtocolExportDialog::run(
        this, ProtocolExportOptions::Kind(kind), m_path, m_options.lastProtocolDir,
        std::max(0, m_currentColumn),
        [this](const ProtocolExportOptions &options, const QString &path, QString *error) {
            return exportProtocol(m_protocol.get(), options, path, error);
        });
    if (!written.isEmpty())
        showNote(tr("Exported to %1").arg(QDir::toNativeSeparators(written)));
}

void TxProtocolEditor::showNote(const QString &text)
{
    m_messageLabel->setText(text);
    // A note, not a state: it goes after a while unless another took its place.
    QTimer::singleShot(5000, m_messageLabel, [label = m_messageLabel, text] {
        if (label->text() == text)
            label->clear();
    });
}

bool TxProtocolEditor::saveDocument()
{
    if (!m_protocol)
        return false;
    const QString path = m_path.isEmpty() ? askSaveFileName() : m_path;
    return !path.isEmpty() && saveTo(path);
}

bool TxProtocolEditor::saveDocumentAs()
{
    if (!m_protocol)
        return false;
    const QString path = askSaveFileName();
    return !path.isEmpty() && saveTo(path);
}

bool TxProtocolEditor::writeRecoveryCopy(const QString &path)
{
    commitPendingNames();
    return m_protocol && context() && m_protocol->Save(localText(path), context());
}

bool TxProtocolEditor::restoreRecoveryCopy(const QString &copy, const QString &originalPath)
{
    if (!open(copy))
        return false;
    m_path = originalPath;
    m_modified = true;
    refreshStatus(TitleItem);
    return true;
}

bool TxProtocolEditor::saveTo(const QString &path)
{
    commitPendingNames();
    bool saved = false;
    {
        WdxWaitCursor wait;
        saved = context() && m_protocol->Save(localText(path), context());
    }
    if (!saved) {
        // The document keeps its path and its unsaved state.
        warnSaveFailed(this, path);
        return false;
    }
    m_path = path;
    m_modified = false;
    m_options.lastProtocolDir = QFileInfo(path).absolutePath();
    refreshStatus(TitleItem);
    return true;
}

void TxProtocolEditor::updateEnabledStates()
{
    const bool hasProtocol = m_protocol != nullptr;
    m_toolBar->setDocumentOpen(hasProtocol);
    m_buildBar->setDocumentReady(hasProtocol && m_protocol->GetFieldCount() > 0);
}

void TxProtocolEditor::refreshStatus(int items)
{
    if (m_infoBar->isHidden())
        m_infoBar->show();
    if (items & FieldCountItem)
        m_fieldCountLabel->setText(QString::number(m_protocol ? m_protocol->GetFieldCount() : 0));
    if (items & ByteCountItem)
        m_sizeLabel->setText(QString::number(byteCount()));
    if (items & TitleItem)
        m_documentLabel->setText(m_path.isEmpty() ? tr("Untitled") : QFileInfo(m_path).completeBaseName());
}

int TxProtocolEditor::byteCount() const
{
    if (!m_protocol)
        return 0;
    const int column = m_currentColumn >= 0 && m_currentColumn <= 2 ? m_currentColumn : 0;
    int total = 0;
    for (int i = 0; i < m_protocol->GetFieldCount(); ++i) {
        const TxField *field = m_protocol->GetField(i);
        const ValueMetaInfo *value = field->GetValueMetaInfo(column);
        if (!field->IsEnabled() || !value)
            continue;
        ValueSize size(value);
        size.CalculateSize(field->GetTypeId());
        total += size.SizeOfValue();
    }
    return total;
}

// ---------------------------------------------------------------- sending

void TxProtocolEditor::send()
{
    TxValueColumn *column = m_columns.value(m_currentColumn);
    if (m_buildBar->send(m_protocol.get(), m_currentColumn, column && column->needsBuild()) && column) {
        column->setNeedsBuild(false);
        refreshStatus(ByteCountItem);
    }
}
