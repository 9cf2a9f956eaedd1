#include "fields/paramtokenizer.h"

#include <algorithm>

namespace {

bool IsSpace(char c)
{
    return c == ' ' || c == '\t';
}

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

bool IsLetter(char c)
{
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

bool IsHexDigit(char c)
{
    return IsDigit(c) || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

bool IsDelimiter(char c)
{
    switch (c) {
    case ',':
    case '(':
    case ')':
    case '[':
    case ']':
    case ';':
        return true;
    default:
        return false;
    }
}

ParamTokenizer::Kind DelimiterKind(char c)
{
    switch (c) {
    case ',':
        return ParamTokenizer::Comma;
    case '(':
        return ParamTokenizer::OpenParen;
    case ')':
        return ParamTokenizer::CloseParen;
    case '[':
        return ParamTokenizer::OpenBracket;
    case ']':
        return ParamTokenizer::CloseBracket;
    default:
        return ParamTokenizer::Semicolon;
    }
}

bool OnlyBinaryDigits(const std::string &token)
{
    return !token.empty() && token.find_first_not_of("01") == std::string::npos;
}

bool IsHexPrefix(const std::string &token)
{
    return token == "0x" || token == "0X";
}

bool IsBinaryPrefix(const std::string &token)
{
    return token == "B" || token == "b";
}

// 1010B / B0101 to 0xA: a leading letter means the digits are written least significant
// first.
std::string BinaryToHex(const std::string &token)
{
    std::string digits(token);
    if (!digits.empty() && (digits.front() == 'B' || digits.front() == 'b')) {
        std::reverse(digits.begin(), digits.end());
    }
    if (!digits.empty() && (digits.back() == 'B' || digits.back() == 'b')) {
        digits.pop_back();
    }
    if (digits.size() % 4 != 0) {
        digits.insert(0, 4 - digits.size() % 4, '0');
    }
    static const char kHex[] = "0123456789ABCDEF";
    std::string result("0x");
    result.reserve(2 + digits.size() / 4);
    for (std::size_t i = 0; i < digits.size(); i += 4) {
        int nibble = 0;
        for (std::size_t j = 0; j < 4; ++j) {
            nibble = nibble * 2 + (digits[i + j] == '1' ? 1 : 0);
        }
        result.push_back(kHex[nibble]);
    }
    return result;
}

} // namespace

ParamTokenizer::ParamTokenizer(const std::string &text)
    : m_text(text.substr(0, text.find('\0')))
{
}

void ParamTokenizer::SkipBinaryWhitespace()
{
    const std::size_t first = m_pos;
    while (m_pos < m_text.size() && IsSpace(m_text[m_pos])) {
        ++m_pos;
    }
    if (m_pos >= m_text.size()) {
        m_pos = first;
    }
}

ParamTokenizer::Kind ParamTokenizer::FinishDecimal()
{
    if (std::count(m_token.begin(), m_token.end(), '-') > 1
        || std::count(m_token.begin(), m_token.end(), '.') > 1) {
        return End;
    }
    return Number;
}

ParamTokenizer::Kind ParamTokenizer::FinishBinary()
{
    m_token = BinaryToHex(m_token);
    return Number;
}

ParamTokenizer::Kind ParamTokenizer::FinishHex()
{
    // An element of a hexadecimal list needs at least one digit: "0x[12 ]" and "0x[]" hold no
    // phantom zero.
    if (m_listMode == ListMode::Inside && IsHexPrefix(m_token)) {
        return End;
    }
    return Number;
}

ParamTokenizer::Kind ParamTokenizer::Next()
{
    m_token.clear();
    if (m_pos >= m_text.size()) {
        return End;
    }

    State state = State::Start;
    if (m_listMode == ListMode::Inside) {
        m_token = "0x";
        state = State::Hex;
    }

    while (true) {
        if (m_pos >= m_text.size()) {
            switch (state) {
            case State::Start:
            case State::String:
                return End;
            case State::Decimal:
                return FinishDecimal();
            case State::BinaryDigits:
                return FinishBinary();
            case State::Hex:
                return FinishHex();
            case State::Identifier:
                return Identifier;
            }
        }

        const char c = m_text[m_pos];
        switch (state) {
        case State::Start:
            if (IsSpace(c)) {
                ++m_pos;
            } else if (IsDigit(c) || c == '-' || c == '.') {
                m_token.push_back(c);
                ++m_pos;
                state = State::Decimal;
            } else if (IsLetter(c)) {
                m_token.push_back(c);
                ++m_pos;
                state = State::Identifier;
            } else if (c == '"') {
                ++m_pos;
                state = State::String;
            } else if (IsDelimiter(c)) {
                m_token.assign(1, c);
                ++m_pos;
                return DelimiterKind(c);
            } else {
                m_token.push_back(c);
                ++m_pos;
            }
            break;

        case State::Decimal:
            if (IsDigit(c)) {
                m_token.push_back(c);
                ++m_pos;
            } else if (c == '.') {
                if (m_token.find('.') != std::string::npos) {
                    return End;
                }
                m_token.push_back(c);
                ++m_pos;
            } else if (IsSpace(c)) {
                if (!OnlyBinaryDigits(m_token)) {
                    return FinishDecimal();
                }
                SkipBinaryWhitespace();
                if (m_pos < m_text.size() && IsSpace(m_text[m_pos])) {
                    return FinishDecimal();
                }
            } else if (IsDelimiter(c)) {
                return FinishDecimal();
            } else if ((c == 'B' || c == 'b') && OnlyBinaryDigits(m_token)) {
                m_token.push_back(c);
                ++m_pos;
                return FinishBinary();
            } else if ((c == 'X' || c == 'x') && m_token == "0") {
                m_token.push_back(c);
                ++m_pos;
                state = State::Hex;
            } else if (IsLetter(c)) {
                return End;
            } else {
                m_token.push_back(c);
                ++m_pos;
            }
            break;

        case State::BinaryDigits:
            if (c == '0' || c == '1') {
                m_token.push_back(c);
                ++m_pos;
            } else if (IsSpace(c)) {
                SkipBinaryWhitespace();
                if (m_pos < m_text.size() && IsSpace(m_text[m_pos])) {
                    return FinishBinary();
                }
            } else if (IsDelimiter(c)) {
                return FinishBinary();
            } else {
                return End;
            }
            break;

        case State::Hex:
            if (IsHexDigit(c)) {
                m_token.push_back(c);
                ++m_pos;
            } else if (c == '[') {
                if (m_listMode != ListMode::None) {
                    return End;
                }
                m_listMode = ListMode::Inside;
                ++m_pos;
            } else if (c == ']' && m_listMode == ListMode::Inside) {
                ++m_pos;
                const Kind kind = FinishHex();
                m_listMode = ListMode::Done;
                return kind;
            } else if (c == ']') {
                m_token.push_back(c);
                ++m_pos;
            } else if (m_listMode == ListMode::Inside) {
                if (c == ',') {
                    if (IsHexPrefix(m_token)) {
                        m_token.assign(1, ',');
                        ++m_pos;
                        return Comma;
                    }
                    return Number;
                }
                if (IsSpace(c)) {
                    if (IsHexPrefix(m_token)) {
                        ++m_pos;
                    } else {
                        m_text[m_pos] = ',';
                        return Number;
                    }
                } else {
                    return End;
                }
            } else if (IsSpace(c) || c == ',') {
                return FinishHex();
            } else {
                return End;
            }
            break;

        case State::Identifier:
            if (IsLetter(c)) {
                m_token.push_back(c);
                ++m_pos;
            } else if (IsDigit(c)) {
                if ((c == '0' || c == '1') && IsBinaryPrefix(m_token)) {
                    m_token.push_back(c);
                    ++m_pos;
                    state = State::BinaryDigits;
                } else {
                    return End;
                }
            } else if (IsSpace(c)) {
                if (!IsBinaryPrefix(m_token)) {
                    return Identifier;
                }
                ++m_pos;
            } else if (IsDelimiter(c)) {
                return Identifier;
            } else {
                m_token.push_back(c);
                ++m_pos;
            }
            break;

        case State::String:
            if (c == '"') {
                ++m_pos;
                return QuotedString;
            }
            if (c == '\\') {
                ++m_pos;
                if (m_pos >= m_text.size()) {
                    return End;
                }
            }
            m_token.push_back(m_text[m_pos]);
            ++m_pos;
            break;
        }
    }
}
