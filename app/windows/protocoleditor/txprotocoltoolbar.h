#pragma once

#include <QHash>

#include <dorvane/app_export.h>
#include <dorvane/wdxtoolbar.h>

class QAction;
class QSpinBox;

// The protocol editor's "Standard" tool bar: the document (new, open, save),
// new and inserted fields with the insert position, the four edit modes of
// the rows, new value sets and the exports of the document.
class DORVANE_APP_EXPORT TxProtocolToolBar : public WdxToolBar
{
    Q_OBJECT

public:
    explicit TxProtocolToolBar(QWidget *parent = nullptr);

    QAction *newAction() const { return m_newAction; }
    QAction *openAction() const { return m_openAction; }
    QAction *saveAction() const { return m_saveAction; }
    QAction *newFieldAction() const { return m_newFieldAction; }
    QAction *insertFieldAction() const { return m_insertFieldAction; }
    QAction *newValueSetAction() const { return m_newValueSetAction; }
    QAction *exportDissectorAction() const { return m_exportDissectorAction; }
    QAction *exportCHeaderAction() const { return m_exportCHeaderAction; }
    // The 1-based position of an inserted field.
    int insertPosition() const;

    // The checkable action of an edit mode (TxFieldEditor::EditMode).
    QAction *modeAction(int mode) const { return m_modes.value(mode); }
    bool isModeOn(int mode) const;

    // What works on a document is offered while one is open.
    void setDocumentOpen(bool open);
    // An inserted field goes at most before the last row.
    void setRowCount(int count);

signals:
    void editModeToggled(int mode, bool on);

private:
    QAction *m_newAction;
    QAction *m_openAction;
    QAction *m_saveAction;
    QAction *m_newFieldAction;
    QAction *m_insertFieldAction;
    QSpinBox *m_positionSpin;
    QAction *m_newValueSetAction;
    QAction *m_exportDissectorAction;
    QAction *m_exportCHeaderAction;
    QAction *m_exportButtonAction;
    QHash<int, QAction *> m_modes;
};
