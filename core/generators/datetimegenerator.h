#pragma once

#include <dorvane/coretypes.h>
#include <dorvane/paramlist.h>

#include "generators/datetimeformat.h"
#include "generators/valuelist.h"
#include "types/hostendian.h"
#include "types/valuelimits.h"

#include <cstddef>
#include <vector>

// The local date and time as text, one element per character. The element count is fixed by
// the text's length at creation: a later, longer text is cut, a shorter one leaves the tail.
template<typename T>
class DateTimeGenerator
{
public:
    using ValueType = T;
    static constexpr bool kConstant = false;

    bool Setup(const ParamList &params, std::vector<T> &elements)
    {
        if (params.Count() < 1 || params.ParamAt(0).type != ParamList::String) {
            return false;
        }
        m_format = DateTimeFormat(params.ParamAt(0).value);
        const std::size_t length = m_format.Length(DateTimeFormat::Now());
        if (length > static_cast<std::size_t>(kMaxValueBytes) / sizeof(T)) {
            return false;
        }
        elements.assign(length, T{});
        return true;
    }

    void ApplyEndian(std::vector<T> &, Endianness) {}

    void Update(std::vector<T> &elements, Endianness endian)
    {
        std::size_t i = 0;
        const std::size_t count = elements.size();
        m_format.Format(DateTimeFormat::Now(), [&](char c) {
            if (i < count) {
                elements[i] = InByteOrder(CharElement<T>(c), endian);
            }
            ++i;
        });
    }

    void Reset() {}

private:
    DateTimeFormat m_format;
};
