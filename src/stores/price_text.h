#pragma once

#include <optional>
#include <string_view>

namespace sarvik {

// The number a typed price text holds, or none. The whole text must be one
// floating-point literal as strtod reads it in the POSIX locale (sign, digits
// with point and exponent, hexadecimal form), with no blank before or after
// it. Infinities and NaN are not numbers here: they cannot be stored.
std::optional<double> numberFromPriceText(std::string_view text);

}  // namespace sarvik
