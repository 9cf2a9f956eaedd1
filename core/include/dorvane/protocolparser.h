#pragma once

#include <dorvane/core_export.h>
#include <dorvane/variant.h>

#include <cstdint>
#include <string>
#include <vector>

class RxProtocol;
class RxValue;

// One measured value of the last decoded frame, with where it is to be shown. The records are
// handed on byte for byte, 32 bytes each.
struct FrameValue
{
    Variant value;
    std::int32_t formId = -1;
    std::int32_t graphId = -1;
    float coefficient = 1.0f;
};

// Cuts a byte stream into the frames of a receive protocol, found by their head and tail
// patterns, and decodes the measured values of one frame per call.
class DORVANE_CORE_EXPORT ProtocolParser
{
public:
    enum Status : int {
        FrameDecoded = 0,
        NotReady = 1,
        NeedMoreData = 2,
        NotLongerThanHead = 3,
        NotLongerThanTail = 4,
        HeadNotFound = 5,
        TailNotFound = 6,
        // The frame was found and lies before frameEnd, but a value in it could not be read:
        // drop its bytes, do not use the frame values.
        DecodingFailed = 7,
    };

    struct PRResult
    {
        std::int32_t status;
        std::int32_t headOffset;
        std::int32_t tailOffset;
        std::int32_t frameEnd;
    };

    ProtocolParser();
    ~ProtocolParser();

    ProtocolParser(const ProtocolParser &) = delete;
    ProtocolParser &operator=(const ProtocolParser &) = delete;

    // Compiles the enabled fields of the protocol. A failed build leaves the parser empty and
    // not ready.
    bool Build(const RxProtocol *protocol);
    // Finds and decodes one frame at the front of the buffer; the caller drops frameEnd bytes
    // after status 0 (and after status 7). The packet flag has no effect on parsing.
    PRResult Update(const char *data, int len, bool packet);

    bool IsReady() const { return m_ready; }
    int GetFrameSize() const { return m_frameSize; }
    const std::vector<FrameValue> &GetFrameValues() const { return m_frameValues; }

private:
    // The leading or trailing run of tag values and their bytes end to end.
    struct Pattern
    {
        int count = 0;
        std::string bytes;
    };

    void Clear();
    bool CreateValues(const RxProtocol *protocol);
    void CollectPatterns();
    bool Decode(const char *data, int len, int start);

    Pattern m_head;
    Pattern m_tail;
    std::vector<RxValue *> m_values;
    std::vector<FrameValue> m_frameValues;
    int m_frameSize;
    bool m_ready;
};
