#pragma once

#include "core/uuid.h"
#include "stores/auction_item.h"

#include <optional>
#include <string>
#include <string_view>
#include <utility>

namespace sarvik::auction_actions {

// The panel's actions, installed on the panel under kGroup. Each takes a
// string target: the item's id, or for set-status "<id>:<status raw value>".
inline constexpr std::string_view kGroup = "auction";
inline constexpr std::string_view kOpen = "open";
inline constexpr std::string_view kEdit = "edit";
inline constexpr std::string_view kSetStatus = "set-status";
inline constexpr std::string_view kCopyUrl = "copy-url";
inline constexpr std::string_view kRemove = "remove";

inline std::string detailed(std::string_view action) { return std::string(kGroup) + "." + std::string(action); }

inline std::string setStatusTarget(const Uuid& id, AuctionStatus status) {
    return id.toString() + ":" + std::string(rawValue(status));
}

inline std::optional<std::pair<Uuid, AuctionStatus>> parseSetStatusTarget(std::string_view target) {
    const auto colon = target.find(':');
    if (colon == std::string_view::npos) return std::nullopt;
    const auto id = Uuid::parse(target.substr(0, colon));
    const auto status = auctionStatusFromRaw(target.substr(colon + 1));
    if (!id || !status) return std::nullopt;
    return std::pair{*id, *status};
}

}  // namespace sarvik::auction_actions
