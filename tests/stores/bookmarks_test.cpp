#include "stores/browser_data_store.h"

#include "store_test_support.h"
#include "stores/store_text.h"
#include "support/fake_clock.h"
#include "support/file_helpers.h"
#include "support/temporary_directory.h"

#include <gtest/gtest.h>

#include <limits>

namespace sarvik {
namespace {

using namespace sarvik::testing;

const std::set<std::string> kTopLevelKeys = {"id", "title", "url", "isFolder", "createdAt", "sortOrder"};

class BookmarksTest : public ::testing::Test {
protected:
    std::filesystem::path bookmarksFile() const { return dir / "bookmarks.json"; }
    std::vector<std::string> titlesIn(const BrowserDataStore& store, const std::optional<Uuid>& folder) const {
        std::vector<std::string> titles;
        for (const auto& b : store.bookmarksInFolder(folder)) titles.push_back(b.title);
        return titles;
    }
    const Bookmark* find(const BrowserDataStore& store, std::string_view title) const {
        for (const auto& b : store.bookmarks().get())
            if (b.title == title) return &b;
        return nullptr;
    }

    TemporaryDirectory dir;
    FakeClock clock{Date{786000000.25}};
};

TEST_F(BookmarksTest, FirstStartWritesTheFourFirstRunFavoritesAndNoHistory) {
    const auto folder = dir / "nested" / "SarvikBrowser";
    BrowserDataStore store(folder, clock);
    EXPECT_EQ(store.bookmarksFile(), folder / "bookmarks.json");
    EXPECT_FALSE(std::filesystem::exists(folder / "history.json"));

    const auto document = parseFile(readFile(folder / "bookmarks.json"));
    ASSERT_EQ(document.Size(), 4u);
    const auto keys = keysOfRecords(document);
    EXPECT_EQ(keys[0], kTopLevelKeys);
    auto childKeys = kTopLevelKeys;
    childKeys.insert("parentFolderId");
    for (int i = 1; i < 4; ++i) EXPECT_EQ(keys[i], childKeys);

    const auto& list = store.bookmarks().get();
    const std::string folderId = list[0].id.toString();
    EXPECT_EQ(document[0]["id"].GetString(), folderId);  // upper case, as stored
    EXPECT_EQ(list[0], (Bookmark{list[0].id, "Toolbar Favorites", "", std::nullopt, true, clock.now(), 0}));
    const char* expected[][2] = {{"Google", "https://www.google.com"},
                                 {"Apple", "https://www.apple.com"},
                                 {"Wikipedia", "https://www.wikipedia.org"}};
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(list[i + 1], (Bookmark{list[i + 1].id, expected[i][0], expected[i][1], list[0].id, false, clock.now(), i}));
        EXPECT_EQ(document[i + 1]["parentFolderId"].GetString(), folderId);
        EXPECT_EQ(document[i + 1]["sortOrder"].GetInt64(), i);
    }
    EXPECT_EQ(document[0]["createdAt"].GetDouble(), 786000000.25);
    EXPECT_TRUE(damagedCopies(folder / "bookmarks.json").empty());
}

TEST_F(BookmarksTest, DeletingEverythingBringsTheFirstRunFavoritesBackWithNewIds) {
    Uuid oldFolder;
    {
        BrowserDataStore store(dir.path(), clock);
        oldFolder = store.bookmarks()->front().id;
        store.deleteBookmark(oldFolder);
        EXPECT_TRUE(store.bookmarks()->empty());
        EXPECT_EQ(readFile(bookmarksFile()), "[]");
    }
    BrowserDataStore again(dir.path(), clock);
    ASSERT_EQ(again.bookmarks()->size(), 4u);
    EXPECT_NE(again.bookmarks()->front().id, oldFolder);
    EXPECT_EQ(parseFile(readFile(bookmarksFile())).Size(), 4u);
    EXPECT_TRUE(damagedCopies(bookmarksFile()).empty());  // an empty list is not damage
}

TEST_F(BookmarksTest, LoadsTopLevelRecordsAndDropsUnknownKeysAtTheNextSave) {
    writeFile(bookmarksFile(), std::string(R"([{"sortOrder":3,"createdAt":12.5,"isFolder":false,"url":"https:\/\/a.example\/x",)") +
                                   R"("title":"A","id":")" + kOtherId + R"(","color":{"r":[1,2]}}])");
    BrowserDataStore store(dir.path(), clock);
    ASSERT_EQ(store.bookmarks()->size(), 1u);
    EXPECT_EQ(store.bookmarks()->front(),
              (Bookmark{*Uuid::parse(kOtherId), "A", "https://a.example/x", std::nullopt, false, Date{12.5}, 3}));
    EXPECT_EQ(titlesIn(store, std::nullopt), std::vector<std::string>{"A"});

    store.renameBookmark(*Uuid::parse(kOtherId), "B");
    EXPECT_EQ(readFile(bookmarksFile()), std::string(R"([{"id":")") + kOtherId +
                                             R"(","title":"B","url":"https://a.example/x","isFolder":false,)"
                                             R"("createdAt":12.5,"sortOrder":3}])");
}

TEST_F(BookmarksTest, NewRecordsGoAfterTheLastSiblingAndGapsAreNotFilled) {
    BrowserDataStore store(dir.path(), clock);
    store.addFolder("Empty", std::nullopt);
    const Uuid empty = find(store, "Empty")->id;
    EXPECT_EQ(find(store, "Empty")->sortOrder, 1);  // after "Toolbar Favorites"
    store.addBookmark("First", "a", empty);
    store.addBookmark("Second", "b", empty);
    EXPECT_EQ(find(store, "First")->sortOrder, 0);
    EXPECT_EQ(find(store, "Second")->sortOrder, 1);
    store.deleteBookmark(find(store, "First")->id);
    store.addBookmark("Third", "c", empty);
    EXPECT_EQ(find(store, "Third")->sortOrder, 2);
    EXPECT_EQ(titlesIn(store, empty), (std::vector<std::string>{"Second", "Third"}));

    // The same address may be added again, unchanged and untrimmed.
    store.addBookmark("", " c ", empty);
    EXPECT_EQ(store.bookmarks()->back().url, " c ");
    EXPECT_EQ(store.bookmarks()->back().createdAt, clock.now());
    EXPECT_FALSE(store.bookmarks()->back().isFolder);
}

TEST_F(BookmarksTest, SiblingsAreFoldersAndFavoritesWithTheSameParent) {
    writeFile(bookmarksFile(), std::string(R"([{"id":")") + kFolderId +
                                   R"(","title":"F","url":"","isFolder":true,"createdAt":0,"sortOrder":5}])");
    BrowserDataStore store(dir.path(), clock);
    store.addBookmark("Top", "https://top.example", std::nullopt);
    store.addBookmark("Inside", "https://in.example", *Uuid::parse(kFolderId));
    EXPECT_EQ(find(store, "Top")->sortOrder, 6);
    EXPECT_EQ(find(store, "Inside")->sortOrder, 0);
    EXPECT_EQ(parseFile(readFile(bookmarksFile())).Size(), 3u);
}

TEST_F(BookmarksTest, FolderListingSortsBySortOrderKeepingListOrderForTies) {
    std::string records;
    const char* rows[][2] = {{"c", "2"}, {"a1", "1"}, {"b", "-4"}, {"a2", "1"}};
    for (const auto& row : rows)
        records += std::string(records.empty() ? "" : ",") + R"({"id":")" + Uuid::random().toString() + R"(","title":")" +
                   row[0] + R"(","url":"u","isFolder":false,"createdAt":0,"sortOrder":)" + row[1] + "}";
    writeFile(bookmarksFile(), "[" + records + "]");
    BrowserDataStore store(dir.path(), clock);
    EXPECT_EQ(titlesIn(store, std::nullopt), (std::vector<std::string>{"b", "a1", "a2", "c"}));
    EXPECT_TRUE(titlesIn(store, Uuid::random()).empty());
}

TEST_F(BookmarksTest, DeletingAFolderRemovesItsWholeSubtreeAndNothingElse) {
    BrowserDataStore store(dir.path(), clock);
    store.addFolder("Outer", std::nullopt);
    const Uuid outer = find(store, "Outer")->id;
    store.addFolder("Inner", outer);
    store.addBookmark("Deep", "https://deep.example", find(store, "Inner")->id);
    store.addBookmark("Sibling", "https://sibling.example", std::nullopt);
    int changes = 0;
    const auto connection = store.bookmarks().changed().connect([&] { ++changes; });

    store.deleteBookmark(outer);
    EXPECT_GE(changes, 1);
    EXPECT_EQ(find(store, "Outer"), nullptr);
    EXPECT_EQ(find(store, "Inner"), nullptr);
    EXPECT_EQ(find(store, "Deep"), nullptr);
    EXPECT_EQ(titlesIn(store, std::nullopt), (std::vector<std::string>{"Toolbar Favorites", "Sibling"}));
    EXPECT_EQ(find(store, "Sibling")->sortOrder, 2);
    EXPECT_EQ(find(store, "Google")->sortOrder, 0);
    EXPECT_EQ(parseFile(readFile(bookmarksFile())).Size(), 5u);
}

TEST_F(BookmarksTest, DeletingInAFolderCycleVisitsEachRecordOnce) {
    // X is inside Y and Y inside X; Z is its own parent. An edited file can say so.
    const std::string x = kFolderId, y = kOtherId, z = Uuid::random().toString();
    const auto folder = [](const std::string& id, const std::string& parent, const char* title) {
        return R"({"id":")" + id + R"(","parentFolderId":")" + parent + R"(","title":")" + title +
               R"(","url":"","isFolder":true,"createdAt":0,"sortOrder":0})";
    };
    const std::string favorite = R"({"id":")" + Uuid::random().toString() + R"(","parentFolderId":")" + x +
                                 R"(","title":"Fav","url":"u","isFolder":false,"createdAt":0,"sortOrder":1})";
    const std::string keep = R"({"id":")" + Uuid::random().toString() +
                             R"(","title":"Keep","url":"k","isFolder":false,"createdAt":0,"sortOrder":0})";
    writeFile(bookmarksFile(), "[" + folder(x, y, "X") + "," + folder(y, x, "Y") + "," + favorite + "," +
                                   folder(z, z, "Z") + "," + keep + "]");
    BrowserDataStore store(dir.path(), clock);
    ASSERT_EQ(store.bookmarks()->size(), 5u);

    store.deleteBookmark(*Uuid::parse(x));
    EXPECT_EQ(store.bookmarks()->size(), 2u);
    store.deleteBookmark(*Uuid::parse(z));
    ASSERT_EQ(store.bookmarks()->size(), 1u);
    EXPECT_EQ(store.bookmarks()->front().title, "Keep");
    EXPECT_EQ(parseFile(readFile(bookmarksFile())).Size(), 1u);
}

// The tree as "title(children),title": what the file says, read back.
std::string treeText(const BrowserDataStore& store, const std::optional<Uuid>& folder = std::nullopt) {
    std::string text;
    for (const auto& b : store.bookmarksInFolder(folder))
        text += (text.empty() ? "" : ",") + b.title + (b.isFolder ? "(" + treeText(store, b.id) + ")" : "");
    return text;
}

TEST_F(BookmarksTest, MovesIntoFoldersAndReordersAndRefusesAFolderIntoItsOwnSubtree) {
    BrowserDataStore store(dir.path(), clock);
    store.addFolder("Work", std::nullopt);
    store.addFolder("Deep", find(store, "Work")->id);
    store.addBookmark("Docs", "https://docs.example", std::nullopt);
    const std::string firstFile = readFile(bookmarksFile());
    clock.advance(86400);  // a new day: its first move keeps a backup
    struct Move {
        const char* what;
        const char* into;  // empty: the top level
        std::size_t position;
        bool isMoved;
        const char* tree;  // after the move, as reloaded from the file
    };
    const std::size_t end = std::numeric_limits<std::size_t>::max();
    const Move moves[] = {
        {"Docs", "Work", 0, true, "Toolbar Favorites(Google,Apple,Wikipedia),Work(Docs,Deep())"},
        {"Wikipedia", "", 0, true, "Wikipedia,Toolbar Favorites(Google,Apple),Work(Docs,Deep())"},
        {"Google", "Toolbar Favorites", end, true, "Wikipedia,Toolbar Favorites(Apple,Google),Work(Docs,Deep())"},
        {"Work", "Deep", 0, false, "Wikipedia,Toolbar Favorites(Apple,Google),Work(Docs,Deep())"},
        {"Work", "Work", 0, false, "Wikipedia,Toolbar Favorites(Apple,Google),Work(Docs,Deep())"},
        {"Apple", "Google", 0, false, "Wikipedia,Toolbar Favorites(Apple,Google),Work(Docs,Deep())"},
        {"Toolbar Favorites", "Deep", 0, true, "Wikipedia,Work(Docs,Deep(Toolbar Favorites(Apple,Google)))"},
        {"Deep", "", 1, true, "Wikipedia,Deep(Toolbar Favorites(Apple,Google)),Work(Docs)"},
        {"Wikipedia", "", 2, true, "Deep(Toolbar Favorites(Apple,Google)),Work(Docs),Wikipedia"},
    };
    for (const auto& move : moves) {
        SCOPED_TRACE(std::string(move.what) + " into " + move.into);
        const std::string before = readFile(bookmarksFile());
        const auto into = *move.into ? std::optional<Uuid>(find(store, move.into)->id) : std::nullopt;
        EXPECT_EQ(store.moveBookmark(find(store, move.what)->id, into, move.position), move.isMoved);
        if (!move.isMoved) {
            EXPECT_EQ(readFile(bookmarksFile()), before) << "a refused move saves nothing";
        }
        BrowserDataStore reloaded(dir.path(), clock);
        EXPECT_EQ(treeText(reloaded), move.tree);
        EXPECT_EQ(reloaded.bookmarks().get(), store.bookmarks().get());
    }
    EXPECT_FALSE(store.moveBookmark(Uuid::random(), std::nullopt, 0));
    EXPECT_FALSE(store.moveBookmark(find(store, "Docs")->id, Uuid::random(), 0));
    // The day's first move kept the file as it was before it.
    ASSERT_EQ(store.favoritesBackups().size(), 2u);
    EXPECT_EQ(readFile(store.favoritesBackups()[0].file), firstFile);
}

TEST_F(BookmarksTest, UnknownIdsChangeNothingButDeleteStillSavesAndRenameAcceptsAnyTitle) {
    BrowserDataStore store(dir.path(), clock);
    const auto before = store.bookmarks().get();
    std::filesystem::remove(bookmarksFile());
    store.renameBookmark(Uuid::random(), "x");
    EXPECT_FALSE(std::filesystem::exists(bookmarksFile()));
    store.deleteBookmark(Uuid::random());
    EXPECT_EQ(store.bookmarks().get(), before);
    EXPECT_EQ(parseFile(readFile(bookmarksFile())).Size(), 4u);

    // Any title is accepted, and observers see it after the change.
    const Uuid google = find(store, "Google")->id;
    std::string seen;
    const auto connection = store.bookmarks().changed().connect([&] { seen = store.bookmarks()->at(1).title; });
    store.renameBookmark(google, "");
    EXPECT_EQ(seen, "");
    store.renameBookmark(google, "  Search\n");
    EXPECT_EQ(seen, "  Search\n");
    BrowserDataStore reloaded(dir.path(), clock);
    EXPECT_EQ(reloaded.bookmarks().get(), store.bookmarks().get());
}

TEST_F(BookmarksTest, ASortOrderAtTheTopOfTheRangeDoesNotOverflowAndBadTextIsMadeValid) {
    writeFile(bookmarksFile(), std::string(R"([{"id":")") + kOtherId +
                                   R"(","title":"Last","url":"u","isFolder":false,"createdAt":0,"sortOrder":9223372036854775807}])");
    BrowserDataStore store(dir.path(), clock);
    store.addBookmark("Later", "v", std::nullopt);
    EXPECT_EQ(store.bookmarks()->back().sortOrder, std::numeric_limits<std::int64_t>::max());
    EXPECT_EQ(titlesIn(store, std::nullopt), (std::vector<std::string>{"Last", "Later"}));
    // Text that is not UTF-8 is made valid so the file stays readable.
    store.addBookmark("Bad \xFF\xED\xA0\x80 title", "https://x.example/\xC0\xAF", std::nullopt);
    EXPECT_EQ(store.bookmarks()->back().title, "Bad \uFFFD\uFFFD\uFFFD\uFFFD title");
    store.addBookmark(std::string(5000, 't'), "w", std::nullopt);  // a page's title of any length
    EXPECT_EQ(store.bookmarks()->back().title, std::string(kMaximumTitleCharacters, 't'));
    BrowserDataStore reloaded(dir.path(), clock);
    EXPECT_EQ(reloaded.bookmarks().get(), store.bookmarks().get());
}

}  // namespace
}  // namespace sarvik
