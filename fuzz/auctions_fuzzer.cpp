// The auctions file loader on arbitrary bytes; load, save, load gives equal data.
#include "fuzz_support.h"

#include "core/json.h"
#include "stores/auction_data.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    sarvik::AuctionData loaded;
    try {
        loaded = sarvik::decodeAuctionData(bytesOf(data, size));
    } catch (const sarvik::json::DecodeError&) {
        return 0;
    }
    const auto saved = sarvik::encodeAuctionData(loaded);
    if (!saved) return 0;
    FUZZ_CHECK(sarvik::decodeAuctionData(*saved) == loaded);
    return 0;
}
