#include "stores/price_text.h"

#include <locale.h>

#include <cmath>
#include <cstdlib>
#include <string>

namespace sarvik {
namespace {

// The POSIX locale, made once: the user's locale must not change what a price reads as.
locale_t posixLocale() {
    static const locale_t locale = newlocale(LC_ALL_MASK, "POSIX", static_cast<locale_t>(nullptr));
    return locale;
}

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r'; }

}  // namespace

std::optional<double> numberFromPriceText(std::string_view text) {
    if (text.empty() || isBlank(text.front())) return std::nullopt;
    const std::string terminated(text);  // an embedded NUL ends the literal early, so the text is rejected
    char* end = nullptr;
    const double value = strtod_l(terminated.c_str(), &end, posixLocale());
    if (end != terminated.c_str() + terminated.size()) return std::nullopt;
    if (!std::isfinite(value)) return std::nullopt;
    return value;
}

}  // namespace sarvik
