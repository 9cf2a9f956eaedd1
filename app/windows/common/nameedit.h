#pragma once

#include <QLineEdit>

#include <dorvane/app_export.h>

// A line edit that reports a name once the user has finished with it: on
// Return or when focus leaves, and only when the trimmed text differs from
// what it held when focus came in.
class DORVANE_APP_EXPORT NameEdit : public QLineEdit
{
    Q_OBJECT

public:
    explicit NameEdit(QWidget *parent = nullptr);

    // Reports a name still being typed as if the user had pressed Return,
    // for a window that is about to save or replace its document.
    void commitEdit() { finishEditing(); }

signals:
    void nameChanged(const QString &name);

protected:
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    void finishEditing();

    QString m_textAtFocusIn;
    bool m_edited = false;
};
