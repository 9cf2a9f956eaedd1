#pragma once

#include <dorvane/paramlist.h>

#include <cstddef>

// True when the list has at least `required` parameters and they are numbers. The `optional`
// ones after them are read only when the list holds exactly all of them, and then have to be
// numbers too; longer lists keep just the required ones.
inline bool HasNumberParams(const ParamList &params, std::size_t required, std::size_t optional = 0)
{
    if (params.Count() < required) {
        return false;
    }
    const std::size_t checked = params.Count() == required + optional ? params.Count() : required;
    for (std::size_t i = 0; i < checked; ++i) {
        if (params.ParamAt(static_cast<int>(i)).type != ParamList::Number) {
            return false;
        }
    }
    return true;
}
