// What the address field resolves typed bytes to (invalid UTF-8 included):
// never a crash, and a resolved address parses the same every time.
#include "fuzz_support.h"

#include "core/address_resolution.h"
#include "core/url.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view typed = bytesOf(data, size);
    const std::string resolved = sarvik::resolveAddressText(typed, "https://search.example/?q=");
    FUZZ_CHECK(!resolved.empty());
    const auto url = sarvik::Url::parse(resolved);
    if (url) {
        const auto again = sarvik::Url::parse(resolved);
        FUZZ_CHECK(again && again->absoluteString() == url->absoluteString());
    }
    (void)sarvik::Url::parse(typed);
    (void)sarvik::trimWhitespaceAndNewlines(typed);
    return 0;
}
