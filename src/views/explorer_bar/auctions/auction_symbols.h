#pragma once

#include "stores/auction_item.h"

#include <string_view>

namespace sarvik::auction_symbols {

// Icon-theme names standing in for the auction symbols, and the CSS classes
// that colour them. Sites with a currency show the sign itself in a circle.

inline constexpr std::string_view kWarning = "dialog-warning-symbolic";
inline constexpr std::string_view kRefresh = "view-refresh-symbolic";
inline constexpr std::string_view kAdd = "list-add-symbolic";
inline constexpr std::string_view kClose = "window-close-symbolic";
inline constexpr std::string_view kEmpty = "applications-engineering-symbolic";
inline constexpr std::string_view kTrack = "applications-engineering-symbolic";
inline constexpr std::string_view kTrendUp = "pan-up-symbolic";
inline constexpr std::string_view kTrendDown = "pan-down-symbolic";
inline constexpr std::string_view kCalendar = "x-office-calendar-symbolic";

inline std::string_view statusIcon(AuctionStatus status) {
    switch (status) {
    case AuctionStatus::active: return "applications-engineering-symbolic";
    case AuctionStatus::ending: return "dialog-warning-symbolic";
    case AuctionStatus::ended: return "emblem-ok-symbolic";
    case AuctionStatus::won: return "starred-symbolic";
    case AuctionStatus::lost: return "process-stop-symbolic";
    case AuctionStatus::watching: return "view-reveal-symbolic";
    }
    return "view-reveal-symbolic";
}

// One class per status colour: blue, orange, gray, green, red, purple.
inline std::string_view statusCssClass(AuctionStatus status) {
    switch (status) {
    case AuctionStatus::active: return "status-active";
    case AuctionStatus::ending: return "status-ending";
    case AuctionStatus::ended: return "status-ended";
    case AuctionStatus::won: return "status-won";
    case AuctionStatus::lost: return "status-lost";
    case AuctionStatus::watching: return "status-watching";
    }
    return "status-watching";
}

// An icon for sites without a currency sign; empty where the sign is drawn instead.
inline std::string_view siteIcon(AuctionSite site) {
    switch (site) {
    case AuctionSite::mercari: return "package-x-generic-symbolic";
    case AuctionSite::custom: return "insert-link-symbolic";
    default: return "";
    }
}

}  // namespace sarvik::auction_symbols
