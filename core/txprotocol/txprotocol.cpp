#include <dorvane/txfield.h>
#include <dorvane/txprotocol.h>
#include <dorvane/valuemetainfo.h>

TxProtocol::TxProtocol()
    : m_valueCountPerField(1)
    , m_maxValueCountPerField(3)
{
}

TxProtocol::~TxProtocol()
{
    DeleteAllFields();
}

TxField *TxProtocol::AddField(int index)
{
    auto *field = new TxField();
    for (int i = 0; i < m_valueCountPerField; ++i) {
        field->NewValueMetaInfo();
    }
    if (index < 0 || static_cast<std::size_t>(index) >= m_fields.size()) {
        m_fields.push_back(field);
    } else {
        m_fields.insert(m_fields.begin() + index, field);
    }
    return field;
}

bool TxProtocol::RemoveField(int index)
{
    if (index < 0 || static_cast<std::size_t>(index) >= m_fields.size()) {
        return false;
    }
    m_fields.erase(m_fields.begin() + index);
    return true;
}

int TxProtocol::GetFieldCount() const
{
    return static_cast<int>(m_fields.size());
}

TxField *TxProtocol::GetField(int index) const
{
    if (index < 0 || static_cast<std::size_t>(index) >= m_fields.size()) {
        return nullptr;
    }
    return m_fields[static_cast<std::size_t>(index)];
}

int TxProtocol::AppendValueColumn()
{
    if (m_valueCountPerField >= m_maxValueCountPerField) {
        return -1;
    }
    for (TxField *field : m_fields) {
        const ValueMetaInfo *first = field->GetValueMetaInfo(0);
        ValueMetaInfo *added = field->NewValueMetaInfo();
        if (first) {
            added->SetValueGeneratorType(first->GetValueGeneratorType());
            added->SetParamList(first->GetParamList());
        }
    }
    return m_valueCountPerField++;
}

bool TxProtocol::RemoveValueColumn(int column)
{
    if (column < 1 || column >= m_valueCountPerField) {
        return false;
    }
    for (TxField *field : m_fields) {
        field->DeleteValueMetaInfo(column);
    }
    --m_valueCountPerField;
    return true;
}

void TxProtocol::DeleteAllFields()
{
    for (TxField *field : m_fields) {
        delete field;
    }
    m_fields.clear();
}
