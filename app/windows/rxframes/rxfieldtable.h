#pragma once

#include <QTableWidget>

#include <dorvane/app_export.h>

#include <memory>

class Context;
class RxField;
class RxProtocol;

// The receive-protocol editor: one row per field with its name, data type,
// byte order, role, parameters, graph id, coefficient and enable state.
// Edits go straight into the protocol; every change is announced by
// `edited`. A row whose field the parser cannot build is tinted and its
// last column says why.
class DORVANE_APP_EXPORT RxFieldTable : public QTableWidget
{
    Q_OBJECT

public:
    enum Column {
        NameColumn,
        TypeColumn,
        OrderColumn,
        RoleColumn,
        ParamsColumn,
        GraphColumn,
        CoefficientColumn,
        EnableColumn,
        CheckColumn,
        ColumnCount
    };
    enum Role { ValueRole, HeadRole, TailRole, BlockRole };

    RxFieldTable(Context *context, QWidget *parent = nullptr);

    // The table shows and edits this protocol (not owned); null empties it.
    void setProtocol(RxProtocol *protocol);
    RxProtocol *protocol() const { return m_protocol; }

    void appendField();
    // Before the current row, or at the end without one.
    void insertField();
    void removeCurrentField();
    void moveCurrentField(int step);

    // Why the parser cannot build the field, empty when it can (or the field
    // is disabled and takes no part).
    static QString problemOf(const RxField *field);
    static Role roleOf(const RxField *field);
    static void setRole(RxField *field, Role role);
    // Why the protocol cannot be parsed, with the 1-based row at fault;
    // empty when it can.
    static QString protocolProblem(const RxProtocol *protocol);
    // What the rows say now: the check column of every row.
    QString rowProblem(int row) const;

signals:
    void edited();

private:
    void rebuild();
    void fillRow(int row);
    void markRow(int row);
    void onItemChanged(QTableWidgetItem *item);
    void setCellEditable(int row, int column, bool editable);
    void changed(int row);

    Context *m_context;
    RxProtocol *m_protocol = nullptr;
    bool m_filling = false;
};

// A field by field copy of a receive protocol.
DORVANE_APP_EXPORT std::unique_ptr<RxProtocol> copyRxProtocol(const RxProtocol &protocol);
// The data types a receive field may have, in the order they are offered.
DORVANE_APP_EXPORT const QList<int> &rxTypeIds();
