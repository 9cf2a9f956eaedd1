#include "windows/instructs/instructsetwindow.h"

#include "model/instructset.h"
#include "shell/applicationoptions.h"
#include "shell/notices.h"
#include "shell/savefileaskdialog.h"
#include "shell/services.h"
#include "windows/common/editorheaderview.h"
#include "windows/common/scrollworkspace.h"
#include "windows/instructs/instructitemeditor.h"

#include <dorvane/Channel.h>
#include <dorvane/WdxWidgets.h>

#include <QAction>
#include <QCursor>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QFormLayout>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QSpinBox>
#include <QToolButton>

#include <memory>

namespace {

enum HeaderSection { TitleSection = 3, ContentSection = 4, IntervalSection = 5, TypeSection = 6 };

const char kBatchIcon[] = ":/Resources/instruct/batch-send.png";
const char kStopIcon[] = ":/Resources/toolbar/stop.png";

} // namespace

InstructSetWindow::InstructSetWindow(const Services &services, QWidget *parent)
    : ItemListWindow(QStringLiteral(":/Resources/svg/command.svg"), parent)
    , m_options(services.options)
    , m_channel(services.channel)
    , m_set(new InstructSet(this))
{
    createToolBar();
    header()->addSection(TitleSection, tr("Title"));
    header()->addSection(TypeSection, tr("Type"));
    header()->addSection(ContentSection, tr("Content"));
    header()->addSection(IntervalSection, tr("Interval"));
    updateEditModes();

    m_batchTimer.setSingleShot(true);
    m_batchTimer.setTimerType(Qt::PreciseTimer);
    connect(&m_batchTimer, &QTimer::timeout, this, &InstructSetWindow::batchStep);
    // A batch never outlives its channel: sending on into a closed channel
    // would only raise one message after another.
    connect(&m_channel, &ChannelProxy::stateChanged, this, [this](ChannelType, ChanneState state) {
        if (state != Opened)
            stopBatch();
    });
}

InstructSetWindow::~InstructSetWindow() = default;

void InstructSetWindow::createToolBar()
{
    auto *toolBar = new WdxToolBar(tr("Standard"), this);
    toolBar->setObjectName(QStringLiteral("InstructSetToolBar"));
    toolBar->setMovable(false);
    toolBar->setIconSize(QSize(16, 16));
    auto addMode = [toolBar](const QString &text, const char *icon, bool checked) {
        QAction *action = toolBar->addAction(text, QIcon(QLatin1String(icon)));
        action->setCheckable(true);
        action->setChecked(checked);
        return action;
    };
    m_newAction
        = toolBar->addAction(tr("New Instruct Set"), QIcon(QStringLiteral(":/Resources/explorer/new.png")));
    m_openAction
        = toolBar->addAction(tr("Open Instruct Set"), QIcon(QStringLiteral(":/Resources/explorer/open.png")));
    m_saveAction
        = toolBar->addAction(tr("Save Instruct Set"), QIcon(QStringLiteral(":/Resources/protocol/save.png")));
    toolBar->addSeparator();
    // Every mode starts off: the dock is narrow, and the instructs
    // themselves need the room.
    m_commentsAction = addMode(tr("Show/Hide Comments"), ":/Resources/instruct/comment.png", false);
    m_delayAction = addMode(tr("Show/Hide Delay"), ":/Resources/instruct/spin.png", false);
    toolBar->addSeparator();
    m_editAction = addMode(tr("Edit"), ":/Resources/explorer/edit.png", false);
    m_moveAction = addMode(tr("Move"), ":/Resources/toolbar/move.png", false);
    m_deletionAction = addMode(tr("Deletion"), ":/Resources/toolbar/delete.png", false);
    toolBar->addSeparator();
    m_batchButton = toolBar->addToolButton(tr("Start Batch Send"), QIcon(QLatin1String(kBatchIcon)));
    m_batchButton->setObjectName(QStringLiteral("BatchSendButton"));
    // The dock is narrow: the buttons show their pictures, their names are
    // in the tool tips.
    for (QAction *action : toolBar->actions()) {
        if (auto *button = qobject_cast<QToolButton *>(toolBar->widgetForAction(action)))
            button->setToolButtonStyle(Qt::ToolButtonIconOnly);
    }
    m_batchButton->setToolTip(m_batchButton->text());
    addToolBar(toolBar);

    connect(m_newAction, &QAction::triggered, this, &InstructSetWindow::newSet);
    connect(m_openAction, &QAction::triggered, this, &InstructSetWindow::askOpen);
    connect(m_saveAction, &QAction::triggered, this, &InstructSetWindow::saveAs);
    for (QAction *mode : {m_commentsAction, m_delayAction, m_editAction, m_moveAction, m_deletionAction})
        connect(mode, &QAction::toggled, this, &InstructSetWindow::updateEditModes);
    connect(m_batchButton, &QToolButton::clicked, this, &InstructSetWindow::toggleBatch);
}

InstructItemEditor *InstructSetWindow::row(int index) const
{
    return static_cast<InstructItemEditor *>(rowAt(index));
}

void InstructSetWindow::setRowNumber(QWidget *row, const QString &text)
{
    static_cast<InstructItemEditor *>(row)->setNumber(text);
}

QList<QPair<int, QWidget *>> InstructSetWindow::headerPlaces(QWidget *row) const
{
    auto *editor = static_cast<InstructItemEditor *>(row);
    return {qMakePair(int(TitleSection), static_cast<QWidget *>(editor->titleEdit())),
            qMakePair(int(TypeSection), static_cast<QWidget *>(editor->textModeLabel())),
            qMakePair(int(ContentSection), static_cast<QWidget *>(editor->instructEdit())),
            qMakePair(int(IntervalSection), static_cast<QWidget *>(editor->intervalSpinBox()))};
}

void InstructSetWindow::add(const QString &content, int textMode)
{
    if (content.isEmpty())
        return;
    InstructItem *item = m_set->append(content, textMode);
    insertRow(m_set->indexOf(item), createRow(item));
    // An added instruct is a change like any other: closing asks to keep it.
    setModified(true);
}

QWidget *InstructSetWindow::createRowAt(int index)
{
    InstructItem *item = m_set->at(index);
    return item ? createRow(item) : nullptr;
}

InstructItemEditor *InstructSetWindow::createRow(InstructItem *item)
{
    auto *editor = new InstructItemEditor(item, &m_channel, m_options.editorFont);
    connect(editor, &InstructItemEditor::transmitTextRequested, this,
            &InstructSetWindow::transmitTextRequested);
    applyEditModes(editor);
    connect(editor, &InstructItemEditor::edited, this, [this] { setModified(true); });
    connect(editor, &InstructItemEditor::deleteRequested, this, &InstructSetWindow::deleteRow);
    connect(editor, &InstructItemEditor::moveRequested, this, &InstructSetWindow::moveRow);
    connect(editor, &InstructItemEditor::sendRequested, this, &InstructSetWindow::sendRow);
    return editor;
}

void InstructSetWindow::applyEditModes(InstructItemEditor *row) const
{
    row->setTitleVisible(m_commentsAction->isChecked());
    row->setIntervalVisible(m_delayAction->isChecked());
    row->setEditVisible(m_editAction->isChecked());
    row->setMoveVisible(m_moveAction->isChecked());
    row->setDeleteVisible(m_deletionAction->isChecked());
}

void InstructSetWindow::updateEditModes()
{
    // Rows still to come take the modes when they are made.
    for (QWidget *created : createdRows())
        applyEditModes(static_cast<InstructItemEditor *>(created));
    header()->sectionLabel(TitleSection)->setVisible(m_commentsAction->isChecked());
    header()->sectionLabel(IntervalSection)->setVisible(m_delayAction->isChecked());
    requestHeaderPlacement();
}

void InstructSetWindow::setModified(bool modified)
{
    m_modified = modified;
}

void InstructSetWindow::sendRow(InstructItemEditor *row)
{
    noticeSendResult(row->send());
}

void InstructSetWindow::deleteRow(InstructItemEditor *row)
{
    if (!m_set->remove(row->item()))
        return;
    removeRow(row);
    setModified(true);
}

void InstructSetWindow::moveRow(InstructItemEditor *row, int step)
{
    const int from = rowIndex(row);
    const int to = from + step;
    if (from < 0 || to < 0 || to >= rowCount())
        return;
    // The neighbour is made from its item before the items trade places.
    this->row(to);
    m_set->swap(from, to);
    swapRows(from, to);
    // The pointer stays over the button that moved with its row.
    const int spacing = qMax(workspace()->rowLayout()->verticalSpacing(), 0);
    QCursor::setPos(QCursor::pos() + QPoint(0, step * (row->height() + spacing)));
    setModified(true);
}

bool InstructSetWindow::askSave()
{
    if (!m_modified)
        return true;
    return SaveFileAskDialog::askToSave(this, tr("Save instruct set"),
                                        tr("Instruct set has changed, do you want save it?"),
                                        [this] { return m_path.isEmpty() ? saveAs() : save(m_path); });
}

bool InstructSetWindow::saveAs()
{
    const QString start = !m_path.isEmpty() ? m_path : m_options.lastInstructSetDir;
    QString path = QFileDialog::getSaveFileName(this, tr("Save instruct set"), start,
                                                tr("Dorvane instruct set (*.dvits)"));
    if (path.isEmpty())
        return false;
    // A name typed without an extension still gives a file Open will offer.
    if (QFileInfo(path).suffix().isEmpty())
        path += QStringLiteral(".dvits");
    return save(path);
}

bool InstructSetWindow::save(const QString &path)
{
    QString reason;
    if (!m_set->save(path, &reason)) {
        warnSaveFailed(this, path, reason);
        return false;
    }
    m_path = path;
    m_options.lastInstructSetDir = QFileInfo(path).absolutePath();
    setModified(false);
    return true;
}

bool InstructSetWindow::writeRecoveryCopy(const QString &path)
{
    return m_set->save(path, nullptr);
}

bool InstructSetWindow::restoreRecoveryCopy(const QString &copy, const QString &originalPath)
{
    if (!open(copy))
        return false;
    m_path = originalPath;
    setModified(true);
    return true;
}

void InstructSetWindow::newSet()
{
    if (!askSave())
        return;
    stopBatch();
    removeAllRows();
    m_set->clear();
    m_path.clear();
    setModified(false);
}

void InstructSetWindow::askOpen()
{
    if (!askSave())
        return;
    const QString path = askOpenFileName(this, OpenInstructSet);
    if (path.isEmpty())
        return;
    if (!open(path))
        warnOpenFailed(this, path);
}

bool InstructSetWindow::open(const QString &path)
{
    WdxWaitCursor wait;
    auto loaded = std::make_unique<InstructSet>();
    if (!QFileInfo(path).isFile() || !loaded->load(path) || loaded->isEmpty())
        return false;
    stopBatch();
    removeAllRows();
    InstructSet *old = m_set;
    m_set = loaded.release();
    m_set->setParent(this);
    delete old;
    // A set of a thousand instructs would take most of a second to show
    // row by row: rows are made as they come into view.
    appendPendingRows(m_set->count());
    m_path = path;
    setModified(false);
    return true;
}

void InstructSetWindow::toggleBatch()
{
    if (m_batchRunning)
        stopBatch();
    else
        startBatch();
}

void InstructSetWindow::startBatch()
{
    if (m_batchRunning || rowCount() == 0)
        return;
    if (!m_channel.isOpen()) {
        noticeNoChannel();
        return;
    }
    m_batchRunning = true;
    m_batchIndex = 0;
    m_batchButton->setText(tr("Stop Batch Send"));
    m_batchButton->setToolTip(m_batchButton->text());
    m_batchButton->setIcon(QIcon(QLatin1String(kStopIcon)));
    batchStep();
}

void InstructSetWindow::stopBatch()
{
    m_batchTimer.stop();
    if (!m_batchRunning)
        return;
    m_batchRunning = false;
    m_batchIndex = -1;
    m_batchButton->setText(tr("Start Batch Send"));
    m_batchButton->setToolTip(m_batchButton->text());
    m_batchButton->setIcon(QIcon(QLatin1String(kBatchIcon)));
}

void InstructSetWindow::batchStep()
{
    if (!m_batchRunning)
        return;
    if (rowCount() == 0 || !m_channel.isOpen()) {
        stopBatch();
        return;
    }
    // Rows deleted meanwhile: go on from the first.
    if (m_batchIndex < 0 || m_batchIndex >= rowCount())
        m_batchIndex = 0;
    InstructItemEditor *current = row(m_batchIndex);
    if (current->send() == TransmitTextSender::BuildFailed) {
        stopBatch();
        noticeBuildFailed();
        return;
    }
    m_batchTimer.start(current->item()->interval);
    m_batchIndex = (m_batchIndex + 1) % rowCount();
}
