// The price number rule on arbitrary bytes: a number, when there is one, is finite.
#include "fuzz_support.h"

#include "stores/price_text.h"

#include <cctype>
#include <cmath>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto number = sarvik::numberFromPriceText(bytesOf(data, size));
    if (!number) return 0;
    FUZZ_CHECK(std::isfinite(*number));
    // The whole text is the literal: no blank before or after it.
    const std::string_view text = bytesOf(data, size);
    FUZZ_CHECK(!text.empty() && !std::isspace(static_cast<unsigned char>(text.front())) &&
               !std::isspace(static_cast<unsigned char>(text.back())));
    return 0;
}
