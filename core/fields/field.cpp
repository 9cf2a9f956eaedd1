#include <dorvane/field.h>

Field::Field()
    : m_typeId(3)
    , m_endian(LittleEndian)
    , m_enabled(true)
{
}

Field::~Field() = default;

void Field::SetName(const std::string &name)
{
    m_name = name;
}

void Field::SetTypeId(int typeId)
{
    m_typeId = typeId;
}

void Field::SetEndian(Endianness endian)
{
    m_endian = endian;
}

void Field::SetEnabled(bool enabled)
{
    m_enabled = enabled;
}
