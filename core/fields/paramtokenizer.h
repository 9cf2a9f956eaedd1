#pragma once

#include <cstddef>
#include <string>

// Splits a parameter text into tokens. Binary literals (1010B, B 1010) come out already
// rewritten as hexadecimal text; one hexadecimal list (0x[12 34,56]) comes out as one number
// token per element with commas between them.
class ParamTokenizer
{
public:
    enum Kind : int {
        End = 0, // end of text, or an error
        Number = 1,
        Identifier = 2,
        Comma = 3,
        OpenParen = 4,
        CloseParen = 5,
        OpenBracket = 6,
        CloseBracket = 7,
        Semicolon = 8,
        QuotedString = 9,
    };

    explicit ParamTokenizer(const std::string &text);

    Kind Next();
    const std::string &Token() const { return m_token; }
    bool AtEnd() const { return m_pos >= m_text.size(); }

private:
    enum class ListMode { None, Inside, Done };
    enum class State { Start, Decimal, BinaryDigits, Hex, Identifier, String };

    Kind FinishDecimal();
    Kind FinishBinary();
    Kind FinishHex();
    // Whitespace skipped inside a binary number that turns out to trail the text is not part of
    // the number: the position goes back to it.
    void SkipBinaryWhitespace();

    std::string m_text;
    std::string m_token;
    std::size_t m_pos = 0;
    ListMode m_listMode = ListMode::None;
};
