#include "stores/price_text.h"

#include <unicode/numfmt.h>
#include <unicode/unistr.h>

#include <cmath>
#include <memory>

namespace sarvik {
namespace {

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r'; }

std::unique_ptr<icu::NumberFormat> decimalFormat(const icu::Locale& locale) {
    UErrorCode status = U_ZERO_ERROR;
    std::unique_ptr<icu::NumberFormat> format(icu::NumberFormat::createInstance(locale, UNUM_DECIMAL, status));
    if (U_FAILURE(status)) return nullptr;
    // Strict: a grouping sign out of place ("12.50" in German) is a mistake, not a number to guess at.
    format->setLenient(false);
    return format;
}

}  // namespace

std::optional<double> numberFromPriceText(std::string_view text, const icu::Locale& locale) {
    if (text.empty() || isBlank(text.front()) || isBlank(text.back())) return std::nullopt;
    const auto format = decimalFormat(locale);
    if (!format) return std::nullopt;
    // Bytes that are not UTF-8, and an embedded NUL, end the number early, so the text is refused.
    const auto unicode = icu::UnicodeString::fromUTF8(icu::StringPiece(text.data(), static_cast<int32_t>(text.size())));
    icu::Formattable number;
    icu::ParsePosition position(0);
    format->parse(unicode, number, position);
    if (position.getErrorIndex() >= 0 || position.getIndex() != unicode.length()) return std::nullopt;
    UErrorCode status = U_ZERO_ERROR;
    const double value = number.getDouble(status);
    if (U_FAILURE(status) || !std::isfinite(value)) return std::nullopt;
    return value;
}

std::string priceText(double value, const icu::Locale& locale) {
    const auto format = decimalFormat(locale);
    if (!format) return std::to_string(value);
    format->setMaximumFractionDigits(6);
    icu::UnicodeString formatted;
    format->format(value, formatted);
    std::string text;
    return formatted.toUTF8String(text);
}

std::string priceTextExample(const icu::Locale& locale) {
    std::string text = "1234.56";
    const auto format = decimalFormat(locale);
    if (!format) return text;
    format->setMinimumFractionDigits(2);
    icu::UnicodeString formatted;
    format->format(1234.56, formatted);
    text.clear();
    formatted.toUTF8String(text);
    return text;
}

}  // namespace sarvik
