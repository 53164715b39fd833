#include "app/settings_keeper.h"

#include "support/display/browser_window_harness.h"
#include "support/display/ui_driver.h"
#include "support/file_helpers.h"
#include "support/faulty_files.h"
#include "themes/window_css.h"
#include "views/preferences/preferences_appearance_page.h"
#include "views/preferences/preferences_general_page.h"
#include "views/preferences/preferences_view.h"
#include "views/preferences/preferences_window.h"

#include <gtest/gtest.h>
#include <webkit/webkit.h>

#include <filesystem>
#include <memory>

namespace sarvik {
namespace {

namespace fs = std::filesystem;
using namespace testing;

PreferencesView& openPreferences(BrowserRun& run, std::unique_ptr<PreferencesWindow>& preferences) {
    preferences = std::make_unique<PreferencesWindow>(run.state, run.auctions);
    preferences->open();
    EXPECT_TRUE(runMainLoopUntil([&] { return preferences->view()->get_mapped(); }));
    return *preferences->view();
}

Gtk::Label* zoomBadge(BrowserRun& run) {
    auto badges = findAll<Gtk::Label>(*run.window, [](Gtk::Label& l) { return l.has_css_class("orvel-zoom-badge"); });
    return badges.size() == 1 ? badges.front() : nullptr;
}

TEST(SettingsKeeperDisplayTest, SettingsChosenInPreferencesAreShownAndUsedAfterARestart) {
    LoopbackHttpServer server;
    server.serve("/home", BrowserWindowHarness::page("Home"));
    server.serve("/chosen", BrowserWindowHarness::page("Chosen"));
    TemporaryDirectory data, config;
    const fs::path file = config / "SarvikBrowser" / "settings.ini";
    const std::string chosen = server.url("/chosen");
    FaultyFiles files;  // never armed: it counts the saves
    {
        BrowserRun first(data.path(), server.url("/home"), {.settingsFile = file, .files = &files});
        std::unique_ptr<PreferencesWindow> preferences;
        ASSERT_TRUE(first.activeLoaded("Home"));
        EXPECT_FALSE(fs::exists(config / "SarvikBrowser")) << "a first start writes nothing";
        auto& view = openPreferences(first, preferences);
        auto& field = *findAll<Gtk::Entry>(view.generalPage()).front();
        field.set_text(chosen);
        sendKeysTo(field);
        field.grab_focus();
        pressKeys("Return");
        ASSERT_TRUE(runMainLoopUntil([&] { return first.state.homePage.get() == chosen; })) << "Return sets it as Set does";
        findCheckButton(view.generalPage(), "DuckDuckGo")->set_active(true);
        findCheckButton(view.generalPage(), "Open the tabs from last time")->set_active(true);
        view.selectTab(PreferencesTab::appearance);
        auto& page = view.appearancePage();
        auto swatch = findAll<Gtk::Button>(page, [](Gtk::Button& b) { return b.get_tooltip_text() == "Grape"; });
        ASSERT_EQ(swatch.size(), 1u);
        ASSERT_TRUE(click(swatch.front()));
        auto zoom = findAll<Gtk::Button>(page, [](Gtk::Button& b) { return b.get_tooltip_text() == "Zoom In"; });
        ASSERT_EQ(zoom.size(), 1u);
        drainMainLoop();
        const int before = files.creates();
        EXPECT_NE(readFile(file).find("ColorTheme=Grape"), std::string::npos) << readFile(file);
        // Three changes in one turn of the main loop.
        emitClicked(*zoom.front());
        emitClicked(*zoom.front());
        findCheckButton(page, "Show Explorer Bar on launch")->set_active(false);
        EXPECT_EQ(files.creates(), before) << "saved once the turn is over";
        drainMainLoop();
        EXPECT_EQ(files.creates(), before + 1);
        EXPECT_TRUE(runMainLoopUntil([&] { return !first.content().explorerBar(); })) << "applied at once";
    }
    const int saved = files.creates();
    BrowserRun second(data.path(), server.url("/home"), {.settingsFile = file, .files = &files});
    std::unique_ptr<PreferencesWindow> preferences;
    EXPECT_EQ(settingsOf(second.state),
              (BrowserSettings{chosen, "https://duckduckgo.com/?q=", OrvelColorTheme::grape, 1.2, false, StartPages::lastTabs}));
    ASSERT_TRUE(second.activeLoaded("Chosen")) << "the first tab opens the saved home page";
    EXPECT_EQ(second.content().explorerBar(), nullptr);
    ASSERT_NE(zoomBadge(second), nullptr);
    EXPECT_TRUE(zoomBadge(second)->get_visible());
    EXPECT_EQ(zoomBadge(second)->get_text(), "120%");
    ASSERT_NE(second.view(), nullptr);
    EXPECT_DOUBLE_EQ(webkit_web_view_get_zoom_level(second.view()), 1.2);
    EXPECT_TRUE(second.stylesheet.installedCss().starts_with(windowCss(OrvelColorTheme::grape)));

    second.state.newTab();
    ASSERT_TRUE(second.activeLoaded("Chosen")) << "a new tab opens it too";
    auto* home = dynamic_cast<Gtk::Button*>(findDescendant(second.content().titleBar(), "home-button"));
    ASSERT_TRUE(click(home));
    EXPECT_TRUE(runMainLoopUntil([&] { return server.requestCount("/chosen") == 3; })) << "and so does Home";
    EXPECT_EQ(files.creates(), saved) << "a restart and browsing write no settings";

    auto& view = openPreferences(second, preferences);
    EXPECT_EQ(view.generalPage().homePageText(), chosen);
    EXPECT_EQ(view.generalPage().selectedSearchEngine(), SearchEngine::duckduckgo);
    EXPECT_TRUE(view.generalPage().startWithLastTabsChoice().get_active());
    EXPECT_EQ(view.appearancePage().zoomText(), "120%");
    EXPECT_FALSE(findCheckButton(view.appearancePage(), "Show Explorer Bar on launch")->get_active());
    auto current = findAll<Gtk::Button>(view.appearancePage(),
                                        [](Gtk::Button& b) { return b.has_css_class("current"); });
    ASSERT_EQ(current.size(), 1u);
    EXPECT_EQ(current.front()->get_tooltip_text(), "Grape");
}

}  // namespace
}  // namespace sarvik
