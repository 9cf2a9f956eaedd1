#include <dorvane/valuemetainfo.h>

ValueMetaInfo::ValueMetaInfo(Field *field)
    : m_field(field)
    , m_generatorType(Fixed)
{
}

ValueMetaInfo::~ValueMetaInfo() = default;

void ValueMetaInfo::SetValueGeneratorType(ValueGeneratorType type)
{
    m_generatorType = type;
}

void ValueMetaInfo::SetParamList(const std::string &params)
{
    m_paramList = params;
}
