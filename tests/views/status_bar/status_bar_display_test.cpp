#include "views/status_bar/status_bar.h"

#include "stores/manual_timer_scheduler.h"
#include "support/display/ui_driver.h"
#include "support/fake_clock.h"
#include "support/temporary_directory.h"

#include <gtest/gtest.h>

namespace sarvik {
namespace {

class StatusBarDisplayTest : public ::testing::Test {
protected:
    StatusBarDisplayTest() {
        window.set_child(bar);
        window.present();
        testing::drainMainLoop();
    }
    ~StatusBarDisplayTest() override { window.unset_child(); }
    static bool shows(const Gtk::Label& label, const std::string& text) {
        return label.get_visible() && label.get_text().raw() == text;
    }
    std::string loadState() const { return bar.loadState().label().get_text(); }
    testing::TemporaryDirectory folder;
    BrowserState state;
    testing::FakeClock clock;
    testing::ManualTimerScheduler timers;
    AuctionStore auctions{folder.path(), clock, timers};
    StatusBar bar{state, auctions};
    Gtk::Window window;
};

// The tab count and the theme's name are checked in the main window's tests.
TEST_F(StatusBarDisplayTest, TheZoomBadgeShowsAwayFromActualSize) {
    EXPECT_FALSE(bar.zoomBadge().get_visible());
    state.zoomIn();
    EXPECT_TRUE(shows(bar.zoomBadge(), "110%"));
    state.resetZoom();
    EXPECT_FALSE(bar.zoomBadge().get_visible());
    for (int i = 0; i < 7; ++i) state.zoomOut();
    EXPECT_TRUE(shows(bar.zoomBadge(), "30%"));
}

TEST_F(StatusBarDisplayTest, TheLoadStateFollowsTheActiveTabAndShowsItsLoadError) {
    EXPECT_EQ(loadState(), "Done");
    state.updateTab(state.activeTabId, [](BrowserTab& tab) { tab.isLoading = true; });
    EXPECT_EQ(loadState(), "Loading...");
    const Uuid loading = state.activeTabId;
    state.newTab();
    EXPECT_EQ(loadState(), "Done") << "another tab loads, not the shown one";
    state.updateTab(state.activeTabId, [](BrowserTab& tab) { tab.loadError = "Could not connect: Connection refused"; });
    EXPECT_EQ(loadState(), "Could not connect: Connection refused");
    state.selectTab(loading);
    EXPECT_EQ(loadState(), "Loading...");
    state.updateTab(loading, [](BrowserTab& tab) { tab.loadError = "Not shown while loading"; });
    EXPECT_EQ(loadState(), "Loading...");
    state.selectTab(Uuid::random());
    EXPECT_EQ(loadState(), "Done") << "no active tab";
}

TEST_F(StatusBarDisplayTest, TheAuctionBadgeFollowsTheClockAndOpensTheAuctionPanel) {
    EXPECT_FALSE(bar.auctionBadge().get_visible());
    // A watched item's end date comes within the hour with nothing published.
    auctions.addItem("Lamp", "https://auction.example/", AuctionSite::custom, 10.0, clock.now().addingSeconds(3630),
                     std::nullopt);
    EXPECT_FALSE(bar.auctionBadge().get_visible());
    clock.advance(60);
    timers.elapsePeriod();
    EXPECT_TRUE(bar.auctionBadge().get_visible());
    EXPECT_EQ(bar.auctionBadge().label().get_text(), "1 ending soon");

    // Badges shown, the bar keeps its slim height; Return on the focused badge opens the panel.
    state.zoomIn();
    int minimum = 0, natural = 0, ignored = 0;
    bar.measure(Gtk::Orientation::VERTICAL, -1, minimum, natural, ignored, ignored);
    EXPECT_LE(natural, 26);
    state.isExplorerBarVisible = false;
    ASSERT_TRUE(testing::runMainLoopUntil([&] { return bar.auctionBadge().get_mapped(); }));
    testing::sendKeysTo(bar.auctionBadge());
    bar.auctionBadge().grab_focus();
    testing::pressKeys("Return");
    EXPECT_TRUE(testing::runMainLoopUntil([&] { return state.isExplorerBarVisible.get(); }));
    EXPECT_EQ(state.selectedExplorerTab.get(), ExplorerBarTab::auction);
}

}  // namespace
}  // namespace sarvik
