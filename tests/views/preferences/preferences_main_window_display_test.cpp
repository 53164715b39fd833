#include "views/window/main_window.h"
#include "views/preferences/preferences_view.h"

#include "support/display/gtk_test_environment.h"
#include "support/loopback_http_server.h"
#include "support/temporary_directory.h"
#include "support/display/widget_search.h"

#include <gtkmm/entry.h>
#include <gtest/gtest.h>

namespace sarvik {
namespace {

using testing::runMainLoopUntil;

// Preferences edit the same shared state the main window runs on.
class PreferencesInMainWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        server.serve("/home", "<!doctype html><title>Home</title>home");
        server.serve("/chosen", "<!doctype html><title>Chosen</title>chosen");
        state.homePage = server.url("/home");
        window = std::make_unique<MainWindow>(state, auctions, folder.path());
        window->present();
        ASSERT_TRUE(runMainLoopUntil([&] { return state.activeTab()->title == "Home"; }));
        preferences.present();
    }
    void TearDown() override {
        window.reset();
        testing::drainMainLoop();
    }

    testing::LoopbackHttpServer server;
    testing::TemporaryDirectory folder;
    BrowserState state;
    AuctionStore auctions{folder.path()};
    std::unique_ptr<MainWindow> window;
    Gtk::Window preferences;
};

TEST_F(PreferencesInMainWindowTest, AHomePageSetInPreferencesIsTheOneTheHomeButtonLoads) {
    PreferencesView view(state, auctions);
    preferences.set_child(view);
    auto fields = testing::findAll<Gtk::Entry>(view);
    ASSERT_FALSE(fields.empty());
    fields.front()->set_text(server.url("/chosen"));
    ASSERT_TRUE(testing::click(testing::findButton(view, "Set")));
    EXPECT_EQ(state.homePage.get(), server.url("/chosen"));

    auto* home = dynamic_cast<Gtk::Button*>(testing::findDescendant(window->contentView().titleBar(), "home-button"));
    ASSERT_NE(home, nullptr);
    ASSERT_TRUE(testing::click(home));
    EXPECT_TRUE(runMainLoopUntil([&] { return state.activeTab()->title == "Chosen"; }));
    EXPECT_EQ(server.requestCount("/chosen"), 1);
    preferences.unset_child();
}

TEST_F(PreferencesInMainWindowTest, AnEmptyHomePageLeavesANewTabBlank) {
    PreferencesView view(state, auctions);
    preferences.set_child(view);
    testing::findAll<Gtk::Entry>(view).front()->set_text("");
    ASSERT_TRUE(testing::click(testing::findButton(view, "Set")));
    EXPECT_EQ(state.homePage.get(), "");
    state.newTab();
    const Uuid blank = state.activeTabId;
    ASSERT_TRUE(runMainLoopUntil([&] { return window->contentView().webArea().host() != nullptr &&
                                              window->contentView().webArea().host()->tabId() == blank; }));
    testing::drainMainLoop();
    EXPECT_FALSE(state.findTab(blank)->url) << "nothing was loaded";
    EXPECT_EQ(state.findTab(blank)->title, "New Tab");
    EXPECT_EQ(server.requestCount("/home"), 1) << "only the first tab's load";
    preferences.unset_child();
}

TEST_F(PreferencesInMainWindowTest, TheExplorerBarToggleHidesTheBarAtOnce) {
    PreferencesView view(state, auctions);
    preferences.set_child(view);
    ASSERT_NE(window->contentView().explorerBar(), nullptr);
    auto* toggle = testing::findCheckButton(view, "Show Explorer Bar on launch");
    ASSERT_NE(toggle, nullptr);
    toggle->set_active(false);
    EXPECT_FALSE(state.isExplorerBarVisible.get());
    EXPECT_TRUE(runMainLoopUntil([&] { return window->contentView().explorerBar() == nullptr; }));
    toggle->set_active(true);
    EXPECT_NE(window->contentView().explorerBar(), nullptr);
    preferences.unset_child();
}

}  // namespace
}  // namespace sarvik
