#pragma once

#include <dorvane/core_export.h>
#include <dorvane/valuemetainfo.h>

// The value information of a receive field: where a decoded value goes and whether the field
// marks the head or the tail of a frame.
class DORVANE_CORE_EXPORT RxValueMetaInfo : public ValueMetaInfo
{
public:
    enum FieldFlag : int {
        NoFlag = 0,
        HeadFlag = 1,
        TailFlag = 2,
    };

    explicit RxValueMetaInfo(Field *field);
    ~RxValueMetaInfo() override;

    void SetGraphId(int id);
    int GetGraphId() const { return m_graphId; }

    void SetFormId(int id);
    int GetFormId() const { return m_formId; }

    void SetCoefficient(float coefficient);
    float GetCoefficient() const { return m_coefficient; }

    void SetFlag(FieldFlag flag);
    FieldFlag GetFlag() const { return m_flag; }
    void ClearFlag();
    void SetHeadFlag();
    void SetTailFlag();
    bool HasHeadFlag() const { return m_flag == HeadFlag; }
    bool HasTailFlag() const { return m_flag == TailFlag; }
    bool HasFlag() const { return m_flag == HeadFlag || m_flag == TailFlag; }

private:
    int m_graphId;
    int m_formId;
    float m_coefficient;
    FieldFlag m_flag;
};
