#include "views/explorer_bar/explorer_bar_test_fixture.h"

#include "views/explorer_bar/favorites/favorites_panel.h"
#include "views/explorer_bar/history/history_panel.h"
#include "views/explorer_bar/search/search_panel.h"

namespace sarvik::testing {
namespace {

using ExplorerBarViewTest = ExplorerBarTest;

TEST_F(ExplorerBarViewTest, TitleAndSelectedTabFollowTheSelectedPanel) {
    showBar();
    int minimum = 0, natural = 0, baseline = 0, naturalBaseline = 0;
    bar->measure(Gtk::Orientation::HORIZONTAL, -1, minimum, natural, baseline, naturalBaseline);
    EXPECT_EQ(minimum, ExplorerBarView::kWidth);
    for (auto tab : kAllExplorerBarTabs) {
        click(bar->tabButton(tab));
        EXPECT_EQ(state.selectedExplorerTab.get(), tab);
        EXPECT_EQ(bar->title().get_text().raw(), std::string(rawValue(tab)));
        EXPECT_EQ(bar->panelTab(), tab);
        for (auto other : kAllExplorerBarTabs)
            EXPECT_EQ(bar->tabButton(other).has_css_class("selected"), other == tab);
    }
}

TEST_F(ExplorerBarViewTest, SwitchingPanelsStartsThePanelAfreshButTheSameTabKeepsIt) {
    showBar();
    auto* favorites = dynamic_cast<FavoritesPanel*>(bar->panel());
    ASSERT_NE(favorites, nullptr);
    favorites->toggleFolder(dataStore().bookmarks()->front().id);
    settle();
    EXPECT_EQ(favorites->tree()->get_n_items(), 4u);
    click(bar->tabButton(ExplorerBarTab::favorites));
    EXPECT_EQ(bar->panel(), favorites) << "pressing the shown tab keeps its panel";

    click(bar->tabButton(ExplorerBarTab::history));
    auto* history = dynamic_cast<HistoryPanel*>(bar->panel());
    ASSERT_NE(history, nullptr);
    history->searchField().set_text("kept?");
    click(bar->tabButton(ExplorerBarTab::favorites));
    favorites = dynamic_cast<FavoritesPanel*>(bar->panel());
    ASSERT_NE(favorites, nullptr);
    EXPECT_EQ(favorites->tree()->get_n_items(), 1u) << "folders start collapsed again";
    click(bar->tabButton(ExplorerBarTab::history));
    EXPECT_EQ(dynamic_cast<HistoryPanel*>(bar->panel())->searchField().get_text(), "");
}

TEST_F(ExplorerBarViewTest, CloseHidesTheBarAndABarShownAgainOpensOnTheSamePanel) {
    state.selectedExplorerTab = ExplorerBarTab::search;
    showBar();
    click(bar->closeButton());
    EXPECT_FALSE(state.isExplorerBarVisible.get());
    EXPECT_EQ(state.selectedExplorerTab.get(), ExplorerBarTab::search);
    // The window drops the bar while hidden and builds a new one to show it.
    window->unset_child();
    bar = std::make_unique<ExplorerBarView>(state, dataStore(), scrapbookStore, auctionStore);
    window->set_child(*bar);
    settle();
    EXPECT_EQ(bar->title().get_text(), "Search");
    EXPECT_NE(dynamic_cast<SearchPanel*>(bar->panel()), nullptr);
}

TEST_F(ExplorerBarViewTest, WebSearchIgnoresAnEmptyFieldAndRepeatsAKeptSearch) {
    state.selectedExplorerTab = ExplorerBarTab::search;
    showBar();
    auto* search = dynamic_cast<SearchPanel*>(bar->panel());
    ASSERT_NE(search, nullptr);
    click(search->searchButton());
    pressReturn(search->field());
    EXPECT_FALSE(state.navigationCommand.get());

    search->field().set_text("gtk list view");
    EXPECT_EQ(state.searchText.get(), "gtk list view");
    pressReturn(search->field());
    EXPECT_EQ(loadedUrl(state), "https://www.google.com/search?q=gtk%20list%20view");
    state.navigationCommand = std::nullopt;
    click(search->searchButton());
    EXPECT_EQ(loadedUrl(state), "https://www.google.com/search?q=gtk%20list%20view");
    EXPECT_EQ(search->field().get_text(), "gtk list view");

    search->field().set_text("example.org");
    click(search->searchButton());
    EXPECT_EQ(loadedUrl(state), "https://example.org");
}

TEST_F(ExplorerBarViewTest, EndingSoonCountShowsABadgeOnTheAuctionPanelAndADotAlways) {
    showBar();
    EXPECT_FALSE(bar->auctionDot().get_visible());
    EXPECT_FALSE(bar->endingSoonBadge().get_visible());
    for (const char* title : {"Lamp", "Radio"})
        auctionStore.addItem(title, "https://auction.example/", AuctionSite::custom, 10.0, clock.now().addingSeconds(1800),
                             std::nullopt);
    settle();
    EXPECT_TRUE(bar->auctionDot().get_visible());
    EXPECT_FALSE(bar->endingSoonBadge().get_visible());
    click(bar->tabButton(ExplorerBarTab::auction));
    EXPECT_TRUE(bar->endingSoonBadge().get_visible());
    EXPECT_EQ(bar->endingSoonBadge().get_text(), "2");
    EXPECT_EQ(bar->title().get_text(), "Auction Manager");
}

// Nothing publishes when an end date comes within the hour or passes (a
// watched item, auto refresh off): the dot follows the clock by itself.
TEST_F(ExplorerBarViewTest, TheEndingSoonDotFollowsTheClockEachMinuteAndWhenShown) {
    auctionStore.isAutoRefreshEnabled() = false;
    auctionStore.restartRefreshTimer();
    auctionStore.addItem("Lamp", "https://auction.example/", AuctionSite::custom, 10.0,
                         clock.now().addingSeconds(3600 + 30), std::nullopt);
    showBar();
    EXPECT_FALSE(bar->auctionDot().get_visible());
    clock.advance(60);
    timers.elapsePeriod();
    EXPECT_TRUE(bar->auctionDot().get_visible());

    bar->set_visible(false);
    clock.advance(3600);
    bar->set_visible(true);
    settle();
    EXPECT_FALSE(bar->auctionDot().get_visible());
}

class ExplorerBarScreenshots : public ExplorerBarTest, public ::testing::WithParamInterface<OrvelColorTheme> {};

TEST_P(ExplorerBarScreenshots, EachPanel) {
    for (const char* url : {"https://one.example/", "https://two.example/", "https://two.example/"})
        dataStore().recordVisit("Page", url);
    state.searchText = "sarvik";
    showBar(GetParam());
    std::string theme(rawValue(GetParam()));
    std::transform(theme.begin(), theme.end(), theme.begin(), ::tolower);
    for (auto tab : {ExplorerBarTab::favorites, ExplorerBarTab::history, ExplorerBarTab::search}) {
        click(bar->tabButton(tab));
        if (auto* favorites = dynamic_cast<FavoritesPanel*>(bar->panel()))
            favorites->toggleFolder(dataStore().bookmarks()->front().id);
        settle();
        std::string name(rawValue(tab));
        std::transform(name.begin(), name.end(), name.begin(), ::tolower);
        saveScreenshotIfRequested(*window, "explorer-" + name + "-" + theme);
        EXPECT_TRUE(bar->panel()->get_mapped());
    }
}

INSTANTIATE_TEST_SUITE_P(Themes, ExplorerBarScreenshots,
                         ::testing::Values(OrvelColorTheme::blueberry, OrvelColorTheme::graphite));

}  // namespace
}  // namespace sarvik::testing
