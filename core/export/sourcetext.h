#pragma once

#include <string>
#include <vector>

// Turning user text (field and protocol names) into pieces of generated source that can
// neither break the syntax nor inject code.

// Letters, digits and "_" kept, every other byte "_", runs of "_" folded, never a leading digit
// or "_"; lowerCase folds letters. Empty when nothing is left.
std::string SanitizeIdentifier(const std::string &text, bool lowerCase);

// Hands out identifiers that are unique within one generated file: a taken or reserved name
// gets "_2", "_3", ...
class IdentifierSet
{
public:
    explicit IdentifierSet(std::vector<std::string> reserved = {});
    // The sanitised text, or fallback when nothing of it is left, made unique.
    std::string Take(const std::string &text, const std::string &fallback, bool lowerCase);

private:
    bool IsTaken(const std::string &name) const;

    std::vector<std::string> m_taken;
};

// Text fit to show: control characters become spaces and bytes that do not form UTF-8 become
// "?".
std::string DisplayText(const std::string &text);
// A double-quoted Lua string literal of the display text; everything outside printable ASCII
// and the quote and backslash are decimal escapes.
std::string LuaStringLiteral(const std::string &text);
// A Lua string literal of raw bytes, every byte a decimal escape.
std::string LuaBytesLiteral(const std::string &bytes);
// A Lua numeric literal; infinities and NaN as expressions, which Lua has no literal for.
std::string LuaNumber(double value);
// A C string literal of raw bytes, every byte an octal escape.
std::string COctalLiteral(const std::string &bytes);
// Display text fit for a Lua line comment or a C block comment: no line breaks, no "*/" or "/*",
// no "??" (a trigraph start in C).
std::string CommentText(const std::string &text);
// A number as "0x..." in upper-case hex digits.
std::string HexNumber(unsigned long long value, int digits);
