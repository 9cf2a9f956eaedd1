#include <dorvane/rxfield.h>
#include <dorvane/rxvaluemetainfo.h>

RxField::RxField()
    : m_value(new RxValueMetaInfo(this))
{
}

RxField::~RxField()
{
    delete m_value;
}
