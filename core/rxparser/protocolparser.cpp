#include <dorvane/protocolparser.h>

#include <dorvane/paramlist.h>
#include <dorvane/rxfield.h>
#include <dorvane/rxprotocol.h>
#include <dorvane/rxvaluemetainfo.h>

#include "rxparser/rxblockvalue.h"
#include "rxparser/rxfixedvalue.h"
#include "rxparser/rxtagvalue.h"
#include "types/hostendian.h"
#include "types/numberconversion.h"

#include <algorithm>
#include <climits>
#include <cstring>
#include <memory>

// The frame watcher hands the records on as raw bytes, 32 per value.
static_assert(sizeof(FrameValue) == 32, "FrameValue records are 32 bytes");

namespace {

// The bytes of a tag constant: big-endian for a big-endian field, little-endian otherwise.
template<typename T>
void AppendConstant(std::string &pattern, T constant, Endianness endian)
{
    const bool reverse = (endian == BigEndian) != (NativeEndian() == BigEndian);
    if (reverse) {
        constant = ReverseBytes(constant);
    }
    pattern.append(reinterpret_cast<const char *>(&constant), sizeof(T));
}

template<typename T>
RxValue *CreateValueOf(const RxField &field)
{
    const RxValueMetaInfo *meta = field.GetValueMetaInfo();
    ParamList params;
    // A text that stops parsing part-way still yields the parameters before the fault.
    params.Parse(meta->GetParamList());
    const int count = static_cast<int>(params.Count());
    const Endianness endian = field.GetEndian();

    std::unique_ptr<RxValue> value;
    switch (meta->GetValueGeneratorType()) {
    case Fixed:
        if (meta->HasFlag()) {
            std::string pattern;
            for (int i = 0; i < count; ++i) {
                const ParamList::Param &param = params.ParamAt(i);
                if (param.type == ParamList::Number) {
                    AppendConstant(pattern, ConvertParam<T>(param.value), endian);
                }
            }
            if (pattern.empty()) {
                return nullptr;
            }
            const RxValue::Kind kind = meta->HasHeadFlag() ? RxValue::HeadTag : RxValue::TailTag;
            value.reset(new RxTagValue<T>(kind, endian, std::move(pattern)));
        } else {
            value.reset(new RxFixedValue<T>(endian));
            if (count == 1 && params.ParamAt(0).type == ParamList::Number) {
                value->SetCoefficient(static_cast<float>(ParseLongDouble(params.ParamAt(0).value)));
            }
        }
        break;
    case Block: {
        if (count < 1 || params.ParamAt(0).type != ParamList::Number) {
            return nullptr;
        }
        const int elements = ConvertInt(params.ParamAt(0).value);
        if (elements < 1) {
            return nullptr;
        }
        value.reset(new RxBlockValue<T>(endian, static_cast<std::size_t>(elements)));
        break;
    }
    default:
        return nullptr;
    }
    value->SetGraphId(meta->GetGraphId());
    value->SetFormId(meta->GetFormId());
    return value.release();
}

RxValue *CreateValue(const RxField &field)
{
    if (!field.GetValueMetaInfo()) {
        return nullptr;
    }
    switch (field.GetTypeId()) {
    case 1:
        return CreateValueOf<char>(field);
    case 2:
        return CreateValueOf<short>(field);
    case 3:
        return CreateValueOf<int>(field);
    case 10:
        return CreateValueOf<unsigned char>(field);
    case 11:
        return CreateValueOf<unsigned short>(field);
    case 12:
        return CreateValueOf<unsigned int>(field);
    case 20:
        return CreateValueOf<float>(field);
    case 21:
        return CreateValueOf<double>(field);
    default:
        return nullptr;
    }
}

bool SameBytes(const char *a, const char *b, int size)
{
    // Patterns are mostly one to four bytes: a plain loop beats a call into the C library.
    if (size > 8) {
        return std::memcmp(a, b, static_cast<std::size_t>(size)) == 0;
    }
    for (int i = 0; i < size; ++i) {
        if (a[i] != b[i]) {
            return false;
        }
    }
    return true;
}

// The first position at or after `from` where the whole pattern lies inside the buffer, or -1.
int FindPattern(const char *data, int len, int from, const std::string &pattern)
{
    const int size = static_cast<int>(pattern.size());
    if (from < 0) {
        from = 0;
    }
    if (size < 1 || from > len - size) {
        return -1;
    }
    // In a clean stream the pattern sits right where the search starts, or one byte later.
    const int lastStart = len - size;
    for (int at = from; at <= lastStart && at < from + 2; ++at) {
        if (SameBytes(data + at, pattern.data(), size)) {
            return at;
        }
    }
    if (from + 2 > lastStart) {
        return -1;
    }
    const char first = pattern[0];
    const char *cursor = data + from + 2;
    const char *const last = data + lastStart;
    while (cursor <= last) {
        const void *hit = std::memchr(cursor, first, static_cast<std::size_t>(last - cursor) + 1);
        if (!hit) {
            return -1;
        }
        cursor = static_cast<const char *>(hit);
        if (SameBytes(cursor + 1, pattern.data() + 1, size - 1)) {
            return static_cast<int>(cursor - data);
        }
        ++cursor;
    }
    return -1;
}

} // namespace

ProtocolParser::ProtocolParser()
    : m_frameSize(0)
    , m_ready(false)
{
}

ProtocolParser::~ProtocolParser()
{
    Clear();
}

void ProtocolParser::Clear()
{
    for (RxValue *value : m_values) {
        delete value;
    }
    m_values.clear();
    m_frameValues.clear();
    m_head = Pattern();
    m_tail = Pattern();
    m_frameSize = 0;
    m_ready = false;
}

bool ProtocolParser::Build(const RxProtocol *protocol)
{
    Clear();
    if (!protocol || protocol->GetFieldCount() < 1 || !CreateValues(protocol)) {
        // Nothing half-built survives: Update answers "not ready" until a build succeeds.
        Clear();
        return false;
    }
    CollectPatterns();
    m_ready = true;
    return true;
}

bool ProtocolParser::CreateValues(const RxProtocol *protocol)
{
    long long frameSize = 0;
    for (int i = 0; i < protocol->GetFieldCount(); ++i) {
        const RxField *field = protocol->GetField(i);
        if (!field || !field->IsEnabled()) {
            continue;
        }
        RxValue *value = CreateValue(*field);
        if (!value) {
            return false;
        }
        m_values.push_back(value);
        if (value->GetKind() == RxValue::Measured) {
            FrameValue record;
            record.formId = value->GetFormId();
            record.graphId = value->GetGraphId();
            record.coefficient = value->GetCoefficient();
            m_frameValues.push_back(record);
        }
        frameSize += static_cast<long long>(value->GetSize());
        // Offsets are 32-bit: a frame that no buffer can hold is refused.
        if (frameSize > INT_MAX) {
            return false;
        }
    }
    m_frameSize = static_cast<int>(frameSize);
    return true;
}

void ProtocolParser::CollectPatterns()
{
    if (m_frameSize < 1) {
        return;
    }
    const int count = static_cast<int>(m_values.size());
    // A head counts only when it opens the frame, a tail only when it closes it; a flag
    // elsewhere is compared in place while decoding.
    while (m_head.count < count && m_values[m_head.count]->GetKind() == RxValue::HeadTag) {
        const RxValue *value = m_values[m_head.count];
        m_head.bytes.append(value->GetData(), value->GetSize());
        ++m_head.count;
    }
    if (m_values.back()->GetKind() == RxValue::TailTag) {
        int first = count;
        while (first > 0 && m_values[first - 1]->GetKind() == RxValue::TailTag) {
            --first;
        }
        m_tail.count = count - first;
        for (int i = first; i < count; ++i) {
            m_tail.bytes.append(m_values[i]->GetData(), m_values[i]->GetSize());
        }
    }
}

ProtocolParser::PRResult ProtocolParser::Update(const char *data, int len, bool packet)
{
    (void)packet;
    PRResult result{NotReady, -1, -1, 0};
    if (!m_ready) {
        return result;
    }
    if (!data || len < 0 || len < m_frameSize) {
        result.status = NeedMoreData;
        return result;
    }

    const bool hasHead = m_head.count > 0;
    const bool hasTail = m_tail.count > 0;
    const int headSize = static_cast<int>(m_head.bytes.size());
    const int tailSize = static_cast<int>(m_tail.bytes.size());

    if (!hasHead && !hasTail) {
        result.status = FrameDecoded;
        result.headOffset = 0;
        result.tailOffset = len;
        result.frameEnd = len;
    } else {
        if (hasHead && headSize >= len) {
            result.status = NotLongerThanHead;
            return result;
        }
        if (hasTail && tailSize >= len) {
            result.status = NotLongerThanTail;
            return result;
        }
        int start = 0;
        int tailFrom = 0;
        if (hasHead) {
            const int head = FindPattern(data, len, 0, m_head.bytes);
            if (head < 0) {
                result.status = HeadNotFound;
                return result;
            }
            result.headOffset = head;
            if (len - head < m_frameSize) {
                result.status = NeedMoreData;
                return result;
            }
            result.status = FrameDecoded;
            result.frameEnd = head + m_frameSize;
            start = head;
            tailFrom = head + headSize;
        }
        if (hasTail) {
            // A frame ends at its regular tail position, or one byte before it. A match
            // further forward lies inside the frame's values: searching from there would
            // report "more bytes needed" for ever, as the same match is found again and again.
            tailFrom = std::max(tailFrom, start + m_frameSize - tailSize - 1);
            const int tail = FindPattern(data, len, tailFrom, m_tail.bytes);
            if (tail < 0) {
                result.status = TailNotFound;
                return result;
            }
            result.tailOffset = tail;
            result.status = FrameDecoded;
            result.frameEnd = tail + tailSize;
        }
    }

    const int start = hasHead ? result.headOffset + headSize : 0;
    if (!Decode(data, len, start)) {
        result.status = DecodingFailed;
    }
    return result;
}

bool ProtocolParser::Decode(const char *data, int len, int start)
{
    const int first = m_head.count;
    const int end = static_cast<int>(m_values.size()) - m_tail.count;
    std::size_t record = 0;
    int offset = start;
    for (int i = first; i < end; ++i) {
        RxValue *value = m_values[i];
        if (!value->Parse(data + offset, len - offset)) {
            return false;
        }
        if (value->GetKind() == RxValue::Measured) {
            m_frameValues[record++].value = value->GetValue();
        }
        offset += static_cast<int>(value->GetSize());
    }
    return true;
}
