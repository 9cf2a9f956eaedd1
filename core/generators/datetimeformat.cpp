#include "generators/datetimeformat.h"

#include <chrono>
#include <ctime>

DateTimeFormat::DateTimeFormat(const std::string &format)
    : m_format(format)
{
    std::size_t i = 0;
    while (i < format.size()) {
        const char c = format[i];
        std::size_t run = 1;
        while (i + run < format.size() && format[i + run] == c) {
            ++run;
        }
        Source source = Source::None;
        Kind kind = Kind::Number;
        int width = 0;
        switch (c) {
        case 'M':
        case 'd':
        case 'm':
        case 's':
            if (run <= 2) {
                source = c == 'M'   ? Source::Month
                         : c == 'd' ? Source::Day
                         : c == 'm' ? Source::Minute
                                    : Source::Second;
                width = static_cast<int>(run);
            }
            break;
        case 'h':
            if (run <= 2) {
                source = run == 1 ? Source::Hour12 : Source::Hour;
                width = static_cast<int>(run);
            }
            break;
        case 'y':
            if (run == 2) {
                source = Source::YearOfCentury;
                kind = Kind::Padded;
                width = 2;
            } else if (run == 4) {
                source = Source::Year;
                kind = Kind::Padded;
                width = 4;
            }
            break;
        case 'z':
            if (run <= 3) {
                source = Source::Milli;
                width = 3;
            }
            break;
        default:
            if (!m_pieces.empty() && m_pieces.back().kind == Kind::Literal
                && m_pieces.back().start + m_pieces.back().length == i) {
                m_pieces.back().length += run;
            } else {
                m_pieces.push_back(Piece{Kind::Literal, Source::None, 0, i, run});
            }
            i += run;
            continue;
        }
        if (source != Source::None) {
            m_pieces.push_back(Piece{kind, source, width, 0, 0});
        }
        i += run;
    }
}

DateTimeFormat::Moment DateTimeFormat::Now()
{
    using namespace std::chrono;
    const auto now = system_clock::now();
    const auto milliseconds = duration_cast<std::chrono::milliseconds>(now.time_since_epoch()).count();
    const std::time_t seconds = system_clock::to_time_t(now);
    std::tm local{};
#if defined(_WIN32)
    localtime_s(&local, &seconds);
#else
    localtime_r(&seconds, &local);
#endif
    Moment moment;
    moment.year = local.tm_year + 1900;
    moment.month = local.tm_mon + 1;
    moment.day = local.tm_mday;
    moment.hour = local.tm_hour;
    moment.minute = local.tm_min;
    moment.second = local.tm_sec;
    moment.millisecond = static_cast<int>(((milliseconds % 1000) + 1000) % 1000);
    return moment;
}

int DateTimeFormat::ValueOf(Source source, const Moment &moment)
{
    switch (source) {
    case Source::Year:
        return moment.year;
    case Source::YearOfCentury:
        return moment.year % 100;
    case Source::Month:
        return moment.month;
    case Source::Day:
        return moment.day;
    case Source::Hour:
        return moment.hour;
    case Source::Hour12:
        return moment.hour > 12 ? moment.hour - 12 : moment.hour;
    case Source::Minute:
        return moment.minute;
    case Source::Second:
        return moment.second;
    case Source::Milli:
        return moment.millisecond;
    case Source::None:
        break;
    }
    return 0;
}

std::size_t DateTimeFormat::Length(const Moment &moment) const
{
    std::size_t length = 0;
    Format(moment, [&length](char) { ++length; });
    return length;
}

std::string DateTimeFormat::ToString(const Moment &moment) const
{
    std::string text;
    Format(moment, [&text](char c) { text.push_back(c); });
    return text;
}
