#pragma once

#include <QLineEdit>

#include <dorvane/app_export.h>

class QAction;
class TxValueColumn;

// One field's value in one value column. Read-only: the value is changed
// through the edit action (or a double click, Return or F2), and an overridden value of a
// later column goes back to the first column's through the revert action.
// An inheriting edit that is not overridden stays empty and shows that its
// value comes from the first column.
class DORVANE_APP_EXPORT TxValueEdit : public QLineEdit
{
    Q_OBJECT

public:
    explicit TxValueEdit(TxValueColumn *column, QWidget *parent = nullptr);

    TxValueColumn *column() const { return m_column; }

    // Belongs to a later column and takes its value from the first one
    // unless overridden.
    void setInheriting(bool inheriting);
    bool isInheriting() const { return m_inheriting; }
    void setOverridden(bool overridden);
    bool isOverridden() const { return m_overridden; }
    // Shows a value as "<generator>: <parameters>"; an inheriting edit that
    // is not overridden shows nothing.
    void showValue(const QString &generator, const QString &params);

    QAction *editAction() const { return m_editAction; }
    QAction *revertAction() const { return m_revertAction; }

signals:
    void editRequested();
    void revertRequested();

protected:
    void enterEvent(QEvent *event) override;
    void leaveEvent(QEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    void updateActions(bool hovered);
    bool showsOwnValue() const { return !m_inheriting || m_overridden; }

    TxValueColumn *m_column;
    QAction *m_editAction;
    QAction *m_revertAction;
    bool m_inheriting = false;
    bool m_overridden = false;
    QString m_shownText;
};
