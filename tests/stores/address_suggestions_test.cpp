#include "stores/address_suggestions.h"

#include "support/fake_clock.h"
#include "support/temporary_directory.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace sarvik {
namespace {

using namespace sarvik::testing;

std::vector<std::string> urlsOf(const std::vector<AddressSuggestion>& list) {
    std::vector<std::string> urls;
    for (const auto& s : list) urls.push_back(s.url);
    return urls;
}

HistoryItem visited(std::string title, std::string url, std::int64_t count, double when) {
    return {Uuid::random(), std::move(title), std::move(url), Date{when}, count};
}

Bookmark page(std::string title, std::string url, std::optional<Uuid> folder, std::int64_t order) {
    return {Uuid::random(), std::move(title), std::move(url), folder, false, Date{0}, order};
}

Bookmark folder(std::string title, std::optional<Uuid> parent, std::int64_t order) {
    return {Uuid::random(), std::move(title), "", parent, true, Date{0}, order};
}

class AddressSuggestionIndexTest : public ::testing::Test {
protected:
    std::vector<AddressSuggestion> suggest(std::string_view text) {
        index.syncHistory(history);
        return index.suggest(text, history);
    }

    AddressSuggestionIndex index;
    std::vector<HistoryItem> history;
};

TEST_F(AddressSuggestionIndexTest, FavoritesComeFirstInTreeOrderThenHistoryByCountThenRecency) {
    const Bookmark news = folder("News", std::nullopt, 1);
    // List order differs from tree order: the folder's pages follow it, by sortOrder.
    index.setFavorites({page("Daily fruit", "https://daily.example/fruit", news.id, 2),
                        page("Top fruit", "https://top.example/", std::nullopt, 0), news,
                        page("Fruit wire", "https://wire.example/", news.id, 1),
                        page("Last fruit", "https://last.example/", std::nullopt, 5)});
    history = {visited("Fruit once, new", "https://a.example/", 1, 900),
               visited("Fruit thrice", "https://b.example/", 3, 100),
               visited("Fruit once, old", "https://c.example/", 1, 500),
               visited("Unrelated", "https://d.example/", 9, 999),
               visited("Fruit thrice, newer", "https://e.example/", 3, 200)};
    const auto list = suggest("fruit");
    EXPECT_EQ(urlsOf(list), (std::vector<std::string>{"https://top.example/", "https://wire.example/",
                                                      "https://daily.example/fruit", "https://last.example/",
                                                      "https://e.example/", "https://b.example/",
                                                      "https://a.example/", "https://c.example/"}));
    ASSERT_EQ(list.size(), 8u);
    EXPECT_TRUE(list[3].isFavorite);
    EXPECT_FALSE(list[4].isFavorite);
    EXPECT_EQ(list[0].title, "Top fruit");
    EXPECT_EQ(list[4].title, "Fruit thrice, newer");
}

TEST_F(AddressSuggestionIndexTest, TitleOrAddressMatchesIgnoringCaseBeyondAscii) {
    history = {visited("Grüne äpfel", "https://obst.example/1", 1, 1),
               visited("Nothing", "https://obst.example/ÄPFEL-liste", 1, 2),
               visited("ΣΟΦΙΑ", "https://greek.example/", 1, 3),
               visited("Birnen", "https://obst.example/2", 1, 4)};
    EXPECT_EQ(urlsOf(suggest("ÄPFEL")),
              (std::vector<std::string>{"https://obst.example/ÄPFEL-liste", "https://obst.example/1"}));
    EXPECT_EQ(urlsOf(suggest("äpfel")), urlsOf(suggest("ÄpFeL")));
    EXPECT_EQ(urlsOf(suggest("σοφια")), (std::vector<std::string>{"https://greek.example/"}));
    EXPECT_EQ(urlsOf(suggest("OBST.EXAMPLE/2")), (std::vector<std::string>{"https://obst.example/2"}));
    // Title and address are searched apart: a text spanning both finds nothing.
    EXPECT_TRUE(suggest("birnenhttps").empty());
}

TEST_F(AddressSuggestionIndexTest, AtMostEightAndNoneForBlankOrUnmatchedText) {
    for (int i = 0; i < 20; ++i)
        history.push_back(visited("Page " + std::to_string(i), "https://many.example/" + std::to_string(i), i, i));
    const auto list = suggest("page");
    ASSERT_EQ(list.size(), AddressSuggestionIndex::kLimit);
    EXPECT_EQ(list.front().url, "https://many.example/19");
    EXPECT_EQ(list.back().url, "https://many.example/12");
    EXPECT_TRUE(suggest("").empty());
    EXPECT_TRUE(suggest("   \t ").empty());
    EXPECT_TRUE(suggest("zebra").empty());
    EXPECT_TRUE(suggest(std::string_view("page\0x", 6)).empty());
    EXPECT_EQ(urlsOf(suggest("  page 19 ")), (std::vector<std::string>{"https://many.example/19"}));
}

TEST_F(AddressSuggestionIndexTest, AnAddressIsSuggestedOnce) {
    index.setFavorites({page("Shop", "https://shop.example/", std::nullopt, 0),
                        page("Shop again", "https://shop.example/", std::nullopt, 1)});
    history = {visited("Shop", "https://shop.example/", 50, 10), visited("Shop sale", "https://shop.example/sale", 1, 5),
               // A damaged file may hold an address twice: the better entry stands for it.
               visited("Dup old", "https://dup.example/shop", 2, 1), visited("Dup new", "https://dup.example/shop", 2, 3),
               // A saved page that an older history file still holds.
               visited("Shop saved", "scrapbook://" + Uuid::random().toString() + "/", 99, 9)};
    const auto list = suggest("shop");
    EXPECT_EQ(urlsOf(list), (std::vector<std::string>{"https://shop.example/", "https://dup.example/shop",
                                                      "https://shop.example/sale"}));
    EXPECT_TRUE(list[0].isFavorite);
    EXPECT_EQ(list[0].title, "Shop");
    EXPECT_EQ(list[1].title, "Dup new");
}

TEST_F(AddressSuggestionIndexTest, FavoritesFillingTheListLeaveNoRoomForHistory) {
    std::vector<Bookmark> favorites;
    for (int i = 0; i < 10; ++i) favorites.push_back(page("Fav " + std::to_string(i), "https://f.example/" + std::to_string(i), std::nullopt, i));
    index.setFavorites(favorites);
    history = {visited("Fav in history", "https://h.example/", 100, 1)};
    const auto list = suggest("fav");
    ASSERT_EQ(list.size(), 8u);
    EXPECT_TRUE(std::all_of(list.begin(), list.end(), [](const auto& s) { return s.isFavorite; }));
    EXPECT_EQ(list.back().url, "https://f.example/7");
    // Narrowing after a search that stopped at the favorites still searches the history.
    EXPECT_EQ(urlsOf(suggest("fav in")), (std::vector<std::string>{"https://h.example/"}));
}

TEST_F(AddressSuggestionIndexTest, NarrowingAndWideningAgreeWithAFreshSearch) {
    for (int i = 0; i < 200; ++i)
        history.push_back(visited("Item " + std::to_string(i), "https://n.example/" + std::to_string(i % 7), 1 + i % 5, i));
    for (const char* text : {"i", "it", "item 1", "item 12", "item 1", "item 19", "item 199", "n.example/3", "n.example/3x"}) {
        AddressSuggestionIndex fresh;
        fresh.syncHistory(history);
        EXPECT_EQ(urlsOf(suggest(text)), urlsOf(fresh.suggest(text, history))) << text;
    }
}

TEST_F(AddressSuggestionIndexTest, TheIndexFollowsAppendsChangesAndDeletions) {
    history = {visited("Alpha", "https://alpha.example/", 1, 1), visited("Beta", "https://beta.example/", 1, 2),
               visited("Gamma", "https://gamma.example/", 1, 3)};
    EXPECT_EQ(urlsOf(suggest("a.example")).size(), 3u);
    history[0].visitCount = 5;  // a revisit with a new title
    history[0].visitedAt = Date{10};
    history[0].title = "Renamed";
    history.push_back(visited("Delta", "https://delta.example/", 2, 4));
    EXPECT_EQ(urlsOf(suggest("a.example")), (std::vector<std::string>{"https://alpha.example/", "https://delta.example/",
                                                                       "https://gamma.example/", "https://beta.example/"}));
    EXPECT_EQ(urlsOf(suggest("renamed")), (std::vector<std::string>{"https://alpha.example/"}));
    EXPECT_TRUE(suggest("alpha example").empty());
    history.erase(history.begin() + 1);
    EXPECT_EQ(urlsOf(suggest("beta")).size(), 0u);
    EXPECT_EQ(urlsOf(suggest("gamma")), (std::vector<std::string>{"https://gamma.example/"}));
    // Many changes leave most of the buffer unused and it is compacted: results stay right.
    for (int round = 0; round < 3000; ++round) {
        history[0].visitCount += 1;
        history[0].title = "Renamed " + std::string(static_cast<std::size_t>(round % 40), 'x');
        index.syncHistory(history);
    }
    EXPECT_EQ(urlsOf(suggest("renamed xxxx")), (std::vector<std::string>{"https://alpha.example/"}));
    EXPECT_EQ(urlsOf(suggest("delta")), (std::vector<std::string>{"https://delta.example/"}));
    history.clear();
    EXPECT_TRUE(suggest("a").empty());
}

class AddressSuggestionsStoreTest : public ::testing::Test {
protected:
    TemporaryDirectory dir;
    FakeClock clock{Date{786000000.0}};
    BrowserDataStore store{dir.path(), clock};
    AddressSuggestions suggestions{store};
};

TEST_F(AddressSuggestionsStoreTest, SuggestionsFollowTheStoresChanges) {
    EXPECT_TRUE(suggestions.suggestionsFor("kiwi").empty());
    store.recordVisit("Kiwi one", "https://kiwi.example/1");
    clock.advance(60);
    store.recordVisit("Kiwi two", "https://kiwi.example/2");
    EXPECT_EQ(urlsOf(suggestions.suggestionsFor("kiwi")),
              (std::vector<std::string>{"https://kiwi.example/2", "https://kiwi.example/1"}));
    clock.advance(60);
    store.recordVisit("Kiwi one", "https://kiwi.example/1");  // now visited twice
    EXPECT_EQ(urlsOf(suggestions.suggestionsFor("kiwi")),
              (std::vector<std::string>{"https://kiwi.example/1", "https://kiwi.example/2"}));
    store.addBookmark("Kiwi favorite", "https://kiwi.example/2", std::nullopt);
    const auto list = suggestions.suggestionsFor("KIWI");
    EXPECT_EQ(urlsOf(list), (std::vector<std::string>{"https://kiwi.example/2", "https://kiwi.example/1"}));
    EXPECT_TRUE(list[0].isFavorite);
    EXPECT_EQ(list[0].title, "Kiwi favorite");
    store.deleteHistoryItem(store.history()->front().id);
    EXPECT_EQ(urlsOf(suggestions.suggestionsFor("kiwi")), (std::vector<std::string>{"https://kiwi.example/2"}));
    store.clearHistory();
    for (const auto& b : store.bookmarksInFolder(std::nullopt)) store.deleteBookmark(b.id);
    EXPECT_TRUE(suggestions.suggestionsFor("kiwi").empty());
}

}  // namespace
}  // namespace sarvik
