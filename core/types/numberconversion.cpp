#include "types/numberconversion.h"

#include <cerrno>
#include <cstdlib>

#if defined(_WIN32)
#include <locale.h>
#else
#include <locale.h>
#include <stdlib.h>
#endif

namespace {

#if defined(_WIN32)
_locale_t CLocale()
{
    static const _locale_t locale = _create_locale(LC_NUMERIC, "C");
    return locale;
}
#else
locale_t CLocale()
{
    static const locale_t locale = newlocale(LC_NUMERIC_MASK, "C", static_cast<locale_t>(nullptr));
    return locale;
}
#endif

} // namespace

std::uint64_t ParseUInt64(const std::string &text)
{
    const char *begin = text.c_str();
    char *end = nullptr;
    errno = 0;
    const unsigned long long value = std::strtoull(begin, &end, 0);
    if (end == begin || errno == ERANGE) {
        return 0;
    }
    return value;
}

long double ParseLongDouble(const std::string &text)
{
    const char *begin = text.c_str();
    char *end = nullptr;
    errno = 0;
#if defined(_WIN32)
    const long double value = _strtold_l(begin, &end, CLocale());
#else
    const locale_t locale = CLocale();
    const long double value = locale ? strtold_l(begin, &end, locale) : std::strtold(begin, &end);
#endif
    if (end == begin || errno == ERANGE) {
        return 0;
    }
    return value;
}
