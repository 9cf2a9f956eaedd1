#include <dorvane/paramlist.h>

#include "fields/paramtokenizer.h"

#include <stdexcept>

bool ParamList::Parse(const std::string &text)
{
    m_params.clear();
    ParamTokenizer tokenizer(text);
    ParamTokenizer::Kind kind = tokenizer.Next();
    while (true) {
        if (kind == ParamTokenizer::End) {
            return true;
        }
        if (kind == ParamTokenizer::Number) {
            m_params.push_back(Param{Number, tokenizer.Token()});
        } else if (kind == ParamTokenizer::QuotedString) {
            m_params.push_back(Param{String, tokenizer.Token()});
        } else {
            return false;
        }
        if (tokenizer.AtEnd()) {
            return true;
        }
        // Numbers are separated by commas; a string needs no separator.
        if (kind == ParamTokenizer::Number && tokenizer.Next() != ParamTokenizer::Comma) {
            return false;
        }
        kind = tokenizer.Next();
    }
}

const ParamList::Param &ParamList::ParamAt(int index) const
{
    if (index < 0 || static_cast<std::size_t>(index) >= m_params.size()) {
        throw std::out_of_range("ParamList::ParamAt: index out of range");
    }
    return m_params[static_cast<std::size_t>(index)];
}
