#include "stores/browser_data_store.h"

#include "support/fake_clock.h"
#include "support/temporary_directory.h"

#include <gtest/gtest.h>
#include <unicode/locid.h>
#include <unicode/timezone.h>

#include <cstdlib>

namespace sarvik {
namespace {

using namespace sarvik::testing;

class HistorySearchPositionsTest : public ::testing::Test {
protected:
    void SetUp() override {
        setenv("TZ", "UTC", 1);
        UErrorCode status = U_ZERO_ERROR;
        icu::Locale::setDefault(icu::Locale("en_US"), status);
        icu::TimeZone::adoptDefault(icu::TimeZone::createTimeZone("UTC"));
    }

    void visit(BrowserDataStore& store, std::string_view title, std::string_view url, double secondsLater = 600) {
        clock.advance(secondsLater);
        store.recordVisit(title, url);
    }

    // What a store that has searched nothing before finds: no earlier query to narrow from.
    std::vector<std::size_t> freshSearch(std::string_view query) {
        BrowserDataStore fresh(dir.path(), clock);
        return fresh.searchHistoryPositions(query);
    }

    static std::vector<std::string> urlsAt(const BrowserDataStore& store, const std::vector<std::size_t>& positions) {
        std::vector<std::string> urls;
        for (std::size_t i : positions) urls.push_back(store.history()->at(i).url);
        return urls;
    }

    TemporaryDirectory dir;
    FakeClock clock{Date{786000000.0}};
};

TEST_F(HistorySearchPositionsTest, TypingOnShorteningAndReplacingFindWhatAFreshSearchFinds) {
    BrowserDataStore store(dir.path(), clock);
    visit(store, "Garden tools", "https://shop.example/garden");
    visit(store, "Gardening tips", "https://blog.example/tips");
    visit(store, "Guards", "https://guards.example/");
    visit(store, "", "https://garage.example/door");
    visit(store, "ΟΔΟΣ", "https://gr.example/a");
    visit(store, "ΟΔΟΣΑ", "https://gr.example/b");
    visit(store, "Straße", "https://de.example/");

    // Extending, shortening, replacing, extending in the middle, and queries
    // whose lowered form is no extension of the last one although what was
    // typed is (a capital sigma lowers to the final form at the end only).
    const char* queries[] = {"g",    "ga",   "gar",  "gard", "garde", "gar",  "gara", "ga",  "u",   "ua",
                             "guard", "t",   "ti",   "tips", "ΟΔΟΣ", "ΟΔΟΣΑ", "οδοσ", "ΟΔΟΣ", "STRA", "straß",
                             "straße", "e/", "ple/", "",     "ple/d", " ",    "zz",   "zzz", "a"};
    for (const char* query : queries) {
        const auto found = store.searchHistoryPositions(query);
        EXPECT_EQ(found, freshSearch(query)) << query;
        std::vector<std::string> urls;
        for (const auto& item : store.searchHistory(query)) urls.push_back(item.url);
        EXPECT_EQ(urlsAt(store, found), urls) << query;
    }
    EXPECT_EQ(urlsAt(store, store.searchHistoryPositions("ΟΔΟΣΑ")), std::vector<std::string>{"https://gr.example/b"});
    EXPECT_EQ(urlsAt(store, store.searchHistoryPositions("ΟΔΟΣ")), std::vector<std::string>{"https://gr.example/a"});
    EXPECT_EQ(urlsAt(store, store.searchHistoryPositions("gard")),
              (std::vector<std::string>{"https://blog.example/tips", "https://shop.example/garden"}));
}

TEST_F(HistorySearchPositionsTest, ALongerQueryAfterAChangeOfTheHistorySeesTheChange) {
    BrowserDataStore store(dir.path(), clock);
    visit(store, "Alpha", "https://a.example/");
    visit(store, "Beta", "https://b.example/");
    EXPECT_EQ(urlsAt(store, store.searchHistoryPositions("al")), std::vector<std::string>{"https://a.example/"});

    visit(store, "Alps", "https://b.example/");  // retitled and newest now
    EXPECT_EQ(urlsAt(store, store.searchHistoryPositions("alp")),
              (std::vector<std::string>{"https://b.example/", "https://a.example/"}));
    visit(store, "Alpine", "https://c.example/");
    EXPECT_EQ(urlsAt(store, store.searchHistoryPositions("alpi")), std::vector<std::string>{"https://c.example/"});

    store.deleteHistoryItem(store.history()->front().id);  // Alpha
    EXPECT_EQ(urlsAt(store, store.searchHistoryPositions("alp")),
              (std::vector<std::string>{"https://c.example/", "https://b.example/"}));
    store.clearHistory();
    EXPECT_TRUE(store.searchHistoryPositions("alps").empty());
    visit(store, "Alpsee", "https://d.example/");
    EXPECT_EQ(urlsAt(store, store.searchHistoryPositions("alpse")), std::vector<std::string>{"https://d.example/"});
}

TEST_F(HistorySearchPositionsTest, DaysHoldThePositionsOfTheGroupedHistory) {
    BrowserDataStore store(dir.path(), clock);
    visit(store, "Old", "https://old.example/", 0);
    visit(store, "Older revisit", "https://mid.example/", 3600);
    visit(store, "Next day", "https://new.example/", 86400);
    visit(store, "Same moment", "https://tie.example/", 0);
    EXPECT_EQ(store.searchHistoryPositions(""), (std::vector<std::size_t>{2, 3, 1, 0}));

    const auto days = store.historyDays();
    const auto groups = store.groupedHistory();
    ASSERT_EQ(days.size(), 2u);
    ASSERT_EQ(groups.size(), days.size());
    for (std::size_t d = 0; d < days.size(); ++d) {
        EXPECT_EQ(days[d].title, groups[d].first);
        ASSERT_EQ(days[d].positions.size(), groups[d].second.size());
        for (std::size_t i = 0; i < days[d].positions.size(); ++i)
            EXPECT_EQ(store.history()->at(days[d].positions[i]), groups[d].second[i]);
    }
    EXPECT_EQ(days[0].title, "Nov 29, 2025");
    EXPECT_EQ(days[1].positions, (std::vector<std::size_t>{1, 0}));

    visit(store, "", "https://old.example/", 60);  // a revisit moves it to the newest day
    EXPECT_EQ(store.historyDays().front().positions, (std::vector<std::size_t>{0, 2, 3}));
}

}  // namespace
}  // namespace sarvik
