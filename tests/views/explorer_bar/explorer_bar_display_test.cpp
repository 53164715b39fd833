#include "views/explorer_bar/explorer_bar_test_fixture.h"

#include "views/explorer_bar/favorites/favorites_panel.h"
#include "views/explorer_bar/history/history_panel.h"
#include "views/explorer_bar/search/search_panel.h"

namespace sarvik::testing {
namespace {

using ExplorerBarViewTest = ExplorerBarTest;

std::string lowercase(std::string_view text) {
    std::string lower(text);
    std::transform(lower.begin(), lower.end(), lower.begin(), ::tolower);
    return lower;
}

TEST_F(ExplorerBarViewTest, TabsShowTheirPanelsAfreshAndTheBarReopensOnTheLastOne) {
    for (const char* url : {"https://one.example/", "https://two.example/", "https://two.example/"})
        dataStore().recordVisit("Page", url);
    state.searchText = "sarvik";
    showBar();
    int minimum = 0, natural = 0, baseline = 0, naturalBaseline = 0;
    bar->measure(Gtk::Orientation::HORIZONTAL, -1, minimum, natural, baseline, naturalBaseline);
    EXPECT_EQ(minimum, ExplorerBarView::kWidth);
    for (auto theme : {OrvelColorTheme::blueberry, OrvelColorTheme::graphite}) {
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
