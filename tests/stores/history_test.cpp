#include "stores/browser_data_store.h"

#include "store_test_support.h"
#include "support/fake_clock.h"
#include "support/file_helpers.h"
#include "support/temporary_directory.h"

#include <gtest/gtest.h>
#include <unicode/locid.h>
#include <unicode/timezone.h>

#include <limits>

namespace sarvik {
namespace {

using namespace sarvik::testing;

std::vector<std::string> urlsOf(const std::vector<HistoryItem>& items) {
    std::vector<std::string> urls;
    for (const auto& item : items) urls.push_back(item.url);
    return urls;
}

class HistoryTest : public ::testing::Test {
protected:
    std::filesystem::path historyFile() const { return dir / "history.json"; }
    void visit(BrowserDataStore& store, std::string_view title, std::string_view url, double secondsLater = 60) {
        clock.advance(secondsLater);
        store.recordVisit(title, url);
    }

    TemporaryDirectory dir;
    FakeClock clock{Date{786000000.0}};
};

TEST_F(HistoryTest, VisitsToOneAddressMergeIntoOneEntryThatStaysInPlace) {
    BrowserDataStore store(dir.path(), clock);
    visit(store, "Example", "https://example.com");
    visit(store, "Other", "https://other.example");
    visit(store, "", "https://example.com");
    visit(store, "Example, again", "https://example.com");
    visit(store, "", "https://untitled.example");

    const auto& history = store.history().get();
    ASSERT_EQ(history.size(), 3u);
    EXPECT_EQ(history[0].url, "https://example.com");
    EXPECT_EQ(history[0].visitCount, 3);
    EXPECT_EQ(history[0].title, "Example, again");
    EXPECT_EQ(history[0].visitedAt, Date{786000240.0});
    EXPECT_EQ(history[1].visitCount, 1);
    EXPECT_EQ(history[2].title, "");

    BrowserDataStore reloaded(dir.path(), clock);
    EXPECT_EQ(reloaded.history().get(), history);
    EXPECT_EQ(keysOfRecords(parseFile(readFile(historyFile())))[0],
              (std::set<std::string>{"id", "title", "url", "visitedAt", "visitCount"}));
}

TEST_F(HistoryTest, AnEmptyTitleOnARevisitKeepsTheStoredTitle) {
    BrowserDataStore store(dir.path(), clock);
    visit(store, "Kept", "https://a.example");
    visit(store, "", "https://a.example");
    EXPECT_EQ(store.history()->front().title, "Kept");
    EXPECT_EQ(store.history()->front().visitCount, 2);
}

TEST_F(HistoryTest, SavedPagesAreNotVisits) {
    BrowserDataStore store(dir.path(), clock);
    visit(store, "Saved", "scrapbook://" + Uuid::random().toString() + "/");
    visit(store, "Saved", "SCRAPBOOK:anything");
    EXPECT_TRUE(store.history()->empty());
}

TEST_F(HistoryTest, AddressesDifferingInCaseAreTwoEntriesAndSearchIgnoresCase) {
    BrowserDataStore store(dir.path(), clock);
    visit(store, "Lower", "https://example.com/page");
    visit(store, "Upper", "https://example.com/PAGE");
    visit(store, "Slash", "https://example.com/page/");
    EXPECT_EQ(store.history()->size(), 3u);

    EXPECT_EQ(urlsOf(store.searchHistory("HTTPS://EXAMPLE.COM/PAGE")),
              (std::vector<std::string>{"https://example.com/page/", "https://example.com/PAGE", "https://example.com/page"}));
    EXPECT_EQ(urlsOf(store.searchHistory("UPPER")), std::vector<std::string>{"https://example.com/PAGE"});
}

TEST_F(HistoryTest, SearchMatchesTitleOrAddressNewestFirstWithoutTrimming) {
    writeFile(historyFile(), std::string("[") +
                                 R"({"id":")" + Uuid::random().toString() + R"(","title":"Tie A","url":"u1","visitedAt":50,"visitCount":1},)" +
                                 R"({"id":")" + Uuid::random().toString() + R"(","title":"Newest","url":"u2","visitedAt":90,"visitCount":1},)" +
                                 R"({"id":")" + Uuid::random().toString() + R"(","title":"Tie B","url":"u3","visitedAt":50,"visitCount":1},)" +
                                 R"({"id":")" + Uuid::random().toString() + R"(","title":"Oldest","url":"tie","visitedAt":10,"visitCount":1}])");
    BrowserDataStore store(dir.path(), clock);
    EXPECT_EQ(urlsOf(store.searchHistory("")), (std::vector<std::string>{"u2", "u1", "u3", "tie"}));
    EXPECT_EQ(urlsOf(store.searchHistory("tie")), (std::vector<std::string>{"u1", "u3", "tie"}));
    EXPECT_EQ(urlsOf(store.searchHistory("tie ")), (std::vector<std::string>{"u1", "u3"}));
    EXPECT_TRUE(store.searchHistory("nothing like it").empty());
    EXPECT_TRUE(store.searchHistory("e u").empty());  // never across title and address
}

TEST_F(HistoryTest, SearchLowersBeyondAscii) {
    BrowserDataStore store(dir.path(), clock);
    visit(store, "ÜBER DIE STRASSE", "https://de.example");
    visit(store, "ΟΔΥΣΣΕΥΣ", "https://gr.example/");
    visit(store, "plain", "https://example.org/ÇA");
    EXPECT_EQ(urlsOf(store.searchHistory("über")), std::vector<std::string>{"https://de.example"});
    EXPECT_EQ(urlsOf(store.searchHistory("Über")), std::vector<std::string>{"https://de.example"});
    EXPECT_EQ(urlsOf(store.searchHistory("δυσσ")), std::vector<std::string>{"https://gr.example/"});
    EXPECT_EQ(urlsOf(store.searchHistory("/ça")), std::vector<std::string>{"https://example.org/ÇA"});
}

TEST_F(HistoryTest, SearchFollowsEveryChangeOfTheHistory) {
    BrowserDataStore store(dir.path(), clock);
    visit(store, "Alpha", "https://a.example");
    visit(store, "Beta", "https://b.example");
    EXPECT_EQ(store.searchHistory("alpha").size(), 1u);  // builds the lowered copies

    visit(store, "Gamma", "https://a.example");  // retitled by a revisit
    EXPECT_TRUE(store.searchHistory("alpha").empty());
    EXPECT_EQ(store.searchHistory("gamma").size(), 1u);
    visit(store, "Delta", "https://d.example");
    EXPECT_EQ(store.searchHistory("delta").size(), 1u);

    store.deleteHistoryItem(store.history()->front().id);
    EXPECT_TRUE(store.searchHistory("gamma").empty());
    EXPECT_EQ(urlsOf(store.searchHistory("ta")), (std::vector<std::string>{"https://d.example", "https://b.example"}));
    store.clearHistory();
    EXPECT_TRUE(store.searchHistory("").empty());
    visit(store, "Epsilon", "https://e.example");
    EXPECT_EQ(store.searchHistory("EPS").size(), 1u);
}

TEST_F(HistoryTest, SearchStaysRightWhileRevisitsRetitleEntriesManyTimes) {
    BrowserDataStore store(dir.path(), clock);
    visit(store, "Steady", "https://steady.example");
    for (int i = 0; i < 120; ++i) {
        const std::string title = "Title Number " + std::to_string(i) + std::string(90, 'X');
        visit(store, title, "https://changing.example");
        if (i % 10 == 0 || i == 119) {
            EXPECT_EQ(store.searchHistory("title number " + std::to_string(i) + "x").size(), 1u) << i;
            EXPECT_EQ(store.searchHistory("steady").size(), 1u);
        }
    }
    EXPECT_TRUE(store.searchHistory("title number 118x").empty());
}

TEST_F(HistoryTest, DeletingAndClearingRewriteTheFile) {
    BrowserDataStore store(dir.path(), clock);
    EXPECT_FALSE(std::filesystem::exists(historyFile()));
    visit(store, "A", "https://a.example");
    visit(store, "B", "https://b.example");
    int changes = 0;
    const auto connection = store.history().changed().connect([&] { ++changes; });

    store.deleteHistoryItem(Uuid::random());
    EXPECT_EQ(store.history()->size(), 2u);
    store.deleteHistoryItem(store.history()->front().id);
    EXPECT_EQ(urlsOf(store.history()), std::vector<std::string>{"https://b.example"});
    EXPECT_EQ(parseFile(readFile(historyFile())).Size(), 1u);

    store.clearHistory();
    EXPECT_TRUE(store.history()->empty());
    EXPECT_EQ(readFile(historyFile()), "[]");
    EXPECT_EQ(changes, 3);
    BrowserDataStore reopened(dir.path(), clock);
    visit(reopened, "A", "https://a.example");
    EXPECT_TRUE(damagedCopies(historyFile()).empty()) << "an empty list is no damage";
}

TEST_F(HistoryTest, AVisitCountAtTheTopOfTheRangeDoesNotOverflow) {
    writeFile(historyFile(), std::string(R"([{"id":")") + kOtherId +
                                 R"(","title":"T","url":"u","visitedAt":1,"visitCount":9223372036854775807}])");
    BrowserDataStore store(dir.path(), clock);
    store.recordVisit("T", "u");
    EXPECT_EQ(store.history()->front().visitCount, std::numeric_limits<std::int64_t>::max());
}

TEST_F(HistoryTest, TitlesAndAddressesThatAreNotUtf8DoNotSpoilTheFile) {
    BrowserDataStore store(dir.path(), clock);
    visit(store, "Lone surrogate \xED\xB0\x80", "https://a.example/\xFF");
    visit(store, "", "https://a.example/\xFF");  // the same address, once made valid
    ASSERT_EQ(store.history()->size(), 1u);
    EXPECT_EQ(store.history()->front().visitCount, 2);
    BrowserDataStore reloaded(dir.path(), clock);
    EXPECT_EQ(reloaded.history().get(), store.history().get());
}

// Dates print in the user's locale and time zone; these tests pin both.
class GroupedHistoryTest : public HistoryTest {
protected:
    void SetUp() override {
        m_savedZone.reset(icu::TimeZone::createDefault());
        m_savedLocale = icu::Locale::getDefault();
        UErrorCode status = U_ZERO_ERROR;
        icu::Locale::setDefault(icu::Locale("en_US"), status);
        icu::TimeZone::adoptDefault(icu::TimeZone::createTimeZone("America/New_York"));
    }
    void TearDown() override {
        UErrorCode status = U_ZERO_ERROR;
        icu::Locale::setDefault(m_savedLocale, status);
        icu::TimeZone::adoptDefault(m_savedZone.release());
    }
    // 2026-03-10 00:00 in New York (UTC-4 after the change to summer time on the 8th).
    static Date newYorkMidnight() { return Date::fromUnixTime(1773115200.0); }

private:
    std::unique_ptr<icu::TimeZone> m_savedZone;
    icu::Locale m_savedLocale;
};

TEST_F(GroupedHistoryTest, GroupsByLocalCalendarDayNewestFirst) {
    BrowserDataStore store(dir.path(), clock);
    clock.set(newYorkMidnight().addingSeconds(-1800));  // 23:30 the day before, already the 10th in UTC
    store.recordVisit("Late", "https://late.example");
    clock.set(newYorkMidnight().addingSeconds(600));
    store.recordVisit("Morning", "https://morning.example");
    clock.set(newYorkMidnight().addingSeconds(20 * 3600));
    store.recordVisit("Evening", "https://evening.example");

    const auto groups = store.groupedHistory();
    ASSERT_EQ(groups.size(), 2u);
    EXPECT_EQ(groups[0].first, "Mar 10, 2026");
    EXPECT_EQ(urlsOf(groups[0].second), (std::vector<std::string>{"https://evening.example", "https://morning.example"}));
    EXPECT_EQ(groups[1].first, "Mar 9, 2026");
    EXPECT_EQ(urlsOf(groups[1].second), std::vector<std::string>{"https://late.example"});

    store.clearHistory();
    EXPECT_TRUE(store.groupedHistory().empty());
}

TEST_F(GroupedHistoryTest, FollowsTheTimeZoneAtTheTimeOfTheCall) {
    BrowserDataStore store(dir.path(), clock);
    clock.set(newYorkMidnight().addingSeconds(-1800));
    store.recordVisit("Late", "https://late.example");
    clock.set(newYorkMidnight().addingSeconds(600));
    store.recordVisit("Morning", "https://morning.example");
    icu::TimeZone::adoptDefault(icu::TimeZone::createTimeZone("Etc/UTC"));
    const auto groups = store.groupedHistory();
    ASSERT_EQ(groups.size(), 1u);
    EXPECT_EQ(groups[0].first, "Mar 10, 2026");
}

TEST_F(GroupedHistoryTest, RevisitsMoveEntriesToTheirNewDay) {
    BrowserDataStore store(dir.path(), clock);
    clock.set(newYorkMidnight().addingSeconds(-40 * 3600));
    store.recordVisit("A", "https://a.example");
    store.recordVisit("B", "https://b.example");
    clock.set(newYorkMidnight().addingSeconds(3600));
    store.recordVisit("", "https://a.example");
    const auto groups = store.groupedHistory();
    ASSERT_EQ(groups.size(), 2u);
    EXPECT_EQ(groups[0].first, "Mar 10, 2026");
    EXPECT_EQ(urlsOf(groups[0].second), std::vector<std::string>{"https://a.example"});
    EXPECT_EQ(groups[1].first, "Mar 8, 2026");
}

}  // namespace
}  // namespace sarvik
