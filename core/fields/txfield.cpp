#include <dorvane/txfield.h>
#include <dorvane/valuemetainfo.h>

namespace {

// The parameter text of a zero value of the type; written out rather than formatted so that
// the process locale can never turn it into "0,000000".
const char *ZeroText(int typeId)
{
    switch (typeId) {
    case 1:
    case 2:
    case 3:
    case 10:
    case 11:
    case 12:
        return "0";
    case 20:
    case 21:
        return "0.000000";
    default:
        return "";
    }
}

} // namespace

TxField::TxField() = default;

TxField::~TxField()
{
    DeleteAllValueMetaInfos();
}

Field &TxField::operator=(const TxField &other)
{
    if (&other == this) {
        return *this;
    }
    Field::operator=(other);
    DeleteAllValueMetaInfos();
    for (const ValueMetaInfo *source : other.m_values) {
        ValueMetaInfo *copy = NewValueMetaInfo();
        if (source) {
            copy->SetValueGeneratorType(source->GetValueGeneratorType());
            copy->SetParamList(source->GetParamList());
        }
    }
    return *this;
}

ValueMetaInfo *TxField::NewValueMetaInfo()
{
    auto *value = new ValueMetaInfo(this);
    value->SetParamList(ZeroText(GetTypeId()));
    m_values.push_back(value);
    return value;
}

ValueMetaInfo *TxField::GetValueMetaInfo(int column) const
{
    if (column < 0 || static_cast<std::size_t>(column) >= m_values.size()) {
        return nullptr;
    }
    return m_values[static_cast<std::size_t>(column)];
}

bool TxField::DeleteValueMetaInfo(int column)
{
    if (column < 0 || static_cast<std::size_t>(column) >= m_values.size()) {
        return false;
    }
    delete m_values[static_cast<std::size_t>(column)];
    m_values.erase(m_values.begin() + column);
    return true;
}

int TxField::GetValueMetaInfoCount() const
{
    return static_cast<int>(m_values.size());
}

void TxField::DeleteAllValueMetaInfos()
{
    for (ValueMetaInfo *value : m_values) {
        delete value;
    }
    m_values.clear();
}
