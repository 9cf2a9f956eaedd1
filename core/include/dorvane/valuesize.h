#pragma once

#include <dorvane/core_export.h>

class ParamList;
class ValueMetaInfo;

// The number of bytes that a value occupies in a frame.
class DORVANE_CORE_EXPORT ValueSize
{
public:
    explicit ValueSize(const ValueMetaInfo *value);
    ValueSize(const ValueSize &other) = default;
    ValueSize(ValueSize &&other) = default;
    ValueSize &operator=(const ValueSize &other) = default;
    ValueSize &operator=(ValueSize &&other) = default;

    int SizeOfValue() const { return m_size; }
    // 0 when the value cannot be created for a field of that type.
    void CalculateSize(int typeId);

private:
    int GetArraySize(const ParamList &params) const;
    int GetBlockFillCount(const ParamList &params) const;
    int GetDateTimeLength(const ParamList &params) const;

    const ValueMetaInfo *m_value;
    int m_size;
};
