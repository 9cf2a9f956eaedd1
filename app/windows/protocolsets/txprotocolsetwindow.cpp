#include "windows/protocolsets/txprotocolsetwindow.h"

#include "model/txprotocolset.h"
#include "services/periodsendcontroller.h"
#include "services/streamsender.h"
#include "shell/applicationoptions.h"
#include "shell/notices.h"
#include "shell/savefileaskdialog.h"
#include "shell/services.h"
#include "windows/common/editorheaderview.h"
#include "windows/common/scrollworkspace.h"
#include "windows/protocolsets/txprotocolsetitemeditor.h"

#include <dorvane/channelproxy.h>
#include <dorvane/txprotocol.h>
#include <dorvane/wdxblankwidget.h>
#include <dorvane/wdxinfobar.h>
#include <dorvane/wdxtoolbar.h>
#include <dorvane/wdxwaitcursor.h>

#include <QAction>
#include <QComboBox>
#include <QCoreApplication>
#include <QCursor>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QFormLayout>
#include <QLabel>
#include <QMenu>
#include <QMessageBox>
#include <QResizeEvent>
#include <QScrollBar>
#include <QSpinBox>
#include <QStatusBar>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

// Header sections of the set window.
enum Section {
    SectionValue = 4,
    SectionInterval = 5,
    SectionFileName = 7,
    SectionDirectory = 8,
};

const int kModeCount = TxProtocolSetItemEditor::PeriodMode + 1;

int digitCount(int number)
{
    return QString::number(qMax(number, 1)).size();
}

} // namespace

TxProtocolSetWindow::TxProtocolSetWindow(const Services &services, QWidget *parent)
    : QMainWindow(parent)
    , m_set(new TxProtocolSet(&services.context, this))
    , m_periodSend(&services.periodSend)
    , m_options(services.options)
    , m_context(services.context)
    , m_channel(services.channel)
    , m_sender(services.protocolSetSender)
{
    createToolBars();
    createStatusWidget();

    auto *central = new QWidget(this);
    m_header = new EditorHeaderView(central);
    m_header->setMinimumHeight(28);
    m_header->addSection(SectionFileName, tr("File Name"), Qt::AlignLeft);
    m_header->addSection(SectionDirectory, tr("Directory"), Qt::AlignLeft);
    m_header->addSection(SectionValue, tr("Value"), Qt::AlignLeft);
    m_header->addSection(SectionInterval, tr("Interval"), Qt::AlignLeft);
    m_header->sectionLabel(SectionValue)->hide();
    m_header->sectionLabel(SectionInterval)->hide();
    m_workspace = new ScrollWorkspace(central);
    m_workspace->setPicture(QStringLiteral(":/Resources/svg/columns-gap.svg"));
    m_workspace->content()->setText(tr("Add protocol files to send them in turn"));
    auto *layout = new QVBoxLayout(central);
    layout->setContentsMargins(4, 0, 4, 0);
    layout->setSpacing(0);
    layout->addWidget(m_header);
    layout->addWidget(m_workspace, 1);
    setCentralWidget(central);
    updateEmptyState();
    // The header labels follow the rows when they scroll sideways.
    connect(m_workspace->horizontalScrollBar(), &QScrollBar::valueChanged, this,
            &TxProtocolSetWindow::postRelayout);

    connect(m_periodSend, &PeriodSendController::stateChanged, this,
            &TxProtocolSetWindow::onLoopSendStateChanged);
}

TxProtocolSetWindow::~TxProtocolSetWindow()
{
    stopIfOwnedBy(m_rows);
}

QWidget *TxProtocolSetWindow::statusWidget() const
{
    return m_statusWidget;
}

QAction *TxProtocolSetWindow::addModeAction(WdxToolBar *bar, const QString &text, const QString &icon)
{
    QAction *action = bar->QToolBar::addAction(QIcon(icon), text);
    action->setCheckable(true);
    connect(action, &QAction::toggled, this, &TxProtocolSetWindow::onShowEditOptions);
    m_modeActions << action;
    return action;
}

void TxProtocolSetWindow::createToolBars()
{
    auto *standard = new WdxToolBar(tr("Standard"), this);
    standard->setObjectName(QStringLiteral("Standard"));
    standard->setIconSize(QSize(16, 16));
    standard->setMovable(false);
    QAction *newSet = standard->QToolBar::addAction(QIcon(QStringLiteral(":/Resources/explorer/new.png")),
                                                    tr("New Protocol Set"));
    QAction *openSet = standard->QToolBar::addAction(QIcon(QStringLiteral(":/Resources/explorer/open.png")),
                                                     tr("Open Protocol Set"));
    QAction *saveSet = standard->QToolBar::addAction(QIcon(QStringLiteral(":/Resources/protocol/save.png")),
                                                     tr("Save Protocol Set"));
    auto *saveAs = new QAction(tr("Save Protocol Set As..."), this);
    newSet->setShortcut(QKeySequence::New);
    openSet->setShortcut(QKeySequence::Open);
    saveSet->setShortcut(QKeySequence::Save);
    saveAs->setShortcut(QKeySequence::SaveAs);
    // The shortcuts belong to the window that has the focus: the protocol
    // editor has the same ones.
    for (QAction *action : {newSet, openSet, saveSet, saveAs})
        action->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    addAction(saveAs);
    auto *saveMenu = new QMenu(this);
    saveMenu->addAction(saveAs);
    if (auto *saveButton = qobject_cast<QToolButton *>(standard->widgetForAction(saveSet))) {
        saveButton->setMenu(saveMenu);
        saveButton->setPopupMode(QToolButton::MenuButtonPopup);
    }
    connect(newSet, &QAction::triggered, this, &TxProtocolSetWindow::onNewSolution);
    connect(openSet, &QAction::triggered, this, &TxProtocolSetWindow::onOpenSolution);
    connect(saveSet, &QAction::triggered, this, &TxProtocolSetWindow::onSaveSolution);
    connect(saveAs, &QAction::triggered, this, &TxProtocolSetWindow::onSaveSolutionAs);
    standard->addSeparator();

    QAction *add = standard->QToolBar::addAction(QIcon(QStringLiteral(":/Resources/explorer/add.png")),
                                                 tr("Add Files"));
    QAction *insert = standard->QToolBar::addAction(QIcon(QStringLiteral(":/Resources/explorer/insert.png")),
                                                    tr("Insert File"));
    connect(add, &QAction::triggered, this, &TxProtocolSetWindow::onAddFiles);
    connect(insert, &QAction::triggered, this, &TxProtocolSetWindow::onInsertFiles);
    m_positionSpin = standard->addSpinBox(1, 300, 1, 48);
    m_positionSpin->setObjectName(QStringLiteral("PositionSpinBox"));
    m_positionSpin->setToolTip(tr("Position of the inserted file"));

    addToolBar(standard);
    addToolBarBreak();

    // The edit modes stand in a strip beside the rows: in one line with the
    // document actions they would not fit the dock's width.
    auto *modes = new WdxToolBar(tr("Edit"), this);
    modes->setObjectName(QStringLiteral("Edit"));
    modes->setIconSize(QSize(16, 16));
    modes->setMovable(false);
    modes->setOrientation(Qt::Vertical);
    // In the order of TxProtocolSetItemEditor::Mode.
    addModeAction(modes, tr("Enable"), QStringLiteral(":/Resources/toolbar/enable.png"));
    addModeAction(modes, tr("Edit"), QStringLiteral(":/Resources/explorer/edit.png"));
    addModeAction(modes, tr("Move"), QStringLiteral(":/Resources/toolbar/move.png"));
    addModeAction(modes, tr("Deletion"), QStringLiteral(":/Resources/toolbar/delete.png"));
    addModeAction(modes, tr("Select Value Set"), QStringLiteral(":/Resources/explorer/vindex.png"));
    addModeAction(modes, tr("Period Send Options"), QStringLiteral(":/Resources/explorer/psend.png"));
    addToolBar(Qt::LeftToolBarArea, modes);

    auto *transmit = new WdxToolBar(tr("Transmite"), this);
    transmit->setObjectName(QStringLiteral("Transmite"));
    transmit->setIconSize(QSize(16, 16));
    transmit->setMovable(false);
    QAction *reset = transmit->QToolBar::addAction(QIcon(QStringLiteral(":/Resources/explorer/reset.png")),
                                                   tr("Reset Generator"));
    connect(reset, &QAction::triggered, this, &TxProtocolSetWindow::onResetTransmit);
    transmit->addSeparator();
    m_periodButton = transmit->addToolButton(
        tr("Enable Period Send"), QIcon(QStringLiteral(":/Resources/explorer/psend.png")), true, false);
    m_periodButton->setObjectName(QStringLiteral("EnablePeriodSendButton"));
    m_periodButton->setToolButtonStyle(Qt::ToolButtonIconOnly);
    m_periodButton->setToolTip(tr("Enable Period Send"));
    m_intervalSpin = transmit->addSpinBox(1, 60000, 1000, 64, true, tr(" (ms)"));
    m_intervalSpin->setObjectName(QStringLiteral("IntervalSpinBox"));
    m_intervalSpin->setMinimumWidth(64);
    transmit->addSeparator();
    m_sendButton = transmit->addToolButton(tr("Send"), QIcon(QStringLiteral(":/Resources/toolbar/send.png")));
    m_sendButton->setObjectName(QStringLiteral("SendButton"));
    connect(m_sendButton, &QToolButton::clicked, this, &TxProtocolSetWindow::onSend);
    addToolBar(transmit);
}

void TxProtocolSetWindow::createStatusWidget()
{
    m_statusWidget = new WdxInfoBar(this);
    m_statusWidget->setObjectName(QStringLiteral("ProtocolSetInfo"));
    m_statusWidget->addSeparator();
    m_statusWidget->addIcon(QIcon(QStringLiteral(":/Resources/statusbar/proset.png")), QSize(16, 16));
    m_title = m_statusWidget->addLabel(tr("No Protocol Set"));
    m_title->setObjectName(QStringLiteral("ProtocolSetTitle"));
}

// ---------------------------------------------------------------- document

bool TxProtocolSetWindow::askSave()
{
    if (!m_modified)
        return true;
    return SaveFileAskDialog::askToSave(this, tr("Save Solution"),
                                        tr("Solution has changed, do you want save it?"),
                                        [this] { return saveDocument(false); });
}

void TxProtocolSetWindow::onNewSolution()
{
    if (!askSave())
        return;
    stopIfOwnedBy(m_rows);
    removeAllRows();
    delete m_set;
    m_set = new TxProtocolSet(&m_context, this);
    m_path.clear();
    m_needsRebuild = true;
    setModified(false);
    updateEmptyState();
    refreshTitle();
}

void TxProtocolSetWindow::onOpenSolution()
{
    if (!askSave())
        return;
    const QString path = askOpenFileName(this, OpenProtocolSet);
    if (path.isEmpty())
        return;
    if (!open(path))
        warnOpenFailed(this, path);
}

void TxProtocolSetWindow::onSaveSolution()
{
    saveDocument(false);
}

void TxProtocolSetWindow::onSaveSolutionAs()
{
    saveDocument(true);
}

bool TxProtocolSetWindow::saveDocument(bool askName)
{
    QString path = m_path;
    if (askName || path.isEmpty()) {
        QFileDialog dialog(this, tr("Save protocol set"), path.isEmpty() ? m_options.lastSolutionDir : path,
                           tr("Dorvane protocol set (*.dvpts)"));
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setDefaultSuffix(QStringLiteral("dvpts"));
        if (!path.isEmpty())
            dialog.selectFile(path);
        if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
            return false;
        path = dialog.selectedFiles().constFirst();
        if (path.isEmpty())
            return false;
        m_options.lastSolutionDir = QFileInfo(path).absolutePath();
    }
    if (!m_set->Save(path)) {
        // The document keeps its changes and its old name.
        warnSaveFailed(this, path, m_set->errorString());
        return false;
    }
    m_path = path;
    setModified(false);
    refreshTitle();
    return true;
}

bool TxProtocolSetWindow::writeRecoveryCopy(const QString &path)
{
    return m_set && m_set->Save(path);
}

bool TxProtocolSetWindow::restoreRecoveryCopy(const QString &copy, const QString &originalPath)
{
    if (!open(copy))
        return false;
    m_path = originalPath;
    setModified(true);
    refreshTitle();
    return true;
}

bool TxProtocolSetWindow::open(const QString &path)
{
    WdxWaitCursor wait;
    m_openError.clear();
    if (!QFileInfo::exists(path)) {
        m_openError = tr("The file does not exist.");
        return false;
    }
    auto *loaded = new TxProtocolSet(&m_context, this);
    if (!loaded->Load(path) || loaded->isEmpty()) {
        const QStringList skipped = loaded->skippedPaths();
        if (skipped.isEmpty())
            m_openError = loaded->errorString();
        delete loaded;
        if (!skipped.isEmpty())
            warnSkipped(tr("None of the protocol files of the set could be loaded:"), skipped);
        return false;
    }
    stopIfOwnedBy(m_rows);
    removeAllRows();
    delete m_set;
    m_set = loaded;
    for (int i = 0; i < m_set->itemCount(); ++i)
        createRow(m_set->itemAt(i), i);
    m_needsRebuild = true;
    m_path = QFileInfo(path).absoluteFilePath();
    setModified(false);
    updateEmptyState();
    renumberRows();
    refreshTitle();
    postRelayout();
    if (!m_set->skippedPaths().isEmpty())
        warnSkipped(tr("These protocol files of the set are missing or unreadable and were skipped:"),
                    m_set->skippedPaths());
    return true;
}

void TxProtocolSetWindow::setModified(bool modified)
{
    m_modified = modified;
}

void TxProtocolSetWindow::refreshTitle()
{
    m_title->setText(m_path.isEmpty() ? tr("Untitled") : QFileInfo(m_path).completeBaseName());
    m_title->setToolTip(QDir::toNativeSeparators(m_path));
}

void TxProtocolSetWindow::updateEmptyState()
{
    const bool empty = m_set->isEmpty();
    m_header->setVisible(!empty);
    m_workspace->setPictureVisible(empty);
}

void TxProtocolSetWindow::postRelayout()
{
    QCoreApplication::postEvent(this, new QResizeEvent(size(), size()));
}

void TxProtocolSetWindow::warnSkipped(const QString &intro, const QStringList &paths)
{
    QStringList lines;
    for (const QString &path : paths)
        lines << QDir::toNativeSeparators(path);
    QMessageBox box(QMessageBox::Warning, QStringLiteral("Dorvane"), intro, QMessageBox::Ok, this);
    // A long list goes into the details, so the box stays on the screen.
    const int shown = 10;
    QString text = intro + QLatin1Char('\n') + lines.mid(0, shown).join(QLatin1Char('\n'));
    if (lines.size() > shown) {
        text += QLatin1Char('\n') + tr("... and %1 more").arg(lines.size() - shown);
        box.setDetailedText(lines.join(QLatin1Char('\n')));
    }
    box.setText(text);
    box.exec();
}

// ---------------------------------------------------------------- rows

void TxProtocolSetWindow::onAddFiles()
{
    insertFiles(m_set->itemCount());
}

void TxProtocolSetWindow::onInsertFiles()
{
    insertFiles(qMin(m_positionSpin->value() - 1, m_set->itemCount()));
}

void TxProtocolSetWindow::insertFiles(int index)
{
    const QStringList files = QFileDialog::getOpenFileNames(
        this, tr("Add protocols"), m_options.lastProtocolDir, tr("Dorvane protocol (*.dvptc)"));
    if (files.isEmpty())
        return;
    const bool wasEmpty = m_set->isEmpty();
    QStringList skipped;
    int at = index;
    for (const QString &file : files) {
        TxProtocolSetItem *item = m_set->insertItem(file, at);
        if (!item) {
            skipped << file;
            continue;
        }
        createRow(item, at);
        ++at;
    }
    m_options.lastProtocolDir = QFileInfo(files.constFirst()).absolutePath();
    if (at > index) {
        m_needsRebuild = true;
        setModified(true);
        renumberRows();
        refreshTitle();
        if (wasEmpty) {
            updateEmptyState();
        }
        postRelayout();
    }
    if (!skipped.isEmpty())
        warnSkipped(tr("These files are not readable protocol files and were not added:"), skipped);
}

TxProtocolSetItemEditor *TxProtocolSetWindow::createRow(TxProtocolSetItem *item, int index)
{
    auto *row = new TxProtocolSetItemEditor(item, m_options.editorFont, m_workspace->content());
    for (int mode = 0; mode < kModeCount && mode < m_modeActions.size(); ++mode)
        row->setEditMode(TxProtocolSetItemEditor::Mode(mode), m_modeActions.at(mode)->isChecked());
    m_workspace->rowLayout()->insertRow(index, row);
    m_rows.insert(index, row);

    connect(row, &TxProtocolSetItemEditor::editRequested, this, &TxProtocolSetWindow::editRow);
    connect(row, &TxProtocolSetItemEditor::enableToggled, this, [this] {
        m_needsSelect = true;
        setModified(true);
    });
    connect(row, &TxProtocolSetItemEditor::valueIndexChanged, this, [this] {
        m_needsRebuild = true;
        setModified(true);
    });
    connect(row, &TxProtocolSetItemEditor::intervalChanged, this, [this] { setModified(true); });
    connect(row, &TxProtocolSetItemEditor::deleteRequested, this, &TxProtocolSetWindow::deleteRow);
    connect(row, &TxProtocolSetItemEditor::moveUpRequested, this,
            [this](TxProtocolSetItemEditor *r) { moveRow(r, -1); });
    connect(row, &TxProtocolSetItemEditor::moveDownRequested, this,
            [this](TxProtocolSetItemEditor *r) { moveRow(r, 1); });
    connect(row, &TxProtocolSetItemEditor::sendRequested, this, &TxProtocolSetWindow::sendRow);
    connect(row, &TxProtocolSetItemEditor::periodSendRequested, this, &TxProtocolSetWindow::periodSendRow);
    return row;
}

void TxProtocolSetWindow::removeAllRows()
{
    QFormLayout *layout = m_workspace->rowLayout();
    while (layout->rowCount() > 0)
        layout->removeRow(0);
    m_rows.clear();
    m_streams.clear();
}

void TxProtocolSetWindow::renumberRows()
{
    const int width = digitCount(m_rows.size());
    for (int i = 0; i < m_rows.size(); ++i)
        m_rows.at(i)->setNumber(i + 1, width);
}

void TxProtocolSetWindow::onShowEditOptions()
{
    for (int mode = 0; mode < m_modeActions.size(); ++mode) {
        const bool on = m_modeActions.at(mode)->isChecked();
        for (TxProtocolSetItemEditor *row : qAsConst(m_rows))
            row->setEditMode(TxProtocolSetItemEditor::Mode(mode), on);
    }
    m_header->sectionLabel(SectionValue)
        ->setVisible(m_modeActions.at(TxProtocolSetItemEditor::ValueMode)->isChecked());
    m_header->sectionLabel(SectionInterval)
        ->setVisible(m_modeActions.at(TxProtocolSetItemEditor::PeriodMode)->isChecked());
    postRelayout();
}

void TxProtocolSetWindow::editRow(TxProtocolSetItemEditor *row)
{
    if (!row)
        return;
    // The editor's open asks about its own unsaved changes, once, and a file
    // it cannot read is said so.
    emit protocolFileOpenRequested(row->item()->path);
}

void TxProtocolSetWindow::deleteRow(TxProtocolSetItemEditor *row)
{
    const int index = m_rows.indexOf(row);
    if (index < 0 || !m_set->removeItem(index))
        return;
    stopIfOwnedBy({row});
    m_streams.remove(row->item());
    m_rows.removeAt(index);
    // The row is the sender of the click being handled: it goes later.
    QFormLayout::TakeRowResult taken = m_workspace->rowLayout()->takeRow(index);
    delete taken.fieldItem;
    delete taken.labelItem;
    row->hide();
    row->deleteLater();
    renumberRows();
    m_needsRebuild = true;
    setModified(true);
    updateEmptyState();
    postRelayout();
}

void TxProtocolSetWindow::moveRow(TxProtocolSetItemEditor *row, int step)
{
    const int index = m_rows.indexOf(row);
    const int target = index + step;
    if (index < 0 || target < 0 || target >= m_rows.size() || !m_set->swapItems(index, target))
        return;
    m_workspace->moveRow(index, target);
    m_rows.swapItemsAt(index, target);
    const int width = digitCount(m_rows.size());
    m_rows.at(index)->setNumber(index + 1, width);
    m_rows.at(target)->setNumber(target + 1, width);
    // The pointer follows the row, so repeated clicks keep moving it.
    const int spacing = qMax(0, m_workspace->rowLayout()->verticalSpacing());
    QCursor::setPos(QCursor::pos() + QPoint(0, step * (row->height() + spacing)));
    m_needsRebuild = true;
    setModified(true);
}

// ---------------------------------------------------------------- sending

void TxProtocolSetWindow::rebuild()
{
    StreamSender *streams = setSender();
    if (!streams)
        return;
    streams->clear();
    m_streams.clear();
    for (TxProtocolSetItemEditor *row : qAsConst(m_rows)) {
        TxProtocolSetItem *item = row->item();
        const bool built = streams->addStream(item->protocol.get(), item->valueIndex);
        m_streams.insert(item, built ? streams->streamCount() - 1 : -1);
        row->setBuildFailed(!built);
    }
    m_needsRebuild = false;
    selectEnabled();
}

bool TxProtocolSetWindow::selectEnabled()
{
    std::vector<int> indexes;
    for (TxProtocolSetItemEditor *row : qAsConst(m_rows)) {
        const int stream = streamOf(row->item());
        if (row->item()->enable && stream >= 0)
            indexes.push_back(stream);
    }
    m_needsSelect = false;
    return setSender() && setSender()->selectSome(indexes);
}

int TxProtocolSetWindow::streamOf(const TxProtocolSetItem *item) const
{
    return m_streams.value(item, -1);
}

bool TxProtocolSetWindow::enabledItemFailed() const
{
    for (TxProtocolSetItemEditor *row : m_rows) {
        if (row->item()->enable && row->buildFailed())
            return true;
    }
    return false;
}

bool TxProtocolSetWindow::ownPeriodSendRuns()
{
    QObject *owner = m_periodSend->owner();
    return owner && (owner == this || rowOf(owner));
}

TxProtocolSetItemEditor *TxProtocolSetWindow::rowOf(const QObject *object) const
{
    for (TxProtocolSetItemEditor *row : m_rows) {
        if (row == object)
            return row;
    }
    return nullptr;
}

void TxProtocolSetWindow::stopIfOwnedBy(const QList<TxProtocolSetItemEditor *> &rows)
{
    for (TxProtocolSetItemEditor *row : rows) {
        if (m_periodSend->stop(row))
            return;
    }
}

bool TxProtocolSetWindow::channelOpen() const
{
    return m_channel.isOpen();
}

bool TxProtocolSetWindow::readyToSend() const
{
    if (!channelOpen()) {
        noticeNoChannel();
        return false;
    }
    return setSender() != nullptr;
}

bool TxProtocolSetWindow::stopOrRefusePeriodSend(const QObject *owner)
{
    if (m_periodSend->stop(owner))
        return true;
    if (!m_periodSend->runs())
        return false;
    noticePeriodSendBusy();
    return true;
}

void TxProtocolSetWindow::startPeriodSend(QObject *owner, const QString &description, int interval)
{
    if (!m_periodSend->start(owner, description, setSender(), interval))
        noticePeriodSendBusy();
}

bool TxProtocolSetWindow::selectRow(TxProtocolSetItemEditor *row)
{
    if (m_needsRebuild)
        rebuild();
    const int stream = streamOf(row->item());
    if (stream < 0) {
        noticeBuildFailed();
        return false;
    }
    // The window's Send repeats this row until the next rebuild or select.
    setSender()->selectOne(stream);
    m_needsSelect = false;
    return true;
}

void TxProtocolSetWindow::onSend()
{
    if (!readyToSend())
        return;
    if (!m_periodButton->isChecked()) {
        // A single frame through the sender of a running periodic sending
        // would change what that sending sends.
        if (ownPeriodSendRuns()) {
            noticePeriodSendBusy();
            return;
        }
        if (m_needsRebuild)
            rebuild();
        else if (m_needsSelect)
            selectEnabled();
        if (!setSender()->sendNext() && enabledItemFailed())
            noticeBuildFailed();
        return;
    }
    if (stopOrRefusePeriodSend(this))
        return;
    if (m_needsRebuild)
        rebuild();
    if (!selectEnabled()) {
        if (enabledItemFailed())
            noticeBuildFailed();
        return;
    }
    startPeriodSend(this, tr("Protocol Set Editor"), m_intervalSpin->value());
}

void TxProtocolSetWindow::sendRow(TxProtocolSetItemEditor *row)
{
    if (!readyToSend() || !m_rows.contains(row))
        return;
    if (ownPeriodSendRuns()) {
        noticePeriodSendBusy();
        return;
    }
    if (selectRow(row))
        setSender()->sendNext();
}

void TxProtocolSetWindow::periodSendRow(TxProtocolSetItemEditor *row)
{
    if (!readyToSend() || !m_rows.contains(row) || stopOrRefusePeriodSend(row))
        return;
    if (selectRow(row))
        startPeriodSend(row, tr("File Editor"), row->intervalSpin()->value());
}

void TxProtocolSetWindow::onResetTransmit()
{
    if (StreamSender *streams = setSender())
        streams->resetGenerators();
    // A reset cannot fail: a word in the status line, not a box to dismiss.
    statusBar()->showMessage(tr("Generator reset done!"), 5000);
}

void TxProtocolSetWindow::onLoopSendStateChanged(QObject *owner, bool state)
{
    if (!owner)
        return;
    if (owner == this) {
        m_sendButton->setIcon(QIcon(state ? QStringLiteral(":/Resources/toolbar/stop.png")
                                          : QStringLiteral(":/Resources/toolbar/send.png")));
        m_sendButton->setText(state ? tr("Stop Send") : tr("Send"));
        m_periodButton->setEnabled(!state);
        return;
    }
    if (TxProtocolSetItemEditor *row = rowOf(owner))
        row->setLoopSend(state);
}

// ---------------------------------------------------------------- layout

void TxProtocolSetWindow::resizeEvent(QResizeEvent *event)
{
    QMainWindow::resizeEvent(event);
    if (m_rows.isEmpty())
        return;
    const TxProtocolSetItemEditor *first = m_rows.constFirst();
    m_header->placeSectionOver(SectionFileName, first->fileNameLabel());
    m_header->placeSectionOver(SectionDirectory, first->fileDirLabel());
    m_header->placeSectionOver(SectionValue, first->valueCombo());
    m_header->placeSectionOver(SectionInterval, first->intervalSpin());
}
