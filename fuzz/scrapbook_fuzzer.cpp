// The scrapbook metadata loader on arbitrary bytes; load, save, load gives equal data.
#include "fuzz_support.h"

#include "core/json.h"
#include "stores/scrapbook_data.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    sarvik::ScrapbookData loaded;
    try {
        loaded = sarvik::decodeScrapbookData(bytesOf(data, size));
    } catch (const sarvik::json::DecodeError&) {
        return 0;
    }
    const auto saved = sarvik::encodeScrapbookData(loaded);
    if (!saved) return 0;
    FUZZ_CHECK(sarvik::decodeScrapbookData(*saved) == loaded);
    return 0;
}
