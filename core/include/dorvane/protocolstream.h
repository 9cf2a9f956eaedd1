#pragma once

#include <dorvane/core_export.h>

#include <utility>
#include <vector>

class TxProtocol;
class TxValue;

// The bytes of one value column of a transmit protocol, refreshed frame after frame. Building
// parses and allocates; Update only runs the changing values and copies their bytes.
class DORVANE_CORE_EXPORT ProtocolStream
{
public:
    ProtocolStream();
    ~ProtocolStream();

    ProtocolStream(const ProtocolStream &) = delete;
    ProtocolStream &operator=(const ProtocolStream &) = delete;

    bool Build(const TxProtocol *protocol, int column);
    void Update();
    void Reset();

    // Null when the stream holds no frame.
    char *GetData() const { return m_data; }
    int GetDataSize() const { return m_dataSize; }

private:
    void Clear();

    int m_dataSize;
    char *m_data;
    std::vector<TxValue *> m_values;
    std::vector<std::pair<int, int>> m_dynamicSlots;
};
