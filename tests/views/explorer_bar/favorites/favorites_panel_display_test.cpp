#include "views/explorer_bar/explorer_bar_test_fixture.h"

#include "support/display/x_input.h"
#include "support/file_helpers.h"
#include "views/explorer_bar/favorites/favorite_row_widget.h"
#include "views/explorer_bar/favorites/favorites_panel.h"

namespace sarvik::testing {
namespace {

struct ShownRow {
    std::string title;
    int leadingPadding;
    friend bool operator==(const ShownRow&, const ShownRow&) = default;
};

void PrintTo(const ShownRow& row, std::ostream* out) { *out << row.title << "@" << row.leadingPadding; }

class FavoritesPanelTest : public ExplorerBarTest {
protected:
    FavoritesPanel& panel() {
        auto* favorites = dynamic_cast<FavoritesPanel*>(bar->panel());
        EXPECT_NE(favorites, nullptr);
        return *favorites;
    }

    std::vector<ShownRow> shown() {
        settle();
        std::vector<ShownRow> rows;
        for (auto* row : shownRows<FavoriteRowWidget>(panel().listView()))
            rows.push_back({row->titleLabel().get_visible() ? std::string(row->titleLabel().get_text())
                                                            : "[" + std::string(row->renameField().get_text()) + "]",
                            row->get_margin_start()});
        return rows;
    }

    FavoriteRowWidget& row(const std::string& title) {
        for (auto* widget : shownRows<FavoriteRowWidget>(panel().listView()))
            if (widget->bookmark().title == title) return *widget;
        ADD_FAILURE() << "no row " << title;
        throw std::runtime_error("no row");
    }

    void clickRow(const std::string& title) {
        auto tree = panel().tree();
        for (guint i = 0; i < tree->get_n_items(); ++i) {
            auto item = std::dynamic_pointer_cast<BookmarkObject>(tree->get_row(i)->get_item());
            if (item && item->record().title == title) activateListRow(panel().listView(), i);
        }
        settle();
    }

    void openTab(const std::string& url, const std::string& title) {
        state.updateTab(state.activeTabId.get(), [&](BrowserTab& tab) {
            tab.url = Url::parse(url);
            tab.title = title;
        });
    }
};

TEST_F(FavoritesPanelTest, FirstStartShowsOneCollapsedFolderThatOpensToItsThreeFavorites) {
    showBar();
    EXPECT_EQ(shown(), (std::vector<ShownRow>{{"Toolbar Favorites", 8}}));
    clickRow("Toolbar Favorites");
    EXPECT_EQ(shown(), (std::vector<ShownRow>{
                           {"Toolbar Favorites", 8}, {"Google", 24}, {"Apple", 24}, {"Wikipedia", 24}}));
    clickRow("Toolbar Favorites");
    EXPECT_EQ(shown().size(), 1u);
}

TEST_F(FavoritesPanelTest, FoldersNestedThreeDeepIndentEachLevelBySixteen) {
    auto& store = dataStore();
    store.addFolder("One", std::nullopt);
    const Uuid one = store.bookmarks()->back().id;
    store.addFolder("Two", one);
    const Uuid two = store.bookmarks()->back().id;
    store.addFolder("Three", two);
    store.addBookmark("Deep", "https://deep.example/", store.bookmarks()->back().id);
    showBar();
    clickRow("One");
    clickRow("Two");
    clickRow("Three");
    EXPECT_EQ(shown(), (std::vector<ShownRow>{
                           {"Toolbar Favorites", 8}, {"One", 8}, {"Two", 24}, {"Three", 40}, {"Deep", 56}}));
}

TEST_F(FavoritesPanelTest, AddingTheCurrentPageAppendsItAtTheTopLevelEachTime) {
    showBar();
    click(panel().addPageButton());
    EXPECT_EQ(shown().size(), 1u) << "a new tab without an address adds nothing";
    openTab("https://example.com/a", "Example A");
    click(panel().addPageButton());
    click(panel().addPageButton());
    EXPECT_EQ(shown(), (std::vector<ShownRow>{
                           {"Toolbar Favorites", 8}, {"Example A", 8}, {"Example A", 8}}));
    EXPECT_EQ(dataStore().bookmarks()->back().url, "https://example.com/a");
}

TEST_F(FavoritesPanelTest, NewFolderRowCreatesNothingWhenEmptyAndATopLevelFolderWithATypedName) {
    showBar();
    EXPECT_FALSE(panel().newFolderRow().get_visible());
    click(panel().newFolderButton());
    EXPECT_TRUE(panel().newFolderRow().get_visible());
    click(panel().confirmFolderButton());
    EXPECT_FALSE(panel().newFolderRow().get_visible());
    EXPECT_EQ(dataStore().bookmarks()->size(), 4u);

    // Typed at once: the field has the focus as it opens.
    sendKeysTo(panel().newFolderButton());
    pointerAt(panel().newFolderButton(), "click 1");
    ASSERT_TRUE(runMainLoopUntil([&] { return panel().newFolderRow().get_visible(); }));
    typeText(" Work ");
    pressKeys("Return");
    ASSERT_TRUE(runMainLoopUntil([&] { return !panel().newFolderRow().get_visible(); }, std::chrono::seconds(5)));
    EXPECT_EQ(shown(), (std::vector<ShownRow>{{"Toolbar Favorites", 8}, {" Work ", 8}}));
    EXPECT_TRUE(dataStore().bookmarks()->back().isFolder);
    click(panel().newFolderButton());
    EXPECT_EQ(panel().newFolderField().get_text(), "") << "the name is not kept for the next folder";
}

TEST_F(FavoritesPanelTest, RenamingKeepsTheOldTitleWhenEmptyAndAnotherRenameDropsTheFirst) {
    showBar();
    clickRow("Toolbar Favorites");
    EXPECT_EQ(testing::selectedWhenFocused(row("Google").renameField(), [&] { row("Google").activate_action("row.rename"); }),
              true);
    settle();
    row("Google").renameField().set_text("Search");
    row("Apple").activate_action("row.rename");
    EXPECT_EQ(shown(), (std::vector<ShownRow>{
                           {"Toolbar Favorites", 8}, {"Google", 24}, {"[Apple]", 24}, {"Wikipedia", 24}}));
    row("Apple").renameField().set_text("");
    pressReturn(row("Apple").renameField());
    EXPECT_EQ(shown()[2], (ShownRow{"Apple", 24}));

    row("Wikipedia").activate_action("row.rename");
    settle();
    row("Wikipedia").renameField().set_text("Encyclopedia");
    pressReturn(row("Wikipedia").renameField());
    EXPECT_EQ(shown()[3], (ShownRow{"Encyclopedia", 24}));
    EXPECT_NE(readFile(dataStore().bookmarksFile()).find("Encyclopedia"), std::string::npos);
    EXPECT_EQ(dataStore().bookmarks()->size(), 4u);
}

TEST_F(FavoritesPanelTest, DeletingAnExpandedFolderRemovesItWithItsPages) {
    showBar();
    clickRow("Toolbar Favorites");
    ASSERT_EQ(shown().size(), 4u);
    row("Toolbar Favorites").activate_action("row.delete");
    EXPECT_TRUE(shown().empty());
    EXPECT_TRUE(dataStore().bookmarks()->empty());
    EXPECT_EQ(readFile(dataStore().bookmarksFile()), "[]");
}

TEST_F(FavoritesPanelTest, AnAddressThatIsNoUrlOpensAsTextOrAsAnEmptyNewTab) {
    dataStore().addBookmark("Odd", "not a url", std::nullopt);
    showBar();
    settle();
    row("Odd").activate_action("row.open-in-new-tab");
    ASSERT_EQ(state.tabs->size(), 2u);
    ASSERT_TRUE(state.activeTab());
    EXPECT_FALSE(state.activeTab()->url);

    row("Odd").activate_action("row.open");
    EXPECT_EQ(loadedUrl(state), "https://www.google.com/search?q=not%20a%20url");
    EXPECT_EQ(state.tabs->size(), 2u);
}

TEST_F(FavoritesPanelTest, ClickingAPageOpensItInTheActiveTab) {
    showBar();
    clickRow("Toolbar Favorites");
    clickRow("Apple");
    EXPECT_EQ(loadedUrl(state), "https://www.apple.com");
    EXPECT_EQ(state.tabs->size(), 1u);
}

TEST_F(FavoritesPanelTest, ChangesFromElsewhereRedrawTheTreeAndKeepOpenFolders) {
    showBar();
    clickRow("Toolbar Favorites");
    const Uuid folder = dataStore().bookmarks()->front().id;
    dataStore().addBookmark("Added", "https://added.example/", folder);
    EXPECT_EQ(shown().size(), 5u);
    EXPECT_EQ(shown().back(), (ShownRow{"Added", 24}));
}

}  // namespace
}  // namespace sarvik::testing
