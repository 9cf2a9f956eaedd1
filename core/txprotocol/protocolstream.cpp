#include <dorvane/protocolstream.h>
#include <dorvane/txfield.h>
#include <dorvane/txprotocol.h>

#include "generators/createtxvalue.h"
#include "generators/monotonicclock.h"
#include "generators/txvalue.h"

#include <climits>
#include <cstring>
#include <new>

ProtocolStream::ProtocolStream()
    : m_dataSize(0)
    , m_data(nullptr)
{
}

ProtocolStream::~ProtocolStream()
{
    Clear();
}

void ProtocolStream::Clear()
{
    delete[] m_data;
    m_data = nullptr;
    m_dataSize = 0;
    for (TxValue *value : m_values) {
        delete value;
    }
    m_values.clear();
    m_dynamicSlots.clear();
}

bool ProtocolStream::Build(const TxProtocol *protocol, int column)
{
    if (!protocol || protocol->GetFieldCount() == 0) {
        return false;
    }
    Clear();

    try {
        long long total = 0;
        for (int i = 0; i < protocol->GetFieldCount(); ++i) {
            const TxField *field = protocol->GetField(i);
            if (!field || !field->IsEnabled()) {
                continue;
            }
            const ValueMetaInfo *meta = field->GetValueMetaInfo(column);
            TxValue *value = meta ? CreateTxValue(field->GetTypeId(), meta) : nullptr;
            if (!value) {
                Clear();
                return false;
            }
            m_values.push_back(value);
            total += value->GetSize();
            // A frame is addressed with int offsets.
            if (total > INT_MAX) {
                Clear();
                return false;
            }
        }
        if (total < 1) {
            return true;
        }

        m_data = new char[static_cast<std::size_t>(total)];
        m_dataSize = static_cast<int>(total);
        std::memset(m_data, 0, static_cast<std::size_t>(total));

        m_dynamicSlots.reserve(m_values.size());
        int offset = 0;
        for (std::size_t i = 0; i < m_values.size(); ++i) {
            TxValue *value = m_values[i];
            const int size = value->GetSize();
            if (value->IsConstant()) {
                value->Update();
                if (size > 0) {
                    std::memcpy(m_data + offset, value->GetData(), static_cast<std::size_t>(size));
                }
            } else {
                m_dynamicSlots.emplace_back(static_cast<int>(i), offset);
            }
            offset += size;
        }
        return true;
    } catch (const std::bad_alloc &) {
        Clear();
        return false;
    }
}

void ProtocolStream::Update()
{
    if (m_dynamicSlots.empty()) {
        return;
    }
    // One frame is one instant: the timed values share a single clock reading.
    const FrameClock frameClock;
    for (const auto &slot : m_dynamicSlots) {
        TxValue *value = m_values[static_cast<std::size_t>(slot.first)];
        value->Update();
        const int size = value->GetSize();
        if (size > 0) {
            std::memcpy(m_data + slot.second, value->GetData(), static_cast<std::size_t>(size));
        }
    }
}

void ProtocolStream::Reset()
{
    for (TxValue *value : m_values) {
        value->Reset();
    }
}
