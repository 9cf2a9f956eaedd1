#pragma once

#include <dorvane/paramlist.h>

#include "types/numberconversion.h"
#include "types/valuelimits.h"

#include <cstddef>
#include <vector>

// The values of a Scatter or Array parameter list: one per byte of a single quoted string, or
// every number in order (strings skipped). The frame size that the editor shows is computed
// from the same rules.
inline bool IsStringValueList(const ParamList &params)
{
    return params.Count() == 1 && params.ParamAt(0).type == ParamList::String;
}

inline std::size_t ValueListCount(const ParamList &params)
{
    if (IsStringValueList(params)) {
        return params.ParamAt(0).value.size();
    }
    std::size_t count = 0;
    for (std::size_t i = 0; i < params.Count(); ++i) {
        if (params.ParamAt(static_cast<int>(i)).type == ParamList::Number) {
            ++count;
        }
    }
    return count;
}

// A text byte as an element: read as a signed 8-bit number, then converted.
template<typename T>
inline T CharElement(char c)
{
    return static_cast<T>(static_cast<signed char>(c));
}

// Fills values; false when the list is empty or would exceed the size of one value.
template<typename T>
bool MakeValueList(const ParamList &params, std::vector<T> &values)
{
    const std::size_t count = ValueListCount(params);
    if (count == 0 || count > static_cast<std::size_t>(kMaxValueBytes) / sizeof(T)) {
        return false;
    }
    values.clear();
    values.reserve(count);
    if (IsStringValueList(params)) {
        for (char c : params.ParamAt(0).value) {
            values.push_back(CharElement<T>(c));
        }
    } else {
        for (std::size_t i = 0; i < params.Count(); ++i) {
            const ParamList::Param &param = params.ParamAt(static_cast<int>(i));
            if (param.type == ParamList::Number) {
                values.push_back(ConvertParam<T>(param.value));
            }
        }
    }
    return true;
}

// The element count of a Block: the integer value of a leading number, otherwise 0.
inline int BlockCount(const ParamList &params)
{
    if (params.Count() == 0 || params.ParamAt(0).type != ParamList::Number) {
        return 0;
    }
    return ConvertInt(params.ParamAt(0).value);
}
