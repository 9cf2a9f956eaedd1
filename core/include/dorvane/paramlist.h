#pragma once

#include <dorvane/core_export.h>

#include <cstddef>
#include <string>
#include <vector>

// The parsed form of a parameter text: comma-separated numbers (decimal, hexadecimal, binary,
// or one hexadecimal list such as 0x[12 34 56]) and quoted strings.
class DORVANE_CORE_EXPORT ParamList
{
public:
    enum ParamType : int {
        Number = 0,
        String = 1,
    };

    struct Param
    {
        int type = Number;
        std::string value;
    };

    // On false the list keeps the parameters read before the failure.
    bool Parse(const std::string &text);
    std::size_t Count() const { return m_params.size(); }
    // Throws std::out_of_range for an index outside the list.
    const Param &ParamAt(int index) const;

private:
    std::vector<Param> m_params;
};
