// The history file's streaming loader on arbitrary bytes; load, save, load gives equal data.
#include "fuzz_support.h"

#include "core/json.h"
#include "stores/browser_data_json.h"

#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::vector<sarvik::HistoryItem> loaded;
    try {
        loaded = sarvik::json::decodeHistory(std::string(bytesOf(data, size)));
    } catch (const sarvik::json::DecodeError&) {
        return 0;
    }
    const auto saved = sarvik::json::encodeHistory(loaded);
    if (!saved) return 0;
    FUZZ_CHECK(sarvik::json::decodeHistory(*saved) == loaded);
    return 0;
}
