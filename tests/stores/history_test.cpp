#include "stores/browser_data_store.h"

#include "core/storage_problems.h"
#include "store_test_support.h"
#include "stores/browser_data_json.h"
#include "stores/store_text.h"
#include "support/faulty_files.h"
#include "support/fake_clock.h"
#include "support/file_helpers.h"
#include "support/temporary_directory.h"

#include <gtest/gtest.h>
#include <unicode/locid.h>
#include <unicode/timezone.h>

#include <glib.h>

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <limits>
#include <random>

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
    store.waitForSaves();
    EXPECT_EQ(keysOfRecords(parseFile(readFile(historyFile())))[0],
              (std::set<std::string>{"id", "title", "url", "visitedAt", "visitCount"}));
}

TEST_F(HistoryTest, AnEmptyTitleOnARevisitKeepsTheStoredTitleAndSavedPagesAreNoVisits) {
    BrowserDataStore store(dir.path(), clock);
    visit(store, "Kept", "https://a.example");
    visit(store, "", "https://a.example");
    EXPECT_EQ(store.history()->front().title, "Kept");
    EXPECT_EQ(store.history()->front().visitCount, 2);
    // Saved pages are not visits.
    visit(store, "Saved", "scrapbook://" + Uuid::random().toString() + "/");
    visit(store, "Saved", "SCRAPBOOK:anything");
    EXPECT_EQ(store.history()->size(), 1u);
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
    store.waitForSaves();
    EXPECT_EQ(parseFile(readFile(historyFile())).Size(), 1u);

    store.clearHistory();
    EXPECT_TRUE(store.history()->empty());
    store.waitForSaves();
    EXPECT_EQ(readFile(historyFile()), "[]");
    EXPECT_EQ(changes, 3);
    BrowserDataStore reopened(dir.path(), clock);
    visit(reopened, "A", "https://a.example");
    EXPECT_TRUE(damagedCopies(historyFile()).empty()) << "an empty list is no damage";
}

TEST_F(HistoryTest, AVisitCountAtTheTopOfTheRangeDoesNotOverflowAndBadTextIsMadeValid) {
    writeFile(historyFile(), std::string(R"([{"id":")") + kOtherId +
                                 R"(","title":"T","url":"u","visitedAt":1,"visitCount":9223372036854775807}])");
    BrowserDataStore store(dir.path(), clock);
    store.recordVisit("T", "u");
    EXPECT_EQ(store.history()->front().visitCount, std::numeric_limits<std::int64_t>::max());
    // Titles and addresses that are not UTF-8 do not spoil the file.
    visit(store, "Lone surrogate \xED\xB0\x80", "https://a.example/\xFF");
    visit(store, "", "https://a.example/\xFF");  // the same address, once made valid
    ASSERT_EQ(store.history()->size(), 2u);
    EXPECT_EQ(store.history()->back().visitCount, 2);
    visit(store, std::string(5000, 't'), "https://long.example/");  // a page's title of any length
    EXPECT_EQ(store.history()->back().title, std::string(kMaximumTitleCharacters, 't'));
    BrowserDataStore reloaded(dir.path(), clock);
    EXPECT_EQ(reloaded.history().get(), store.history().get());
}

// The file is written from pieces of the history that only a change encodes
// again: after any mix of visits, revisits, retitles and deletions across the
// pieces' bounds, it holds exactly what encoding the whole list gives.
TEST_F(HistoryTest, TheFileAlwaysMatchesTheWholeHistoryAfterEditsAcrossItsPieces) {
    BrowserDataStore store(dir.path(), clock);
    std::mt19937 random(7);
    const auto anyPosition = [&] { return std::uniform_int_distribution<std::size_t>(0, store.history()->size() - 1)(random); };
    for (int step = 0; step < 1500; ++step) {
        const int choice = static_cast<int>(random() % 20);
        if (store.history()->empty() || choice < 12) {
            visit(store, "Page " + std::to_string(step), "https://pages.example/" + std::to_string(step));
        } else if (choice < 16) {
            visit(store, "", store.history()->at(anyPosition()).url);
        } else if (choice < 18) {
            store.retitleVisit(store.history()->at(anyPosition()).url, "Retitled " + std::to_string(step));
        } else if (choice < 19) {
            store.deleteHistoryItem(store.history()->at(anyPosition()).id);
        } else if (step == 1000) {
            store.clearHistory();
        }
        if (step % 97 == 0 || step == 1499) {
            store.waitForSaves();
            ASSERT_EQ(readFile(historyFile()), *json::encodeHistory(store.history())) << "after step " << step;
        }
    }
    EXPECT_GT(store.history()->size(), 2 * HistoryFileText::kEntriesPerPiece);
}

// A save that fails on the writer's thread is reported on the main loop, without anyone waiting for it.
TEST_F(HistoryTest, ABackgroundSaveReportsItsOutcomeThroughTheMainLoop) {
    FaultyFiles files("rename", ENOSPC);
    BrowserDataStore store(dir.path(), clock, files);
    const auto spinUntil = [](auto condition) {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        while (!condition() && std::chrono::steady_clock::now() < deadline) g_main_context_iteration(nullptr, FALSE);
        return condition();
    };
    const auto historyFails = [&] {
        const auto problem = StorageProblems::shared().current();  // the favorites' first save failed too
        return problem && problem->file == historyFile();
    };
    visit(store, "Full", "https://full.example/");
    EXPECT_TRUE(spinUntil(historyFails));
    files.disarm();
    visit(store, "Room again", "https://room.example/");
    EXPECT_TRUE(spinUntil([&] { return !historyFails(); }));
    EXPECT_EQ(json::decodeHistory(readFile(historyFile())).size(), 2u);
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

// Revisits move entries to their new day; the day of an entry follows the
// time zone at the time of the call.
TEST_F(GroupedHistoryTest, GroupsByLocalCalendarDayNewestFirst) {
    BrowserDataStore store(dir.path(), clock);
    clock.set(newYorkMidnight().addingSeconds(-40 * 3600));
    store.recordVisit("A", "https://a.example");
    store.recordVisit("B", "https://b.example");
    clock.set(newYorkMidnight().addingSeconds(-1800));  // 23:30 the day before, already the 10th in UTC
    store.recordVisit("Late", "https://late.example");
    clock.set(newYorkMidnight().addingSeconds(600));
    store.recordVisit("Morning", "https://morning.example");
    clock.set(newYorkMidnight().addingSeconds(3600));
    store.recordVisit("", "https://a.example");

    auto groups = store.groupedHistory();
    ASSERT_EQ(groups.size(), 3u);
    EXPECT_EQ(groups[0].first, "Mar 10, 2026");
    EXPECT_EQ(urlsOf(groups[0].second), (std::vector<std::string>{"https://a.example", "https://morning.example"}));
    EXPECT_EQ(groups[1].first, "Mar 9, 2026");
    EXPECT_EQ(urlsOf(groups[1].second), std::vector<std::string>{"https://late.example"});
    EXPECT_EQ(groups[2].first, "Mar 8, 2026");

    icu::TimeZone::adoptDefault(icu::TimeZone::createTimeZone("Etc/UTC"));
    groups = store.groupedHistory();
    ASSERT_EQ(groups.size(), 2u);
    EXPECT_EQ(urlsOf(groups[0].second),
              (std::vector<std::string>{"https://a.example", "https://morning.example", "https://late.example"}));
    store.clearHistory();
    EXPECT_TRUE(store.groupedHistory().empty());
}

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
