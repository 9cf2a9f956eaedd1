#pragma once

#include <dorvane/core_export.h>
#include <dorvane/field.h>

#include <vector>

class ValueMetaInfo;

// A transmit field: one owned value meta-information per value column.
class DORVANE_CORE_EXPORT TxField : public Field
{
public:
    TxField();
    ~TxField() override;

    TxField(const TxField &) = delete;
    // Copies the field's attributes and deep-copies its value columns; the copies belong to
    // this field.
    Field &operator=(const TxField &other);

    // Appends a Fixed value holding the zero text of the field's type.
    ValueMetaInfo *NewValueMetaInfo();
    ValueMetaInfo *GetValueMetaInfo(int column) const;
    bool DeleteValueMetaInfo(int column);
    int GetValueMetaInfoCount() const;

private:
    void DeleteAllValueMetaInfos();

    std::vector<ValueMetaInfo *> m_values;
};
