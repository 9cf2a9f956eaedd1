#include <dorvane/paramlist.h>
#include <dorvane/valuemetainfo.h>
#include <dorvane/valuesize.h>

#include "generators/datetimeformat.h"
#include "generators/valuelist.h"
#include "types/valuelimits.h"

#include <climits>

ValueSize::ValueSize(const ValueMetaInfo *value)
    : m_value(value)
    , m_size(0)
{
}

void ValueSize::CalculateSize(int typeId)
{
    const int width = TypeWidth(typeId);
    if (width == 0 || !m_value) {
        return;
    }
    ParamList params;
    params.Parse(m_value->GetParamList());

    long long count = 1;
    switch (m_value->GetValueGeneratorType()) {
    case Array:
        count = GetArraySize(params);
        break;
    case Block:
        count = GetBlockFillCount(params);
        break;
    case DateTime:
        count = GetDateTimeLength(params);
        break;
    default:
        break;
    }
    // What the value cannot be created with occupies nothing.
    const long long bytes = count * width;
    m_size = count < 0 || bytes > kMaxValueBytes ? 0 : static_cast<int>(bytes);
}

// The values that the frame will hold, by the same rules as the value itself: a single quoted
// string counts its bytes, otherwise only the numbers count.
int ValueSize::GetArraySize(const ParamList &params) const
{
    const std::size_t count = ValueListCount(params);
    return count > static_cast<std::size_t>(INT_MAX) ? INT_MAX : static_cast<int>(count);
}

int ValueSize::GetBlockFillCount(const ParamList &params) const
{
    const int count = BlockCount(params);
    return count < 1 ? 0 : count;
}

int ValueSize::GetDateTimeLength(const ParamList &params) const
{
    if (params.Count() == 0 || params.ParamAt(0).type != ParamList::String) {
        return 0;
    }
    const std::size_t length = DateTimeFormat(params.ParamAt(0).value).Length(DateTimeFormat::Now());
    return length > static_cast<std::size_t>(INT_MAX) ? INT_MAX : static_cast<int>(length);
}
