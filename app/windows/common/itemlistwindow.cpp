#include "windows/common/itemlistwindow.h"

#include "windows/common/editorheaderview.h"
#include "windows/common/itemrows.h"
#include "windows/common/scrollworkspace.h"

#include <dorvane/wdxblankwidget.h>

#include <QCoreApplication>
#include <QEvent>
#include <QFormLayout>
#include <QResizeEvent>
#include <QVBoxLayout>

ItemListWindow::ItemListWindow(const QString &picture, QWidget *parent)
    : QMainWindow(parent)
{
    auto *central = new QWidget(this);
    central->setObjectName(QStringLiteral("Workspace"));
    central->setAttribute(Qt::WA_StyledBackground);
    m_header = new EditorHeaderView(central);
    m_header->setMinimumHeight(28);
    m_workspace = new ScrollWorkspace(central);
    m_workspace->setPicture(picture);
    auto *layout = new QVBoxLayout(central);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(m_header);
    layout->addWidget(m_workspace, 1);
    setCentralWidget(central);
    updateEmptyState();
}

void ItemListWindow::insertRow(int index, QWidget *row)
{
    index = qBound(0, index, m_rows.size());
    addRow(index, row);
    updateEmptyState();
    renumberRows(rowDigitsChanged(m_rows.size(), m_rows.size() - 1) ? 0 : index);
    requestHeaderPlacement();
}

void ItemListWindow::appendRows(const QList<QWidget *> &rows)
{
    for (QWidget *row : rows)
        addRow(m_rows.size(), row);
    updateEmptyState();
    renumberRows(0);
    requestHeaderPlacement();
}

void ItemListWindow::addRow(int index, QWidget *row)
{
    m_rows.insert(index, row);
    m_workspace->rowLayout()->insertRow(index, row);
    // The header follows the first row's controls wherever they move.
    for (const QPair<int, QWidget *> &place : headerPlaces(row))
        place.second->installEventFilter(this);
}

void ItemListWindow::removeRow(QWidget *row)
{
    if (!m_rows.removeOne(row))
        return;
    discardRow(row);
    updateEmptyState();
    renumberRows(0);
    requestHeaderPlacement();
}

void ItemListWindow::removeAllRows()
{
    const QList<QWidget *> rows = m_rows;
    m_rows.clear();
    for (QWidget *row : rows)
        discardRow(row);
    updateEmptyState();
}

void ItemListWindow::discardRow(QWidget *row)
{
    QFormLayout::TakeRowResult taken = m_workspace->rowLayout()->takeRow(row);
    delete taken.labelItem;
    delete taken.fieldItem;
    // A row may be asking for its own removal from one of its buttons: it
    // goes once that click has been handled.
    row->hide();
    row->deleteLater();
}

void ItemListWindow::swapRows(int first, int second)
{
    if (first == second || first < 0 || second < 0 || first >= m_rows.size() || second >= m_rows.size())
        return;
    if (first > second)
        qSwap(first, second);
    m_rows.swapItemsAt(first, second);
    m_workspace->moveRow(second, first);
    setRowNumber(m_rows.at(first), rowNumberText(first, m_rows.size()));
    setRowNumber(m_rows.at(second), rowNumberText(second, m_rows.size()));
    requestHeaderPlacement();
}

void ItemListWindow::renumberRows(int from)
{
    for (int i = qMax(from, 0); i < m_rows.size(); ++i)
        setRowNumber(m_rows.at(i), rowNumberText(i, m_rows.size()));
}

void ItemListWindow::updateEmptyState()
{
    const bool empty = m_rows.isEmpty();
    m_header->setVisible(!empty);
    m_workspace->setPictureVisible(empty);
}

void ItemListWindow::requestHeaderPlacement()
{
    QCoreApplication::postEvent(this, new QResizeEvent(size(), size()));
}

void ItemListWindow::resizeEvent(QResizeEvent *event)
{
    QMainWindow::resizeEvent(event);
    placeHeader();
}

bool ItemListWindow::eventFilter(QObject *watched, QEvent *event)
{
    if ((event->type() == QEvent::Move || event->type() == QEvent::Resize || event->type() == QEvent::Show)
        && !m_rows.isEmpty() && m_rows.first()->isAncestorOf(qobject_cast<QWidget *>(watched)))
        placeHeader();
    return QMainWindow::eventFilter(watched, event);
}

void ItemListWindow::placeHeader()
{
    if (m_rows.isEmpty())
        return;
    for (const QPair<int, QWidget *> &place : headerPlaces(m_rows.first())) {
        if (place.second->isVisibleTo(m_rows.first()))
            m_header->placeSectionOver(place.first, place.second);
    }
}
