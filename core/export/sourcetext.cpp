#include "export/sourcetext.h"

#include <algorithm>
#include <cstdio>

namespace {

bool IsAsciiLetter(unsigned char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

bool IsAsciiDigit(unsigned char c)
{
    return c >= '0' && c <= '9';
}

// The length of the well-formed UTF-8 sequence at text[pos], 0 when there is none (overlong
// forms, surrogates and code points past U+10FFFF count as malformed).
std::size_t Utf8SequenceLength(const std::string &text, std::size_t pos)
{
    const unsigned char lead = static_cast<unsigned char>(text[pos]);
    std::size_t length = 0;
    unsigned int low = 0x80;
    unsigned int high = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        if (lead == 0xE0) {
            low = 0xA0;
        } else if (lead == 0xED) {
            high = 0x9F;
        }
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        if (lead == 0xF0) {
            low = 0x90;
        } else if (lead == 0xF4) {
            high = 0x8F;
        }
    } else {
        return 0;
    }
    if (pos + length > text.size()) {
        return 0;
    }
    for (std::size_t i = 1; i < length; ++i) {
        const unsigned char c = static_cast<unsigned char>(text[pos + i]);
        const unsigned int lo = i == 1 ? low : 0x80;
        const unsigned int hi = i == 1 ? high : 0xBF;
        if (c < lo || c > hi) {
            return 0;
        }
    }
    return length;
}

} // namespace

std::string SanitizeIdentifier(const std::string &text, bool lowerCase)
{
    std::string out;
    for (const char ch : text) {
        unsigned char c = static_cast<unsigned char>(ch);
        if (IsAsciiLetter(c) || IsAsciiDigit(c)) {
            if (lowerCase && c >= 'A' && c <= 'Z') {
                c = static_cast<unsigned char>(c - 'A' + 'a');
            }
            out.push_back(static_cast<char>(c));
        } else if (!out.empty() && out.back() != '_') {
            out.push_back('_');
        }
    }
    while (!out.empty() && out.back() == '_') {
        out.pop_back();
    }
    if (!out.empty() && IsAsciiDigit(static_cast<unsigned char>(out.front()))) {
        out.insert(0, "f");
    }
    return out;
}

IdentifierSet::IdentifierSet(std::vector<std::string> reserved)
    : m_taken(std::move(reserved))
{
}

bool IdentifierSet::IsTaken(const std::string &name) const
{
    return std::find(m_taken.begin(), m_taken.end(), name) != m_taken.end();
}

std::string IdentifierSet::Take(const std::string &text, const std::string &fallback, bool lowerCase)
{
    std::string base = SanitizeIdentifier(text, lowerCase);
    if (base.empty()) {
        base = fallback;
    }
    std::string name = base;
    for (int n = 2; IsTaken(name); ++n) {
        name = base + "_" + std::to_string(n);
    }
    m_taken.push_back(name);
    return name;
}

std::string DisplayText(const std::string &text)
{
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        if (c < 0x20 || c == 0x7F) {
            out.push_back(' ');
            ++i;
        } else if (c < 0x80) {
            out.push_back(static_cast<char>(c));
            ++i;
        } else if (const std::size_t length = Utf8SequenceLength(text, i)) {
            out.append(text, i, length);
            i += length;
        } else {
            out.push_back('?');
            ++i;
        }
    }
    return out;
}

std::string LuaStringLiteral(const std::string &text)
{
    std::string out = "\"";
    for (const char ch : DisplayText(text)) {
        const unsigned char c = static_cast<unsigned char>(ch);
        if (c >= 0x20 && c < 0x7F && c != '"' && c != '\\') {
            out.push_back(ch);
        } else {
            // Always three digits, so a digit that follows cannot join the escape.
            char escape[8];
            std::snprintf(escape, sizeof escape, "\\%03u", static_cast<unsigned>(c));
            out += escape;
        }
    }
    out.push_back('"');
    return out;
}

std::string LuaBytesLiteral(const std::string &bytes)
{
    std::string out = "\"";
    for (const char ch : bytes) {
        char escape[8];
        std::snprintf(escape, sizeof escape, "\\%03u", static_cast<unsigned>(static_cast<unsigned char>(ch)));
        out += escape;
    }
    out.push_back('"');
    return out;
}

std::string LuaNumber(double value)
{
    if (value != value) {
        return "(0/0)";
    }
    if (value > 1.7976931348623157e308) {
        return "(1/0)";
    }
    if (value < -1.7976931348623157e308) {
        return "(-1/0)";
    }
    char text[40];
    std::snprintf(text, sizeof text, "%.17g", value);
    // "%g" follows the C locale only when the process keeps it; a comma would end the number.
    for (char *c = text; *c; ++c) {
        if (*c == ',') {
            *c = '.';
        }
    }
    return text;
}

std::string COctalLiteral(const std::string &bytes)
{
    std::string out = "\"";
    for (const char ch : bytes) {
        char escape[8];
        std::snprintf(escape, sizeof escape, "\\%03o", static_cast<unsigned>(static_cast<unsigned char>(ch)));
        out += escape;
    }
    out.push_back('"');
    return out;
}

std::string CommentText(const std::string &text)
{
    std::string out = DisplayText(text);
    for (std::size_t pos = 0; (pos = out.find("*/", pos)) != std::string::npos;) {
        out.replace(pos, 2, "* /");
    }
    // "/*" inside a block comment is a warning of its own.
    for (std::size_t pos = 0; (pos = out.find("/*", pos)) != std::string::npos;) {
        out.replace(pos, 2, "/ *");
    }
    for (std::size_t pos = 0; (pos = out.find("??", pos)) != std::string::npos;) {
        out.replace(pos, 2, "? ?");
    }
    // A trailing backslash would splice the next line into a line comment.
    if (!out.empty() && out.back() == '\\') {
        out.push_back(' ');
    }
    return out;
}

std::string HexNumber(unsigned long long value, int digits)
{
    char text[32];
    std::snprintf(text, sizeof text, "0x%0*llX", digits, value);
    return text;
}
