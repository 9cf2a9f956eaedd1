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

#include <functional>

namespace {

// Stands where a row will be until the row comes into view. Being painted
// is how it knows it is in view: it asks its window to make the rows there.
class PendingRow : public QWidget
{
public:
    PendingRow(int height, std::function<void()> inView)
        : m_inView(std::move(inView))
    {
        setFixedHeight(height);
        setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    }

protected:
    void paintEvent(QPaintEvent *) override { m_inView(); }

private:
    std::function<void()> m_inView;
};

bool isPending(const QWidget *row)
{
    return dynamic_cast<const PendingRow *>(row) != nullptr;
}

// Rows made at once when a long list opens, before its layout has told how
// many fit: more than a tall dock shows.
const int kFirstRows = 16;

} // namespace

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

void ItemListWindow::appendPendingRows(int count)
{
    const int first = m_rows.size();
    const int height = pendingRowHeight();
    for (int i = 0; i < count; ++i) {
        auto *pending = new PendingRow(height, [this] { scheduleRowsInView(); });
        m_rows.append(pending);
        m_workspace->rowLayout()->addRow(pending);
    }
    m_pendingCount += count;
    for (int i = first; i < qMin(m_rows.size(), first + kFirstRows); ++i)
        createPendingRow(i);
    // The stand-ins take the height of the rows made, so the scroll range
    // is about right from the start.
    if (m_rowHeight && m_rowHeight != height) {
        for (int i = first + kFirstRows; i < m_rows.size(); ++i)
            m_rows.at(i)->setFixedHeight(m_rowHeight);
    }
    updateEmptyState();
    renumberRows(0);
    requestHeaderPlacement();
}

QWidget *ItemListWindow::createRowAt(int)
{
    return nullptr;
}

QWidget *ItemListWindow::rowAt(int index) const
{
    if (index < 0 || index >= m_rows.size())
        return nullptr;
    // Asking for a row that has not come into view yet makes it.
    return isPending(m_rows.at(index)) ? const_cast<ItemListWindow *>(this)->createPendingRow(index)
                                       : m_rows.at(index);
}

bool ItemListWindow::isRowCreated(int index) const
{
    return index >= 0 && index < m_rows.size() && !isPending(m_rows.at(index));
}

QList<QWidget *> ItemListWindow::createdRows() const
{
    if (m_pendingCount == 0)
        return m_rows;
    QList<QWidget *> rows;
    for (QWidget *row : m_rows) {
        if (!isPending(row))
            rows << row;
    }
    return rows;
}

QWidget *ItemListWindow::createPendingRow(int index)
{
    QWidget *pending = m_rows.at(index);
    QWidget *row = createRowAt(index);
    if (!row)
        return nullptr;
    QFormLayout *layout = m_workspace->rowLayout();
    QFormLayout::TakeRowResult taken = layout->takeRow(index);
    delete taken.labelItem;
    delete taken.fieldItem;
    pending->hide();
    pending->deleteLater();
    --m_pendingCount;
    m_rows[index] = row;
    layout->insertRow(index, row);
    watchRow(row);
    setRowNumber(row, rowNumberText(index, m_rows.size()));
    if (!m_rowHeight)
        m_rowHeight = row->sizeHint().height();
    if (index == 0)
        requestHeaderPlacement();
    return row;
}

void ItemListWindow::scheduleRowsInView()
{
    if (m_viewFillScheduled)
        return;
    m_viewFillScheduled = true;
    // Not while the stand-in is being painted: the rows go in after.
    QMetaObject::invokeMethod(
        this,
        [this] {
            m_viewFillScheduled = false;
            createRowsInView();
        },
        Qt::QueuedConnection);
}

void ItemListWindow::createRowsInView()
{
    if (m_pendingCount == 0)
        return;
    const QWidget *viewport = m_workspace->viewport();
    const QWidget *content = m_workspace->content();
    // The visible part in the content's coordinates, and a screen beyond it
    // either way, so scrolling meets made rows.
    const QRect visible(content->mapFrom(viewport, QPoint(0, 0)), viewport->size());
    const QRect wanted = visible.adjusted(0, -visible.height(), 0, visible.height());
    for (int i = 0; i < m_rows.size(); ++i) {
        QWidget *row = m_rows.at(i);
        if (!isPending(row))
            continue;
        const QRect place = row->geometry();
        if (place.top() > wanted.bottom())
            break;
        if (place.bottom() >= wanted.top())
            createPendingRow(i);
    }
}

int ItemListWindow::pendingRowHeight() const
{
    if (m_rowHeight)
        return m_rowHeight;
    for (QWidget *row : m_rows) {
        if (!isPending(row))
            return row->sizeHint().height();
    }
    // One line of text and its spare line, before any row exists to ask.
    return 3 * fontMetrics().lineSpacing();
}

void ItemListWindow::addRow(int index, QWidget *row)
{
    m_rows.insert(index, row);
    m_workspace->rowLayout()->insertRow(index, row);
    watchRow(row);
}

void ItemListWindow::watchRow(QWidget *row)
{
    // The header follows the first row's controls wherever they move.
    for (const QPair<int, QWidget *> &place : headerPlaces(row))
        place.second->installEventFilter(this);
}

void ItemListWindow::removeRow(QWidget *row)
{
    if (!m_rows.removeOne(row))
        return;
    if (isPending(row))
        --m_pendingCount;
    discardRow(row);
    updateEmptyState();
    renumberRows(0);
    requestHeaderPlacement();
}

void ItemListWindow::removeAllRows()
{
    const QList<QWidget *> rows = m_rows;
    m_rows.clear();
    m_pendingCount = 0;
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
    // Both rows are made, so that the row that moved is the one a user
    // sees in its new place and the first row always exists.
    rowAt(first);
    rowAt(second);
    m_rows.swapItemsAt(first, second);
    m_workspace->moveRow(second, first);
    setRowNumber(m_rows.at(first), rowNumberText(first, m_rows.size()));
    setRowNumber(m_rows.at(second), rowNumberText(second, m_rows.size()));
    requestHeaderPlacement();
}

void ItemListWindow::renumberRows(int from)
{
    // A pending row is numbered when it is made.
    for (int i = qMax(from, 0); i < m_rows.size(); ++i) {
        if (!isPending(m_rows.at(i)))
            setRowNumber(m_rows.at(i), rowNumberText(i, m_rows.size()));
    }
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
    QWidget *first = rowAt(0);
    if (!first)
        return;
    for (const QPair<int, QWidget *> &place : headerPlaces(first)) {
        if (place.second->isVisibleTo(first))
            m_header->placeSectionOver(place.first, place.second);
    }
}
