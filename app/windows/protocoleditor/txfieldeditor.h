#pragma once

#include <QWidget>

#include <dorvane/app_export.h>

class Context;
class NameEdit;
class QHBoxLayout;
class QLabel;
class QPushButton;
class TxField;
class TxValueEdit;

// One field row of the protocol editor: number, name, data type, byte order
// and the row operations (enable, delete, move, copy), each group shown only
// in its edit mode; then the row's value edits, one per value column.
class DORVANE_APP_EXPORT TxFieldEditor : public QWidget
{
    Q_OBJECT

public:
    // The edit modes of the editor's tool bar; each shows one group of the
    // row's operation buttons.
    enum EditMode {
        EnableMode = 1,
        DeletionMode = 2,
        MoveMode = 3,
        CopyMode = 4,
    };

    TxFieldEditor(TxField *field, const Context *context, const QFont &numberFont, int typeButtonWidth,
                  QWidget *parent = nullptr);
    ~TxFieldEditor() override;

    // The width that shows every type name on the data-type button, in the
    // font and style of the window that holds the rows.
    static int typeButtonWidth(QWidget *window, const Context *context);

    TxField *field() const { return m_field; }
    void setField(TxField *field);

    // Shows the row number right-aligned in the given width of digits.
    void setNumber(int number, int width);
    QString numberText() const;
    void setEditMode(EditMode mode, bool on);
    // Shows the field's name, type, byte order and enabled state.
    void refresh();

    QWidget *valueArea() const { return m_valueArea; }
    void insertValueEdit(int position, TxValueEdit *edit);

    NameEdit *nameEdit() const { return m_nameEdit; }
    QPushButton *typeButton() const { return m_typeButton; }
    QPushButton *endianButton() const { return m_endianButton; }
    QPushButton *enableButton() const { return m_enableButton; }
    QPushButton *deleteButton() const { return m_deleteButton; }
    QPushButton *moveUpButton() const { return m_moveUpButton; }
    QPushButton *moveDownButton() const { return m_moveDownButton; }
    QPushButton *copyUpButton() const { return m_copyUpButton; }
    QPushButton *copyDownButton() const { return m_copyDownButton; }

signals:
    void nameChanged(const QString &name);
    void typeClicked();
    void endianClicked();
    void enableClicked();
    void deleteClicked();
    void moveUpClicked();
    void moveDownClicked();
    void copyUpClicked();
    void copyDownClicked();

private:
    const Context *m_context;
    QPushButton *operationButton(const char *icon, const QString &tip);

    TxField *m_field;
    QLabel *m_number;
    NameEdit *m_nameEdit;
    QPushButton *m_typeButton;
    QPushButton *m_endianButton;
    QWidget *m_operations;
    QPushButton *m_enableButton;
    QPushButton *m_deleteButton;
    QPushButton *m_moveUpButton;
    QPushButton *m_moveDownButton;
    QPushButton *m_copyUpButton;
    QPushButton *m_copyDownButton;
    QWidget *m_valueArea;
    QHBoxLayout *m_valueLayout;
};
