// The favorites file loader on arbitrary bytes; what loads, saves and loads again equal.
#include "fuzz_support.h"

#include "core/json.h"
#include "stores/browser_data_json.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::vector<sarvik::Bookmark> loaded;
    try {
        loaded = sarvik::json::decodeBookmarks(bytesOf(data, size));
    } catch (const sarvik::json::DecodeError&) {
        return 0;
    }
    const auto saved = sarvik::json::encodeBookmarks(loaded);
    if (!saved) return 0;  // values no file can hold (none come from JSON text)
    FUZZ_CHECK(sarvik::json::decodeBookmarks(*saved) == loaded);
    return 0;
}
