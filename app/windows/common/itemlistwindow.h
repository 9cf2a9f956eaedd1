#pragma once

#include <QList>
#include <QMainWindow>
#include <QPair>

#include <dorvane/app_export.h>

class EditorHeaderView;
class ScrollWorkspace;

// What the history and instruct-set windows share: a header strip above a
// scrolling column of rows, the rows numbered from 1, the header's labels
// kept over the first row's controls, and the window's picture while there
// is no row.
class DORVANE_APP_EXPORT ItemListWindow : public QMainWindow
{
    Q_OBJECT

public:
    EditorHeaderView *header() const { return m_header; }
    ScrollWorkspace *workspace() const { return m_workspace; }

    int rowCount() const { return m_rows.size(); }
    // The row at the index, created now if it has not come into view yet.
    QWidget *rowAt(int index) const;
    int rowIndex(QWidget *row) const { return m_rows.indexOf(row); }
    // Whether the row at the index exists yet (see appendPendingRows).
    bool isRowCreated(int index) const;
    // The rows that exist, in order.
    QList<QWidget *> createdRows() const;

protected:
    ItemListWindow(const QString &picture, QWidget *parent);

    // The row's number label shows the text.
    virtual void setRowNumber(QWidget *row, const QString &text) = 0;
    // The header sections and the controls of a row they stand over.
    virtual QList<QPair<int, QWidget *>> headerPlaces(QWidget *row) const = 0;

    void insertRow(int index, QWidget *row);
    // Appends many rows at once: numbered and the header placed once.
    void appendRows(const QList<QWidget *> &rows);
    // Appends count rows that are made by createRowAt only when they come
    // into view (or are asked for): until then each is an empty stand-in of
    // a row's height, so a long list opens at once. The first screenful is
    // made here.
    void appendPendingRows(int count);
    // Makes the row for the index of a pending row; it is numbered and put
    // in place by the caller.
    virtual QWidget *createRowAt(int index);
    // Takes the row out and destroys it.
    void removeRow(QWidget *row);
    void removeAllRows();
    void swapRows(int first, int second);

    void renumberRows(int from);
    // The header is shown and the picture hidden exactly while rows exist.
    void updateEmptyState();
    // Places the header again once the layout has settled.
    void requestHeaderPlacement();

    void resizeEvent(QResizeEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void placeHeader();
    void addRow(int index, QWidget *row);
    void watchRow(QWidget *row);
    void discardRow(QWidget *row);
    QWidget *createPendingRow(int index);
    // Makes the pending rows within a screen of the visible part.
    void createRowsInView();
    void scheduleRowsInView();
    int pendingRowHeight() const;

    EditorHeaderView *m_header;
    ScrollWorkspace *m_workspace;
    QList<QWidget *> m_rows;
    int m_pendingCount = 0;
    bool m_viewFillScheduled = false;
    int m_rowHeight = 0;
};
