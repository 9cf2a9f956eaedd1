#pragma once

#include <dorvane/core_export.h>

#include <string>
#include <vector>

class Context;
class TxField;

// A transmit protocol: an ordered list of fields, each with one value per value column.
// Column k of the protocol is entry k of every field.
class DORVANE_CORE_EXPORT TxProtocol
{
public:
    TxProtocol();
    ~TxProtocol();

    TxProtocol(const TxProtocol &) = delete;
    TxProtocol &operator=(const TxProtocol &) = delete;

    // Inserts before index; -1 or any index outside the list appends.
    TxField *AddField(int index);
    // Detaches the field: the caller becomes its owner.
    bool RemoveField(int index);
    int GetFieldCount() const;
    // Null for an index outside the list.
    TxField *GetField(int index) const;

    // -1 when the maximum column count is reached.
    int AppendValueColumn();
    // Column 0 can never be removed.
    bool RemoveValueColumn(int column);
    int GetValueCountPerField() const { return m_valueCountPerField; }
    int GetMaxValueCountPerField() const { return m_maxValueCountPerField; }
    bool CanInsertValues() const { return m_valueCountPerField < m_maxValueCountPerField; }

    bool Save(const std::string &path, Context *ctx);
    bool Load(const std::string &path, Context *ctx);

private:
    void DeleteAllFields();

    std::vector<TxField *> m_fields;
    int m_valueCountPerField;
    int m_maxValueCountPerField;
};
