#include "views/preferences/preferences_fixture.h"

#include "support/display/browser_window_harness.h"
#include "views/preferences/preferences_window.h"

#include <cstdlib>

namespace sarvik {
namespace {

using testing::runMainLoopUntil;

class PreferencesWindowTest : public testing::PreferencesFixture {};

TEST_F(PreferencesWindowTest, TheWindowEditsTheSharedStateAndReopensFresh) {
    PreferencesWindow window(m_state, m_auctions);
    EXPECT_EQ(window.get_title(), "Preferences");
    int width = 0, height = 0;
    window.get_default_size(width, height);
    EXPECT_EQ(width, 560);
    EXPECT_EQ(height, 420);
    EXPECT_EQ(window.view(), nullptr) << "nothing is built before the window opens";
    window.open();
    ASSERT_NE(window.view(), nullptr);
    ASSERT_TRUE(runMainLoopUntil([&] { return window.view()->get_mapped() && window.view()->get_width() > 0; }));
    EXPECT_TRUE(testing::saveWidgetPng(window, m_dataDir / "window.png"));
    testing::saveScreenshotIfRequested(window, "preferences-window");

    homeField(*window.view()).set_text("https://home.example/");
    press(window.view()->generalPage(), "Set");
    EXPECT_EQ(m_state.homePage.get(), "https://home.example/");
    homeField(*window.view()).set_text("typed but not set");
    window.view()->selectTab(PreferencesTab::auction);
    auto* first = window.view();
    window.open();
    EXPECT_EQ(window.view(), first) << "opening a shown window only raises it";
    window.close();
    ASSERT_TRUE(runMainLoopUntil([&] { return !window.get_visible(); }));
    EXPECT_EQ(window.view(), nullptr);
    window.open();
    ASSERT_NE(window.view(), nullptr);
    EXPECT_EQ(window.view()->selectedTab(), PreferencesTab::general);
    EXPECT_EQ(homeField(*window.view()).get_text(), "https://home.example/");
}

TEST_F(PreferencesWindowTest, TheSheetIsModalOnceOverItsParentClosesByDoneOrEscapeAndGoesWithIt) {
    auto parent = std::make_unique<Gtk::Window>();
    parent->set_default_size(800, 600);
    parent->present();
    auto open = [&]() -> PreferencesSheet& {
        PreferencesSheet::present(*parent, m_state, m_auctions);
        auto* sheet = PreferencesSheet::shownOver(*parent);
        EXPECT_NE(sheet, nullptr);
        EXPECT_TRUE(runMainLoopUntil([&] { return sheet->view().get_mapped() && sheet->view().get_width() > 0; }));
        return *sheet;
    };
    auto goes = [&] { return runMainLoopUntil([&] { return PreferencesSheet::shownOver(*parent) == nullptr; }); };

    auto& sheet = open();
    EXPECT_TRUE(sheet.get_modal());
    EXPECT_EQ(sheet.get_transient_for(), parent.get());
    PreferencesSheet::present(*parent, m_state, m_auctions);
    EXPECT_EQ(PreferencesSheet::shownOver(*parent), &sheet);
    EXPECT_TRUE(testing::saveWidgetPng(sheet, m_dataDir / "sheet.png"));
    testing::saveScreenshotIfRequested(sheet, "preferences-sheet");
    sheet.view().selectTab(PreferencesTab::appearance);
    homeField(sheet.view()).set_text("typed but not set");
    press(sheet, "Done");
    ASSERT_TRUE(goes());

    auto& second = open();
    EXPECT_EQ(second.view().selectedTab(), PreferencesTab::general);
    EXPECT_EQ(std::string(homeField(second.view()).get_text()), kDefaultHomePage);
    // A real key press through the X server, as the user gives it.
    ASSERT_EQ(std::system("xdotool search --name '^Preferences$' windowfocus --sync key Escape >/dev/null 2>&1"), 0);
    ASSERT_TRUE(goes());

    bool destroyed = false;
    open().signal_destroy().connect([&] { destroyed = true; });
    parent.reset();
    EXPECT_TRUE(runMainLoopUntil([&] { return destroyed; }));
    // Nothing of the sheet is left to observe the shared state (the sanitizer build checks).
    m_state.colorTheme = OrvelColorTheme::grape;
    m_state.pageZoom = 1.5;
    m_auctions.addItem("Lamp", "https://auctions.example/9", AuctionSite::custom, 1, m_clock.now(), std::nullopt);
}

// Preferences edit the same shared state the main window runs on.
TEST(PreferencesInMainWindowTest, TheHomePageAndExplorerBarChoicesApplyToTheWindowAtOnce) {
    testing::BrowserWindowHarness browser;
    browser.serve("/chosen", "Chosen");
    ASSERT_TRUE(browser.activeLoaded("Home"));
    Gtk::Window preferences;
    auto* view = Gtk::make_managed<PreferencesView>(browser.state, browser.auctions);
    preferences.set_child(*view);
    preferences.present();

    auto* toggle = testing::findCheckButton(*view, "Show Explorer Bar on launch");
    ASSERT_NE(toggle, nullptr);
    ASSERT_NE(browser.content().explorerBar(), nullptr);
    toggle->set_active(false);
    EXPECT_TRUE(runMainLoopUntil([&] { return browser.content().explorerBar() == nullptr; }));
    toggle->set_active(true);
    EXPECT_NE(browser.content().explorerBar(), nullptr);

    auto& field = *testing::findAll<Gtk::Entry>(*view).front();
    field.set_text(browser.server.url("/chosen"));
    ASSERT_TRUE(testing::click(testing::findButton(*view, "Set")));
    auto* home = dynamic_cast<Gtk::Button*>(testing::findDescendant(browser.content().titleBar(), "home-button"));
    ASSERT_TRUE(testing::click(home));
    EXPECT_TRUE(browser.activeLoaded("Chosen"));
    EXPECT_EQ(browser.server.requestCount("/chosen"), 1);

    field.set_text("");
    ASSERT_TRUE(testing::click(testing::findButton(*view, "Set")));
    EXPECT_EQ(browser.state.homePage.get(), "");
    browser.state.newTab();
    const Uuid blank = browser.state.activeTabId;
    ASSERT_TRUE(runMainLoopUntil([&] { return browser.host() && browser.host()->tabId() == blank; }));
    testing::drainMainLoop();
    EXPECT_FALSE(browser.state.findTab(blank)->url) << "an empty home page leaves a new tab blank";
    EXPECT_EQ(browser.state.findTab(blank)->title, "New Tab");
    EXPECT_EQ(browser.server.requestCount("/home"), 1) << "only the first tab's load";
}

}  // namespace
}  // namespace sarvik
