#include "stores/auction_item.h"
#include "stores/price_text.h"

#include <gtest/gtest.h>

#include <unicode/locid.h>

#include <cmath>
#include <limits>
#include <string>
#include <tuple>

namespace sarvik {
namespace {

using namespace std::string_literals;

AuctionItem priced(AuctionSite site, double price) {
    AuctionItem item;
    item.site = site;
    item.currentPrice = price;
    return item;
}

class FormattedPriceTest : public ::testing::Test {
protected:
    void SetUp() override { setDefaultLocale("en_US"); }
    void TearDown() override { setDefaultLocale(m_saved.getName()); }

    static void setDefaultLocale(const char* name) {
        UErrorCode status = U_ZERO_ERROR;
        icu::Locale::setDefault(icu::Locale(name), status);
        ASSERT_TRUE(U_SUCCESS(status));
    }

private:
    icu::Locale m_saved = icu::Locale::getDefault();
};

// Each site's sign and fraction digits in United States English, rounding half to even.
TEST_F(FormattedPriceTest, EachSiteHasItsSignAndFractionDigits) {
    const std::tuple<AuctionSite, double, const char*> cases[] = {
        {AuctionSite::ebay, 1234.5, "$1,234.5"}, {AuctionSite::ebay, 1234.567, "$1,234.57"}, {AuctionSite::ebay, 20, "$20"},
        {AuctionSite::yahooAuctions, 1234.5, "\u00A5" "1,234"}, {AuctionSite::mercari, 1500, "\u00A5" "1,500"},
        {AuctionSite::custom, 99, "99"}, {AuctionSite::custom, 1234567, "1,234,567"},
        {AuctionSite::yahooAuctions, 1235.5, "\u00A5" "1,236"}, {AuctionSite::mercari, 2.5, "\u00A5" "2"},
        {AuctionSite::ebay, 0.125, "$0.12"}, {AuctionSite::ebay, 0.375, "$0.38"},
    };
    for (const auto& [site, price, text] : cases) EXPECT_EQ(priced(site, price).formattedPrice(), text) << price;
}

TEST_F(FormattedPriceTest, FollowsTheDefaultLocaleWhenItChanges) {
    setDefaultLocale("de_DE");
    EXPECT_EQ(priced(AuctionSite::ebay, 1234.5).formattedPrice(), "$1.234,5");
}

TEST(AuctionItemTest, PriceChangeComparesWithTheNextToLastHistoryEntry) {
    AuctionItem item = priced(AuctionSite::ebay, 150);
    EXPECT_EQ(item.priceChange(), std::nullopt);
    item.priceHistory.push_back({Uuid::random(), 100, Date{}, std::nullopt});
    EXPECT_EQ(item.priceChange(), std::nullopt);
    item.priceHistory.push_back({Uuid::random(), 150, Date{}, 3});
    EXPECT_EQ(item.priceChange(), 50.0);
    item.priceHistory.push_back({Uuid::random(), 170, Date{}, 4});
    item.currentPrice = 170;
    EXPECT_EQ(item.priceChange(), 20.0);
}

TEST(AuctionItemTest, TimeRemainingAtTheUnitBoundaries) {
    const Date now{1000000.0};
    AuctionItem item;
    EXPECT_EQ(item.timeRemaining(now), std::nullopt);
    const auto leftAt = [&](double seconds) {
        item.endDate = now.addingSeconds(seconds);
        return item.timeRemaining(now).value_or("(none)");
    };
    EXPECT_EQ(leftAt(-0.5), "Ended");
    EXPECT_EQ(leftAt(0), "0m left");
    EXPECT_EQ(leftAt(59.9), "0m left");
    EXPECT_EQ(leftAt(60), "1m left");
    EXPECT_EQ(leftAt(3599), "59m left");
    EXPECT_EQ(leftAt(3600), "1h left");
    EXPECT_EQ(leftAt(86399), "23h left");
    EXPECT_EQ(leftAt(86400), "1d left");
    EXPECT_EQ(leftAt(864000), "10d left");
    EXPECT_EQ(leftAt(86400.0 * 12345), "12345d left");  // no grouping
    EXPECT_EQ(leftAt(1e300), std::to_string(std::numeric_limits<std::int64_t>::max()) + "d left");
}

TEST(AuctionItemTest, EndsWithinTheHourExcludesBothEnds) {
    const Date now{5000.0};
    AuctionItem item;
    EXPECT_FALSE(endsWithinTheHour(item, now));
    for (double seconds : {-1.0, 0.0, 3600.0, 7200.0}) {
        item.endDate = now.addingSeconds(seconds);
        EXPECT_FALSE(endsWithinTheHour(item, now)) << seconds;
    }
    for (double seconds : {0.001, 1800.0, 3599.999}) {
        item.endDate = now.addingSeconds(seconds);
        EXPECT_TRUE(endsWithinTheHour(item, now)) << seconds;
    }
}

TEST(AuctionItemTest, RawValuesAreTheStoredTexts) {
    EXPECT_EQ(rawValue(AuctionSite::yahooAuctions), "Yahoo! Auctions");
    EXPECT_EQ(rawValue(AuctionSite::custom), "Custom URL");
    EXPECT_EQ(rawValue(AuctionStatus::ending), "Ending Soon");
    for (AuctionSite site : kAllAuctionSites) EXPECT_EQ(auctionSiteFromRaw(rawValue(site)), site);
    for (AuctionStatus status : kAllAuctionStatuses) EXPECT_EQ(auctionStatusFromRaw(rawValue(status)), status);
    EXPECT_EQ(auctionSiteFromRaw("ebay"), std::nullopt);
    EXPECT_EQ(auctionStatusFromRaw("Ending soon"), std::nullopt);
    EXPECT_EQ(auctionStatusFromRaw(""), std::nullopt);
}

// A price reads as the user's locale writes numbers; the whole text must be
// the number, and what cannot be stored (infinities, NaN) is no number.
TEST(PriceTextTest, ReadsThePriceAsTheLocaleWritesNumbers) {
    struct Case {
        const char* locale;
        std::string text;
        std::optional<double> number;
    };
    const Case cases[] = {
        {"en_US", "1200", 1200.0},       {"en_US", "1,200.50", 1200.5},   {"en_US", "12.50", 12.5},
        {"en_US", "-5", -5.0},           {"en_US", "1e3", 1000.0},        {"de_DE", "1.200,50", 1200.5},
        {"de_DE", "12,50", 12.5},        {"de_DE", "1200", 1200.0},       {"de_DE", "12.50", std::nullopt},
        {"en_US", "1,20", std::nullopt}, {"en_US", "abc", std::nullopt},  {"en_US", "", std::nullopt},
        {"en_US", " 1200", std::nullopt}, {"en_US", "1200 ", std::nullopt}, {"en_US", "12abc", std::nullopt},
        {"en_US", "$5", std::nullopt},   {"en_US", "nan", std::nullopt},  {"en_US", "1e999", std::nullopt},
        {"en_US", "12\0" "3"s, std::nullopt},
    };
    for (const auto& [locale, text, number] : cases)
        EXPECT_EQ(numberFromPriceText(text, icu::Locale(locale)), number) << locale << " " << text;
    // What a field is filled with for editing reads back as the same price.
    EXPECT_EQ(priceText(1200.5, icu::Locale("en_US")), "1,200.5");
    EXPECT_EQ(priceText(1200.5, icu::Locale("de_DE")), "1.200,5");
    EXPECT_EQ(numberFromPriceText(priceText(-0.125, icu::Locale("de_DE")), icu::Locale("de_DE")), -0.125);
}

}  // namespace
}  // namespace sarvik
