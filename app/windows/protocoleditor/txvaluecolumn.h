#pragma once

#include <QHash>
#include <QObject>
#include <QPointer>
#include <QWidget>

#include <dorvane/app_export.h>

class QPushButton;
class TxFieldEditor;
class TxValueEdit;

// One value column of the protocol editor: its header (a checkable button
// that makes it the current column, and a delete button) and one value edit
// per field row. The edits live in the rows; the column knows which is its.
class DORVANE_APP_EXPORT TxValueColumn : public QObject
{
    Q_OBJECT

public:
    TxValueColumn(bool deletable, QWidget *headerParent, QObject *parent = nullptr);
    ~TxValueColumn() override;

    QWidget *headerWidget() const { return m_header; }
    QPushButton *headerButton() const { return m_headerButton; }
    QPushButton *deleteButton() const { return m_deleteButton; }

    // The header button shows the 1-based column number.
    void setNumber(int number);
    bool isDeletable() const { return m_deletable; }
    // The delete button shows only in deletion mode, and never for the
    // first column.
    void setDeletionMode(bool on);

    bool needsBuild() const { return m_needsBuild; }
    void setNeedsBuild(bool needsBuild) { m_needsBuild = needsBuild; }

    // Creates this column's edit in the row, at the column's position.
    TxValueEdit *addEdit(TxFieldEditor *row, int position);
    TxValueEdit *editFor(const TxFieldEditor *row) const;
    // Forgets the row's edit and destroys it.
    void removeEdit(TxFieldEditor *row);
    // Forgets the row's edit; the row is about to destroy it.
    void forgetEdit(TxFieldEditor *row);

signals:
    void activated();
    void deleteClicked();
    void editRequested(TxFieldEditor *row);
    void revertRequested(TxFieldEditor *row);

private:
    // The header view may go first when the whole editor is destroyed.
    QPointer<QWidget> m_header;
    QPushButton *m_headerButton;
    QPushButton *m_deleteButton;
    QHash<const TxFieldEditor *, TxValueEdit *> m_edits;
    bool m_deletable;
    bool m_needsBuild = true;
};
