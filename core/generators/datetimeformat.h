#pragma once

#include <cstddef>
#include <string>
#include <vector>

// A local date and time pattern such as "yyyy-MM-dd hh:mm:ss.zzz". A run of equal pattern
// letters is one pattern; a run of a length the letter does not know produces nothing; every
// other character stands for itself.
class DateTimeFormat
{
public:
    struct Moment
    {
        int year = 1970;
        int month = 1;
        int day = 1;
        int hour = 0;
        int minute = 0;
        int second = 0;
        int millisecond = 0;
    };

    explicit DateTimeFormat(const std::string &format = std::string());

    static Moment Now();

    // Calls sink(char) for every character of the formatted moment; allocates nothing.
    template<typename Sink>
    void Format(const Moment &moment, Sink &&sink) const;

    std::size_t Length(const Moment &moment) const;
    std::string ToString(const Moment &moment) const;

private:
    enum class Kind : char {
        Literal,
        Number, // value, at least width digits, zero padded
        Padded, // value right-aligned in width with spaces
    };
    enum class Source : char { None, Year, YearOfCentury, Month, Day, Hour, Hour12, Minute, Second, Milli };

    struct Piece
    {
        Kind kind;
        Source source;
        int width;
        // Literal runs refer to the stored format text.
        std::size_t start;
        std::size_t length;
    };

    static int ValueOf(Source source, const Moment &moment);

    std::string m_format;
    std::vector<Piece> m_pieces;
};

template<typename Sink>
void DateTimeFormat::Format(const Moment &moment, Sink &&sink) const
{
    for (const Piece &piece : m_pieces) {
        if (piece.kind == Kind::Literal) {
            for (std::size_t i = 0; i < piece.length; ++i) {
                sink(m_format[piece.start + i]);
            }
            continue;
        }
        int value = ValueOf(piece.source, moment);
        const bool negative = value < 0;
        unsigned int magnitude
            = negative ? 0u - static_cast<unsigned int>(value) : static_cast<unsigned int>(value);
        char digits[12];
        int count = 0;
        do {
            digits[count++] = static_cast<char>('0' + magnitude % 10);
            magnitude /= 10;
        } while (magnitude != 0);
        const int length = count + (negative ? 1 : 0);
        const char pad = piece.kind == Kind::Number ? '0' : ' ';
        if (pad == ' ') {
            for (int i = length; i < piece.width; ++i) {
                sink(' ');
            }
        }
        if (negative) {
            sink('-');
        }
        if (pad == '0') {
            for (int i = length; i < piece.width; ++i) {
                sink('0');
            }
        }
        while (count > 0) {
            sink(digits[--count]);
        }
    }
}
