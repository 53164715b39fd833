#include "views/status_bar/status_bar.h"

#include "stores/manual_timer_scheduler.h"
#include "support/display/gtk_test_environment.h"
#include "support/fake_clock.h"
#include "support/temporary_directory.h"

#include <gtkmm/window.h>
#include <gtest/gtest.h>

namespace sarvik {
namespace {

class StatusBarDisplayTest : public ::testing::Test {
protected:
    void SetUp() override {
        window.set_child(bar);
        window.present();
        testing::drainMainLoop();
    }
    void TearDown() override { window.unset_child(); }

    static bool shows(const Gtk::Label& label, const std::string& text) {
        return label.get_visible() && std::string(label.get_text()) == text;
    }

    testing::TemporaryDirectory folder;
    BrowserState state;
    testing::FakeClock clock;
    testing::ManualTimerScheduler timers;
    AuctionStore auctions{folder.path(), clock, timers};
    StatusBar bar{state, auctions};
    Gtk::Window window;
};

TEST_F(StatusBarDisplayTest, TheTabCountShowsFromTwoTabs) {
    EXPECT_FALSE(bar.tabCount().get_visible());
    state.newTab();
    EXPECT_TRUE(shows(bar.tabCount(), "2 tabs"));
    state.closeTab(state.activeTabId);
    EXPECT_FALSE(bar.tabCount().get_visible());
}

TEST_F(StatusBarDisplayTest, TheZoomBadgeShowsTruncatedPercentAwayFromActualSize) {
    EXPECT_FALSE(bar.zoomBadge().get_visible());
    state.zoomIn();
    EXPECT_TRUE(shows(bar.zoomBadge(), "110%"));
    state.resetZoom();
    EXPECT_FALSE(bar.zoomBadge().get_visible());
    for (int i = 0; i < 7; ++i) state.zoomOut();
    EXPECT_TRUE(shows(bar.zoomBadge(), "30%"));
}

TEST_F(StatusBarDisplayTest, TheLoadStateFollowsTheActiveTab) {
    EXPECT_EQ(bar.loadState().label().get_text(), "Done");
    state.updateTab(state.activeTabId, [](BrowserTab& tab) { tab.isLoading = true; });
    EXPECT_EQ(bar.loadState().label().get_text(), "Loading...");
    const Uuid loading = state.activeTabId;
    state.newTab();
    EXPECT_EQ(bar.loadState().label().get_text(), "Done") << "another tab loads, not the shown one";
    state.selectTab(loading);
    EXPECT_EQ(bar.loadState().label().get_text(), "Loading...");
    state.selectTab(Uuid::random());
    EXPECT_EQ(bar.loadState().label().get_text(), "Done") << "no active tab";
}

TEST_F(StatusBarDisplayTest, TheThemeSwatchNamesTheTheme) {
    EXPECT_EQ(bar.themeSwatch().get_tooltip_text(), "Theme: Blueberry");
    EXPECT_TRUE(bar.themeSwatch().has_css_class("orvel-theme-swatch"));
    state.colorTheme = OrvelColorTheme::graphite;
    EXPECT_EQ(bar.themeSwatch().get_tooltip_text(), "Theme: Graphite");
}

TEST_F(StatusBarDisplayTest, TheAuctionBadgeFollowsTheClockAndOpensTheAuctionPanel) {
    EXPECT_FALSE(bar.auctionBadge().get_visible());
    state.isExplorerBarVisible = false;
    g_signal_emit_by_name(bar.auctionBadge().gobj(), "clicked");
    EXPECT_TRUE(state.isExplorerBarVisible.get());
    EXPECT_EQ(state.selectedExplorerTab.get(), ExplorerBarTab::auction);

    // A watched item's end date comes within the hour with nothing published.
    auctions.addItem("Lamp", "https://auction.example/", AuctionSite::custom, 10.0, clock.now().addingSeconds(3630),
                     std::nullopt);
    EXPECT_FALSE(bar.auctionBadge().get_visible());
    clock.advance(60);
    timers.elapsePeriod();
    EXPECT_TRUE(bar.auctionBadge().get_visible());
    EXPECT_EQ(bar.auctionBadge().label().get_text(), "1 ending soon");
}

}  // namespace
}  // namespace sarvik
