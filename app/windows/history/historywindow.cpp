#include "windows/history/historywindow.h"

#include "model/historylist.h"
#include "shell/applicationoptions.h"
#include "shell/services.h"
#include "windows/common/editorheaderview.h"
#include "windows/history/historyitemeditor.h"

#include <dorvane/WdxWidgets.h>

#include <QAction>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QIcon>
#include <QLabel>
#include <QPlainTextEdit>

#include <cstdio>

HistoryWindow::HistoryWindow(const Services &services, QWidget *parent)
    : ItemListWindow(QStringLiteral(":/Resources/svg/cup-hot.svg"), parent)
    , m_historyFile(services.options.historySettingsFile)
    , m_channel(services.channel)
    , m_editorFont(services.options.editorFont)
    , m_list(new HistoryList(this))
{
    auto *toolBar = new WdxToolBar(tr("Standard"), this);
    toolBar->setObjectName(QStringLiteral("HistoryToolBar"));
    toolBar->setMovable(false);
    toolBar->setIconSize(QSize(16, 16));
    m_clearAction = toolBar->addAction(tr("Clear"), QIcon(QStringLiteral(":/Resources/dialogue/clear.png")));
    m_deletionAction
        = toolBar->addAction(tr("Deletion"), QIcon(QStringLiteral(":/Resources/toolbar/delete.png")));
    m_deletionAction->setCheckable(true);
    addToolBar(toolBar);
    connect(m_clearAction, &QAction::triggered, this, &HistoryWindow::clear);
    connect(m_deletionAction, &QAction::toggled, this, &HistoryWindow::setDeletionMode);

    header()->addSection(1, tr("Fire time"));
    header()->addSection(2, tr("Type"));
    header()->addSection(3, tr("Content"));

    connect(m_list, &HistoryList::tailItemsRemoved, this, &HistoryWindow::removeTailRows);

    const QString &path = m_historyFile;
    if (!path.isEmpty() && QFileInfo::exists(path))
        m_list->load(path);
    QList<QWidget *> rows;
    for (int i = 0; i < m_list->count(); ++i)
        rows << createRow(m_list->at(i));
    appendRows(rows);
}

HistoryWindow::~HistoryWindow()
{
    const QString &path = m_historyFile;
    if (path.isEmpty())
        return;
    QString reason;
    if (!m_list->save(path, &reason))
        std::fprintf(stderr, "Dorvane: the history could not be saved to %s: %s\n",
                     qPrintable(QDir::toNativeSeparators(path)), qPrintable(reason));
}

HistoryItemEditor *HistoryWindow::row(int index) const
{
    return static_cast<HistoryItemEditor *>(rowAt(index));
}

void HistoryWindow::record(const QString &content, int textMode)
{
    const QString fireTime = QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss.zzz"));
    HistoryRecord *kept = m_list->add(fireTime, content, textMode);
    if (rowCount() > 0 && row(0)->record() == kept) {
        row(0)->refreshFireTime();
        return;
    }
    insertRow(m_list->indexOf(kept), createRow(kept));
}

void HistoryWindow::clear()
{
    removeAllRows();
    m_list->clear();
}

void HistoryWindow::setRowNumber(QWidget *row, const QString &text)
{
    static_cast<HistoryItemEditor *>(row)->setNumber(text);
}

QList<QPair<int, QWidget *>> HistoryWindow::headerPlaces(QWidget *row) const
{
    auto *editor = static_cast<HistoryItemEditor *>(row);
    return {qMakePair(1, static_cast<QWidget *>(editor->timeLabel())),
            qMakePair(2, static_cast<QWidget *>(editor->textModeLabel())),
            qMakePair(3, static_cast<QWidget *>(editor->contentEdit()))};
}

HistoryItemEditor *HistoryWindow::createRow(HistoryRecord *record)
{
    auto *editor = new HistoryItemEditor(record, &m_channel, m_editorFont);
    editor->setDeleteVisible(m_deletionAction->isChecked());
    connect(editor, &HistoryItemEditor::deleteRequested, this, &HistoryWindow::deleteRow);
    return editor;
}

void HistoryWindow::deleteRow(HistoryItemEditor *row)
{
    if (m_list->remove(row->record()))
        removeRow(row);
}

void HistoryWindow::removeTailRows(int count)
{
    for (int i = 0; i < count && rowCount() > 0; ++i)
        removeRow(rowAt(rowCount() - 1));
}

void HistoryWindow::setDeletionMode(bool on)
{
    for (int i = 0; i < rowCount(); ++i)
        row(i)->setDeleteVisible(on);
    requestHeaderPlacement();
}
