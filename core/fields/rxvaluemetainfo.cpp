#include <dorvane/rxvaluemetainfo.h>

RxValueMetaInfo::RxValueMetaInfo(Field *field)
    : ValueMetaInfo(field)
    , m_graphId(-1)
    , m_formId(-1)
    , m_coefficient(1.0f)
    , m_flag(NoFlag)
{
}

RxValueMetaInfo::~RxValueMetaInfo() = default;

void RxValueMetaInfo::SetGraphId(int id)
{
    m_graphId = id;
}

void RxValueMetaInfo::SetFormId(int id)
{
    m_formId = id;
}

void RxValueMetaInfo::SetCoefficient(float coefficient)
{
    m_coefficient = coefficient;
}

void RxValueMetaInfo::SetFlag(FieldFlag flag)
{
    m_flag = flag;
}

void RxValueMetaInfo::ClearFlag()
{
    m_flag = NoFlag;
}

void RxValueMetaInfo::SetHeadFlag()
{
    m_flag = HeadFlag;
}

void RxValueMetaInfo::SetTailFlag()
{
    m_flag = TailFlag;
}
