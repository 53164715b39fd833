#pragma once

#include <unicode/locid.h>

#include <optional>
#include <string>
#include <string_view>

namespace sarvik {

// The number a typed price text holds, or none. The text is read as `locale`
// writes decimal numbers (its grouping and decimal signs, an optional sign
// and exponent), so "1,200.50" in English and "1.200,50" in German are both
// 1200.5; grouping signs must stand where the locale puts them. The whole
// text must be the number, with no blank before or after it. Infinities and
// NaN are not numbers here: they cannot be stored.
std::optional<double> numberFromPriceText(std::string_view text, const icu::Locale& locale = icu::Locale::getDefault());

// A stored price as `locale` writes it, in the form numberFromPriceText()
// reads back (grouped, at most six decimals), to put in a field for editing.
std::string priceText(double value, const icu::Locale& locale = icu::Locale::getDefault());

// 1234.56 as `locale` writes it, to show how a price is typed.
std::string priceTextExample(const icu::Locale& locale = icu::Locale::getDefault());

}  // namespace sarvik
