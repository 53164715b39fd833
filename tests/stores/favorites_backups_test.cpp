#include "stores/browser_data_store.h"
#include "stores/favorites_backups.h"

#include "support/fake_clock.h"
#include "support/file_helpers.h"
#include "support/temporary_directory.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace sarvik {
namespace {

namespace fs = std::filesystem;
using testing::FakeClock;

constexpr double kDay = 86400.0;
// 2026-12-06 10:00 UTC
const Date kStart = Date::fromUnixTime(1796551200.0);

std::vector<std::string> daysOf(const std::vector<FavoritesBackup>& backups) {
    std::vector<std::string> days;
    for (const auto& b : backups) days.push_back(b.day);
    return days;
}

class FavoritesBackupsTest : public ::testing::Test {
protected:
    testing::TemporaryDirectory dir;
    FakeClock clock{kStart};
};

TEST_F(FavoritesBackupsTest, TheDaysFirstChangeKeepsTheFileAsItWasOnceADayOnlyWhenChanged) {
    BrowserDataStore store(dir.path(), clock);
    EXPECT_TRUE(store.favoritesBackups().empty()) << "the first-run file replaced nothing";
    const std::string firstRun = testing::readFile(store.bookmarksFile());
    store.deleteBookmark(store.bookmarks()->front().id);  // a slip as the day's first change
    auto backups = store.favoritesBackups();
    ASSERT_EQ(backups.size(), 1u);
    EXPECT_EQ(backups[0].day, "2026-12-06");
    EXPECT_EQ(backups[0].favoriteCount, 3u) << "the copy holds what the slip deleted";
    EXPECT_EQ(backups[0].file, dir / "backups" / "bookmarks-2026-12-06.json");
    EXPECT_EQ(backups[0].date, Date::fromUnixTime(1796515200.0));
    EXPECT_EQ(testing::readFile(backups[0].file), firstRun);

    store.addBookmark("Later the same day", "https://a.example/", std::nullopt);
    EXPECT_EQ(store.favoritesBackups().size(), 1u) << "at most once a day";
    EXPECT_EQ(testing::readFile(store.favoritesBackups()[0].file), firstRun);

    clock.advance(kDay);
    const std::string endOfDay = testing::readFile(store.bookmarksFile());
    store.addBookmark("Next day", "https://b.example/", std::nullopt);
    backups = store.favoritesBackups();
    EXPECT_EQ(daysOf(backups), (std::vector<std::string>{"2026-12-07", "2026-12-06"})) << "newest first";
    EXPECT_EQ(backups[0].favoriteCount, 1u);
    EXPECT_EQ(testing::readFile(backups[0].file), endOfDay);

    // Days whose file is what the newest copy holds keep no new copy.
    clock.advance(kDay);
    store.saveBookmarks();
    clock.advance(kDay);
    store.saveBookmarks();
    EXPECT_EQ(store.favoritesBackups().size(), 3u);
    // A damaged file is not copied (its store keeps it aside).
    clock.advance(kDay);
    testing::writeFile(store.bookmarksFile(), "[{");
    store.saveBookmarks();
    EXPECT_EQ(store.favoritesBackups().size(), 3u);
}

TEST_F(FavoritesBackupsTest, OnlyTheNewestFifteenAreKept) {
    BrowserDataStore store(dir.path(), clock);
    for (int day = 1; day <= 20; ++day) {
        clock.advance(kDay);
        store.addBookmark("day " + std::to_string(day), "https://example.com/", std::nullopt);
    }
    const auto backups = store.favoritesBackups();
    ASSERT_EQ(backups.size(), FavoritesBackups::kKept);
    EXPECT_EQ(backups.front().day, "2026-12-26");
    EXPECT_EQ(backups.back().day, "2026-12-12");
    std::size_t files = 0;
    for ([[maybe_unused]] const auto& entry : fs::directory_iterator(dir / "backups")) ++files;
    EXPECT_EQ(files, FavoritesBackups::kKept);
}

TEST_F(FavoritesBackupsTest, RestoreReplacesTheFavoritesThroughTheStoreWhichSaves) {
    BrowserDataStore store(dir.path(), clock);
    const auto firstRun = store.bookmarks().get();
    clock.advance(kDay);
    // The slip: the whole toolbar folder goes with no question.
    store.deleteBookmark(firstRun[0].id);
    ASSERT_TRUE(store.bookmarks()->empty() || store.bookmarks()->size() == 4u);
    const auto backups = store.favoritesBackups();
    const auto yesterday = std::find_if(backups.begin(), backups.end(),
                                        [](const FavoritesBackup& b) { return b.day == "2026-12-07"; });
    ASSERT_NE(yesterday, backups.end());

    int changes = 0;
    auto connection = store.bookmarks().changed().connect([&] { ++changes; });
    ASSERT_TRUE(store.restoreFavorites(*yesterday));
    connection.disconnect();
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(store.bookmarks().get(), firstRun);
    EXPECT_EQ(BrowserDataStore(dir.path(), clock).bookmarks().get(), firstRun) << "saved";
}

TEST_F(FavoritesBackupsTest, UnreadableBackupsAreNotListedAndCannotBeRestored) {
    BrowserDataStore store(dir.path(), clock);
    store.saveBookmarks();
    testing::writeFile(dir / "backups" / "bookmarks-2026-12-01.json", "[{");
    testing::writeFile(dir / "backups" / "notes.txt", "not a backup");
    const auto listed = store.favoritesBackups();
    EXPECT_EQ(daysOf(listed), std::vector<std::string>{"2026-12-06"});

    const auto before = store.bookmarks().get();
    FavoritesBackup damaged{dir / "backups" / "bookmarks-2026-12-01.json", "2026-12-01", Date{}, 0};
    EXPECT_FALSE(store.restoreFavorites(damaged));
    EXPECT_EQ(store.bookmarks().get(), before);
}

TEST_F(FavoritesBackupsTest, AClockSetBackKeepsNoOlderCopyOverANewerOne) {
    BrowserDataStore store(dir.path(), clock);
    store.saveBookmarks();
    clock.advance(-3 * kDay);
    store.addBookmark("in the past", "https://example.com/", std::nullopt);
    EXPECT_EQ(daysOf(store.favoritesBackups()), std::vector<std::string>{"2026-12-06"});
}

}  // namespace
}  // namespace sarvik
