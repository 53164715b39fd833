#pragma once

#include "stores/auction_item.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace sarvik {

// The content of "auctions.json": the tracked auctions and the two refresh settings.
struct AuctionData {
    std::vector<AuctionItem> items;
    bool isAutoRefreshEnabled = true;
    std::int64_t refreshIntervalMinutes = 5;

    friend bool operator==(const AuctionData&, const AuctionData&) = default;
};

// Strict decoding: one bad element rejects the whole text (json::DecodeError).
AuctionData decodeAuctionData(std::string_view text);

// Compact JSON, or nothing when a value cannot be written (a non-finite price).
std::optional<std::string> encodeAuctionData(const AuctionData& data);

}  // namespace sarvik
