#include "stores/auction_item.h"

#include <unicode/locid.h>
#include <unicode/numfmt.h>
#include <unicode/unistr.h>

#include <array>
#include <charconv>
#include <cmath>
#include <limits>
#include <memory>

namespace sarvik {
namespace {

constexpr std::array<std::string_view, 4> kSiteNames = {"Yahoo! Auctions", "eBay", "Mercari", "Custom URL"};
constexpr std::array<std::string_view, 6> kStatusNames = {"Active", "Ending Soon", "Ended", "Won", "Lost", "Watching"};

// Formatters are costly to build and rows ask for prices at every redraw: keep
// one per fraction-digit limit, rebuilt when the default locale changes.
class PriceFormatters {
public:
    icu::NumberFormat* forDigits(int maximumFractionDigits) {
        const icu::Locale& locale = icu::Locale::getDefault();
        if (m_localeName != locale.getName()) {
            m_localeName = locale.getName();
            for (auto& format : m_formats) format.reset();
        }
        auto& format = m_formats[maximumFractionDigits == 0 ? 0 : 1];
        if (!format) format = make(locale, maximumFractionDigits);
        return format.get();
    }

private:
    static std::unique_ptr<icu::NumberFormat> make(const icu::Locale& locale, int maximumFractionDigits) {
        UErrorCode status = U_ZERO_ERROR;
        std::unique_ptr<icu::NumberFormat> format(icu::NumberFormat::createInstance(locale, UNUM_DECIMAL, status));
        if (U_FAILURE(status) || !format) return nullptr;
        format->setGroupingUsed(true);
        format->setMinimumFractionDigits(0);
        format->setMaximumFractionDigits(maximumFractionDigits);
        format->setRoundingMode(icu::NumberFormat::kRoundHalfEven);
        return format;
    }

    std::string m_localeName;
    std::array<std::unique_ptr<icu::NumberFormat>, 2> m_formats;
};

std::string plainDecimal(double value) {
    std::array<char, 64> text{};
    const auto result = std::to_chars(text.data(), text.data() + text.size(), value);
    return std::string(text.data(), result.ptr);
}

std::string formatNumber(double value, int maximumFractionDigits) {
    static thread_local PriceFormatters formatters;
    icu::NumberFormat* format = formatters.forDigits(maximumFractionDigits);
    if (!format) return plainDecimal(value);
    icu::UnicodeString text;
    format->format(value, text);
    if (text.isEmpty()) return plainDecimal(value);
    std::string utf8;
    return text.toUTF8String(utf8);
}

// Whole units of `seconds`, truncated, kept inside the 64-bit range for far-off dates.
std::int64_t wholeUnits(double seconds, double unit) {
    const double units = std::trunc(seconds / unit);
    constexpr double kLimit = 9223372036854775807.0;
    if (!(units < kLimit)) return std::numeric_limits<std::int64_t>::max();
    return static_cast<std::int64_t>(units);
}

}  // namespace

std::string_view rawValue(AuctionSite site) { return kSiteNames[static_cast<std::size_t>(site)]; }

std::optional<AuctionSite> auctionSiteFromRaw(std::string_view text) {
    for (AuctionSite site : kAllAuctionSites)
        if (rawValue(site) == text) return site;
    return std::nullopt;
}

std::string_view currencySign(AuctionSite site) {
    switch (site) {
    case AuctionSite::yahooAuctions:
    case AuctionSite::mercari: return "\u00A5";
    case AuctionSite::ebay: return "$";
    case AuctionSite::custom: return "";
    }
    return "";
}

std::string_view rawValue(AuctionStatus status) { return kStatusNames[static_cast<std::size_t>(status)]; }

std::optional<AuctionStatus> auctionStatusFromRaw(std::string_view text) {
    for (AuctionStatus status : kAllAuctionStatuses)
        if (rawValue(status) == text) return status;
    return std::nullopt;
}

std::string AuctionItem::formattedPrice() const {
    const int maximumFractionDigits = site == AuctionSite::ebay ? 2 : 0;
    return std::string(currencySign(site)) + formatNumber(currentPrice, maximumFractionDigits);
}

std::optional<double> AuctionItem::priceChange() const {
    if (priceHistory.size() < 2) return std::nullopt;
    return currentPrice - priceHistory[priceHistory.size() - 2].price;
}

std::optional<std::string> AuctionItem::timeRemaining(Date now) const {
    if (!endDate) return std::nullopt;
    if (*endDate < now) return "Ended";
    const double left = endDate->secondsSince(now);
    if (left < 3600) return std::to_string(wholeUnits(left, 60)) + "m left";
    if (left < 86400) return std::to_string(wholeUnits(left, 3600)) + "h left";
    return std::to_string(wholeUnits(left, 86400)) + "d left";
}

std::optional<double> secondsUntilEnd(const AuctionItem& item, Date now) {
    if (!item.endDate) return std::nullopt;
    return item.endDate->secondsSince(now);
}

bool endsWithinTheHour(const AuctionItem& item, Date now) {
    const auto left = secondsUntilEnd(item, now);
    return left && *left > 0 && *left < 3600;
}

}  // namespace sarvik
