#include "core/json.h"
#include "stores/address_suggestion_index.h"
#include "stores/browser_data_json.h"
#include "stores/browser_data_store.h"
#include "stores/favorites_html.h"
#include "stores/favorites_tree.h"
#include "support/fake_clock.h"
#include "support/file_helpers.h"
#include "support/temporary_directory.h"

#include <gtest/gtest.h>

namespace sarvik::testing {
namespace {

Bookmark record(const Uuid& id, std::optional<Uuid> parent, bool isFolder, std::string title, std::int64_t order = 0) {
    return {id, std::move(title), isFolder ? "" : "http://" + std::to_string(order) + ".test/", parent, isFolder,
            Date{0}, order};
}

// Files edited by hand: a folder X holding a second folder X, folders A and B
// inside each other, and a page under each loop.
struct LoopingFavorites {
    Uuid x = Uuid::random(), a = Uuid::random(), b = Uuid::random(), page = Uuid::random();
    std::vector<Bookmark> records{record(x, std::nullopt, true, "X", 0),  record(x, x, true, "X again", 0),
                                  record(page, x, false, "In X", 1),      record(a, b, true, "A", 0),
                                  record(b, a, true, "B", 0),             record(Uuid::random(), a, false, "In A", 1)};
};

TEST(FavoritesTreeTest, DuplicateIdsAndLoopsAreShownOnceAndEveryWalkEnds) {
    const LoopingFavorites file;
    const FavoritesTree tree(file.records);
    std::vector<std::string> titles;
    for (std::size_t position : tree.order()) titles.push_back(file.records[position].title);
    EXPECT_EQ(titles, (std::vector<std::string>{"X", "In X"})) << "the A/B loop hangs under no shown folder";
    EXPECT_EQ(tree.childrenOf(file.x), (std::vector<std::size_t>{2}));
    EXPECT_TRUE(tree.childrenOf(file.a).empty());
    const auto doomed = tree.subtreeIds(file.a);
    EXPECT_EQ(doomed.size(), 3u) << "A, B and the page in A, each once";

    AddressSuggestionIndex index;
    index.setFavorites(file.records);
    const auto suggestions = index.suggest("test", {});
    ASSERT_EQ(suggestions.size(), 1u);
    EXPECT_EQ(suggestions[0].title, "In X");
    const std::string html = writeFavoritesHtml(file.records);
    EXPECT_NE(html.find(">In X</A>"), std::string::npos) << html;
    EXPECT_EQ(html.find("X again"), std::string::npos) << html;
    EXPECT_EQ(html.find("In A"), std::string::npos) << html;
}

TEST(FavoritesTreeTest, AStoreWithALoopingFileDeletesAddsAndSavesNormally) {
    TemporaryDirectory dir;
    FakeClock clock{Date{786000000}};
    const LoopingFavorites file;
    writeFile(dir / "bookmarks.json", *json::encodeBookmarks(file.records));
    BrowserDataStore store(dir.path(), clock);
    ASSERT_EQ(store.bookmarks()->size(), file.records.size());
    store.deleteBookmark(file.a);
    EXPECT_EQ(store.bookmarks()->size(), 3u);
    store.addFolder("New", file.x);
    const auto saved = json::decodeBookmarks(readFile(dir / "bookmarks.json"));
    ASSERT_EQ(saved.size(), 4u);
    EXPECT_EQ(saved.back().title, "New");
}

}  // namespace
}  // namespace sarvik::testing
