#pragma once

#include <dorvane/core_export.h>
#include <dorvane/field.h>

class RxValueMetaInfo;

// A receive field: exactly one owned receive value information.
class DORVANE_CORE_EXPORT RxField : public Field
{
public:
    RxField();
    ~RxField() override;

    RxField(const RxField &) = delete;
    RxField &operator=(const RxField &) = delete;

    RxValueMetaInfo *GetValueMetaInfo() const { return m_value; }

private:
    RxValueMetaInfo *m_value;
};
