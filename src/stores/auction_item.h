#pragma once

#include "core/date.h"
#include "core/uuid.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace sarvik {

// Where an auction runs; the raw text is both the stored and the shown name.
enum class AuctionSite { yahooAuctions, ebay, mercari, custom };

inline constexpr AuctionSite kAllAuctionSites[] = {AuctionSite::yahooAuctions, AuctionSite::ebay,
                                                   AuctionSite::mercari, AuctionSite::custom};

std::string_view rawValue(AuctionSite site);
std::optional<AuctionSite> auctionSiteFromRaw(std::string_view text);
// The sign written before prices of the site ("" for a custom site).
std::string_view currencySign(AuctionSite site);

enum class AuctionStatus { active, ending, ended, won, lost, watching };

inline constexpr AuctionStatus kAllAuctionStatuses[] = {AuctionStatus::active, AuctionStatus::ending,
                                                        AuctionStatus::ended,  AuctionStatus::won,
                                                        AuctionStatus::lost,   AuctionStatus::watching};

std::string_view rawValue(AuctionStatus status);
std::optional<AuctionStatus> auctionStatusFromRaw(std::string_view text);

// One recorded price of an auction.
struct PriceHistoryEntry {
    Uuid id;
    double price = 0.0;
    Date timestamp;
    std::optional<std::int64_t> bidCount;

    friend bool operator==(const PriceHistoryEntry&, const PriceHistoryEntry&) = default;
};

// One auction tracked by hand. Nothing fetches its data: prices and statuses
// change only through the user's edits and the status refresh.
struct AuctionItem {
    Uuid id;
    std::string title;
    std::string url;
    AuctionSite site = AuctionSite::custom;
    AuctionStatus status = AuctionStatus::watching;
    double currentPrice = 0.0;
    std::optional<double> startPrice;
    std::optional<double> buyNowPrice;
    std::int64_t bidCount = 0;
    std::optional<Date> endDate;
    std::optional<std::string> imageURL;
    std::optional<std::string> sellerName;
    std::string notes;
    Date addedAt;
    Date lastUpdatedAt;
    std::vector<PriceHistoryEntry> priceHistory;
    std::optional<double> maxBidPrice;
    bool isNotificationsEnabled = true;

    // The site's currency sign followed by currentPrice formatted in the
    // default ICU locale (grouping; up to 2 fraction digits on eBay, none elsewhere).
    std::string formattedPrice() const;
    // currentPrice minus the next-to-last recorded price; none with fewer than two.
    std::optional<double> priceChange() const;
    // "Ended", or the time left as "<n>m left", "<n>h left" or "<n>d left"; none without an end date.
    std::optional<std::string> timeRemaining(Date now) const;

    friend bool operator==(const AuctionItem&, const AuctionItem&) = default;
};

// Seconds from now to the end date, when the item has one.
std::optional<double> secondsUntilEnd(const AuctionItem& item, Date now);

// True when the end date lies more than 0 and less than one hour ahead.
bool endsWithinTheHour(const AuctionItem& item, Date now);

}  // namespace sarvik
