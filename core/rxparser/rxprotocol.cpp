#include <dorvane/rxfield.h>
#include <dorvane/rxprotocol.h>

RxProtocol::RxProtocol() = default;

RxProtocol::~RxProtocol()
{
    DeleteAllFields();
}

RxField *RxProtocol::AddField(int index)
{
    auto *field = new RxField();
    if (index < 0 || static_cast<std::size_t>(index) >= m_fields.size()) {
        m_fields.push_back(field);
    } else {
        m_fields.insert(m_fields.begin() + index, field);
    }
    return field;
}

bool RxProtocol::RemoveField(int index)
{
    if (index < 0 || static_cast<std::size_t>(index) >= m_fields.size()) {
        return false;
    }
    m_fields.erase(m_fields.begin() + index);
    return true;
}

int RxProtocol::GetFieldCount() const
{
    return static_cast<int>(m_fields.size());
}

RxField *RxProtocol::GetField(int index) const
{
    if (index < 0 || static_cast<std::size_t>(index) >= m_fields.size()) {
        return nullptr;
    }
    return m_fields[static_cast<std::size_t>(index)];
}

void RxProtocol::DeleteAllFields()
{
    for (RxField *field : m_fields) {
        delete field;
    }
    m_fields.clear();
}
