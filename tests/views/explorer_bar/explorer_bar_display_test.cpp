#include "views/explorer_bar/explorer_bar_test_fixture.h"

#include "views/explorer_bar/auctions/auction_manager_panel.h"
#include "views/explorer_bar/auctions/auction_row.h"
#include "views/explorer_bar/favorites/favorite_row_widget.h"
#include "views/explorer_bar/favorites/favorites_panel.h"
#include "views/explorer_bar/history/history_panel.h"
#include "views/explorer_bar/history/history_row_widget.h"
#include "views/explorer_bar/scrapbook/scrapbook_panel.h"
#include "views/explorer_bar/scrapbook/scrapbook_row.h"
#include "views/explorer_bar/search/search_panel.h"

#include <gtkmm/popovermenu.h>

namespace sarvik::testing {
namespace {

using ExplorerBarViewTest = ExplorerBarTest;

template <typename Row>
Row& shownRow(Gtk::ListView& list, const std::function<bool(Row&)>& matches) {
    for (auto* row : shownRows<Row>(list))
        if (matches(*row)) return *row;
    throw std::runtime_error("no such row");
}

bool isMenuShown(Gtk::Widget& row) {
    auto menus = findAll<Gtk::Popover>(row);
    return !menus.empty() && menus.front()->get_visible();
}

// The keyboard on the list item that holds the row, where arrow keys put it.
void focusRow(Gtk::Widget& row) {
    Gtk::Widget* item = &row;
    while (item->get_parent() && !dynamic_cast<Gtk::ListView*>(item->get_parent())) item = item->get_parent();
    item->grab_focus();
}

// The menu key opens the row's menu, Escape shuts it, Delete removes the row.
void openMenuThenDelete(Gtk::Widget& row, const char* menuKey) {
    focusRow(row);
    pressKeys(menuKey);
    EXPECT_TRUE(runMainLoopUntil([&] { return isMenuShown(row); })) << menuKey;
    pressKeys("Escape");
    EXPECT_TRUE(runMainLoopUntil([&] { return !isMenuShown(row); }));
    focusRow(row);
    pressKeys("Delete");
}

std::string lowercase(std::string_view text) {
    std::string lower(text);
    std::transform(lower.begin(), lower.end(), lower.begin(), ::tolower);
    return lower;
}

TEST_F(ExplorerBarViewTest, TabsShowTheirPanelsAfreshAndTheBarReopensOnTheLastOne) {
    for (const char* url : {"https://one.example/", "https://two.example/", "https://two.example/"})
        dataStore().recordVisit("Page", url);
    state.searchText = "sarvik";
    auctionStore.addItem("Boxed set of hand-painted tin soldiers, Napoleonic era, complete with all original cards",
                         "https://auction.example/", AuctionSite::ebay, 10, kNoon.addingSeconds(600), {});
    showBar();
    // Nothing widens the bar, nothing inside it overflows, and every tab is in sight.
    const auto fixedAndInSight = [this] {
        int minimum = 0, natural = 0, panelMinimum = 0, ignored = 0;
        bar->measure(Gtk::Orientation::HORIZONTAL, -1, minimum, natural, ignored, ignored);
        bar->panel()->measure(Gtk::Orientation::HORIZONTAL, -1, panelMinimum, ignored, ignored, ignored);
        bool inSight = bar->tabStrip().get_width() <= ExplorerBarView::kWidth;
        for (auto tab : kAllExplorerBarTabs) {
            graphene_rect_t box;
            inSight = inSight && gtk_widget_compute_bounds(GTK_WIDGET(bar->tabButton(tab).gobj()), bar->tabStrip().gobj(), &box) &&
                      box.origin.x >= 0 && box.origin.x + box.size.width <= bar->tabStrip().get_width();
        }
        return minimum == ExplorerBarView::kWidth && natural == minimum && panelMinimum <= minimum && inSight;
    };
    for (auto theme : {OrvelColorTheme::blueberry, OrvelColorTheme::graphite, OrvelColorTheme::powerbook,
                       OrvelColorTheme::strawberry}) {
        state.colorTheme = theme;
        for (auto tab : kAllExplorerBarTabs) {
            press(bar->tabButton(tab));
            EXPECT_EQ(state.selectedExplorerTab.get(), tab);
            EXPECT_EQ(bar->title().get_text().raw(), std::string(rawValue(tab)));
            EXPECT_EQ(bar->panelTab(), tab);
            for (auto other : kAllExplorerBarTabs)
                EXPECT_EQ(bar->tabButton(other).has_css_class("selected"), other == tab);
            if (auto* favorites = dynamic_cast<FavoritesPanel*>(bar->panel()))
                favorites->toggleFolder(dataStore().bookmarks()->front().id);
            settle();
            EXPECT_TRUE(bar->panel()->get_mapped());
            EXPECT_TRUE(fixedAndInSight()) << rawValue(tab);
            saveScreenshotIfRequested(window, "explorer-" + lowercase(rawValue(tab)) + "-" + lowercase(rawValue(theme)));
        }
    }

    press(bar->tabButton(ExplorerBarTab::favorites));
    auto* favorites = &shownPanel<FavoritesPanel>();
    favorites->toggleFolder(dataStore().bookmarks()->front().id);
    settle();
    EXPECT_EQ(favorites->tree()->get_n_items(), 4u);
    press(bar->tabButton(ExplorerBarTab::favorites));
    EXPECT_EQ(bar->panel(), favorites) << "pressing the shown tab keeps its panel";
    press(bar->tabButton(ExplorerBarTab::history));
    shownPanel<HistoryPanel>().searchField().set_text("kept?");
    press(bar->tabButton(ExplorerBarTab::favorites));
    EXPECT_EQ(shownPanel<FavoritesPanel>().tree()->get_n_items(), 1u) << "folders start collapsed again";
    press(bar->tabButton(ExplorerBarTab::history));
    EXPECT_EQ(shownPanel<HistoryPanel>().searchField().get_text(), "");

    press(bar->tabButton(ExplorerBarTab::search));
    press(bar->closeButton());
    EXPECT_FALSE(state.isExplorerBarVisible.get());
    EXPECT_EQ(state.selectedExplorerTab.get(), ExplorerBarTab::search);
    // The window drops the bar while hidden and builds a new one to show it.
    window.unset_child();
    showBar();
    EXPECT_EQ(bar->title().get_text(), "Search");
    EXPECT_NO_THROW(shownPanel<SearchPanel>());
}

TEST_F(ExplorerBarViewTest, EveryListOpensRowMenusFromTheKeyboardAndDeleteRemovesTheFocusedRow) {
    dataStore().addBookmark("Gone", "https://gone.example/", std::nullopt);
    dataStore().addBookmark("Kept", "https://kept.example/", std::nullopt);
    dataStore().recordVisit("Seen", "https://seen.example/");
    dataStore().recordVisit("Visited", "https://visited.example/");
    savePage(scrapbookStore, "Saved");
    auctionStore.addItem("Lamp", "https://auction.example/lamp", AuctionSite::ebay, 10, kNoon.addingSeconds(86400), {});
    state.selectedExplorerTab = ExplorerBarTab::favorites;
    showBar();
    sendKeysTo(*bar);
    const auto titled = [this](const std::string& title) {
        const auto& all = dataStore().bookmarks().get();
        return std::any_of(all.begin(), all.end(), [&](const Bookmark& b) { return b.title == title; });
    };

    openMenuThenDelete(shownRow<FavoriteRowWidget>(shownPanel<FavoritesPanel>().listView(), [](auto& row) { return row.bookmark().title == "Gone"; }),
                       "shift+F10");
    EXPECT_TRUE(runMainLoopUntil([&] { return !titled("Gone"); }));
    EXPECT_TRUE(titled("Kept"));
    auto& favorites = shownPanel<FavoritesPanel>();
    press(favorites.newFolderButton());
    typeText("Temp");
    pressKeys("Escape");
    EXPECT_TRUE(runMainLoopUntil([&] { return !favorites.newFolderRow().get_visible(); }));
    press(favorites.newFolderButton());
    EXPECT_EQ(favorites.newFolderField().get_text(), "") << "Escape drops what was typed";
    pressKeys("Return");
    EXPECT_FALSE(titled("Temp"));

    press(bar->tabButton(ExplorerBarTab::history));
    settle();
    openMenuThenDelete(shownRow<HistoryRowWidget>(shownPanel<HistoryPanel>().listView(),
                                                  [](auto& row) {
                                                      return !row.row().isHeader &&
                                                             row.row().item.url == "https://seen.example/";
                                                  }),
                       "Menu");
    EXPECT_TRUE(runMainLoopUntil([&] { return dataStore().history()->size() == 1; }));
    EXPECT_EQ(dataStore().history()->front().url, "https://visited.example/");

    press(bar->tabButton(ExplorerBarTab::scrapbook));
    settle();
    openMenuThenDelete(shownRow<ScrapbookRow>(shownPanel<ScrapbookPanel>().listView(), [](auto& row) { return row.titleLabel().get_text() == "Saved"; }),
                       "shift+F10");
    EXPECT_TRUE(runMainLoopUntil([&] { return scrapbookStore.items()->empty(); }));

    press(bar->tabButton(ExplorerBarTab::auction));
    settle();
    openMenuThenDelete(shownRow<AuctionRow>(shownPanel<AuctionManagerPanel>().listView(), [](auto&) { return true; }), "Menu");
    EXPECT_TRUE(runMainLoopUntil([&] { return auctionStore.items()->empty(); }));
}

TEST_F(ExplorerBarViewTest, WebSearchIgnoresAnEmptyFieldAndRepeatsAKeptSearch) {
    state.selectedExplorerTab = ExplorerBarTab::search;
    showBar();
    auto& search = shownPanel<SearchPanel>();
    press(search.searchButton());
    pressReturn(search.field());
    EXPECT_FALSE(state.navigationCommand.get());

    search.field().set_text("gtk list view");
    EXPECT_EQ(state.searchText.get(), "gtk list view");
    pressReturn(search.field());
    EXPECT_EQ(loadedUrl(state), "https://www.google.com/search?q=gtk%20list%20view");
    state.navigationCommand = std::nullopt;
    press(search.searchButton());
    EXPECT_EQ(loadedUrl(state), "https://www.google.com/search?q=gtk%20list%20view");
    EXPECT_EQ(search.field().get_text(), "gtk list view");

    search.field().set_text("example.org");
    press(search.searchButton());
    EXPECT_EQ(loadedUrl(state), "https://example.org");
}

// Nothing publishes when an end date comes within the hour or passes (a
// watched item, auto refresh off): the dot follows the clock by itself.
TEST_F(ExplorerBarViewTest, EndingSoonShowsADotThatFollowsTheClockAndACountOnTheAuctionPanel) {
    auctionStore.isAutoRefreshEnabled() = false;
    auctionStore.restartRefreshTimer();
    auctionStore.addItem("Lamp", "https://auction.example/", AuctionSite::custom, 10.0,
                         clock.now().addingSeconds(3600 + 30), std::nullopt);
    showBar();
    EXPECT_FALSE(bar->auctionDot().get_visible());
    clock.advance(60);
    timers.elapsePeriod();
    EXPECT_TRUE(bar->auctionDot().get_visible());

    auctionStore.addItem("Radio", "https://auction.example/", AuctionSite::custom, 10.0,
                         clock.now().addingSeconds(1800), std::nullopt);
    settle();
    EXPECT_FALSE(bar->endingSoonBadge().get_visible()) << "the count shows on the auction panel only";
    press(bar->tabButton(ExplorerBarTab::auction));
    EXPECT_TRUE(bar->endingSoonBadge().get_visible());
    EXPECT_EQ(bar->endingSoonBadge().get_text(), "2");
    EXPECT_EQ(bar->title().get_text(), "Auction Manager");

    bar->set_visible(false);
    clock.advance(3600);
    bar->set_visible(true);
    settle();
    EXPECT_FALSE(bar->auctionDot().get_visible());
}

}  // namespace
}  // namespace sarvik::testing
