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
    QWidget *rowAt(int index) const { return m_rows.value(index); }
    int rowIndex(QWidget *row) const { return m_rows.indexOf(row); }

protected:
    ItemListWindow(const QString &picture, QWidget *parent);

    // The row's number label shows the text.
    virtual void setRowNumber(QWidget *row, const QString &text) = 0;
    // The header sections and the controls of a row they stand over.
    virtual QList<QPair<int, QWidget *>> headerPlaces(QWidget *row) const = 0;

    void insertRow(int index, QWidget *row);
    // Appends many rows at once: numbered and the header placed once.
    void appendRows(const QList<QWidget *> &rows);
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
    void discardRow(QWidget *row);

    EditorHeaderView *m_header;
    ScrollWorkspace *m_workspace;
    QList<QWidget *> m_rows;
};
