#include "app/settings_keeper.h"

#include "support/display/browser_window_harness.h"
#include "support/display/ui_driver.h"
#include "support/display/widget_search.h"
#include "support/file_helpers.h"
#include "support/loopback_http_server.h"
#include "support/temporary_directory.h"
#include "themes/window_css.h"
#include "views/preferences/preferences_appearance_page.h"
#include "views/preferences/preferences_general_page.h"
#include "views/preferences/preferences_view.h"
#include "views/preferences/preferences_window.h"
#include "web/web_view_host_test_access.h"

#include <gtest/gtest.h>
#include <webkit/webkit.h>

#include <filesystem>
#include <memory>

namespace sarvik {
namespace {

namespace fs = std::filesystem;
using namespace testing;

// One run of the browser as the application starts it: the state, with the settings put in before the
// window; the data and settings folders outlive it, so a second run is a restart.
struct BrowserRun {
    BrowserRun(const fs::path& data, const fs::path& settings, const std::string& firstHome, FileLayer& files)
        : auctions(data) {
        state.homePage = firstHome;  // a first start's home page, served here
        keeper = std::make_unique<SettingsKeeper>(state, settings, files);
        window = std::make_unique<MainWindow>(state, auctions, data, nullptr);
        testApplication()->add_window(*window);
        window->present();
    }
    ~BrowserRun() {
        preferences.reset();
        testApplication()->remove_window(*window);
        window.reset();
        keeper.reset();
        drainMainLoop();
    }
    PreferencesView& openPreferences() {
        preferences = std::make_unique<PreferencesWindow>(state, auctions);
        preferences->open();
        EXPECT_TRUE(runMainLoopUntil([&] { return preferences->view()->get_mapped(); }));
        return *preferences->view();
    }
    bool loaded(const std::string& title) {
        return runMainLoopUntil([&] {
            const auto tab = state.activeTab();
            return tab && tab->title == title && !tab->isLoading;
        });
    }
    Gtk::Label* zoomBadge() {
        auto badges = findAll<Gtk::Label>(*window, [](Gtk::Label& l) { return l.has_css_class("orvel-zoom-badge"); });
        return badges.size() == 1 ? badges.front() : nullptr;
    }

    BrowserState state;
    std::unique_ptr<SettingsKeeper> keeper;
    ThemeStylesheet stylesheet{state, Gdk::Display::get_default()};
    AuctionStore auctions;
    std::unique_ptr<MainWindow> window;
    std::unique_ptr<PreferencesWindow> preferences;
};

// The system's files, counting the saves begun.
struct CountingFiles : FileLayer {
    int create(const char* path) override {
        ++saves;
        return FileLayer::create(path);
    }
    int saves = 0;
};

TEST(SettingsKeeperDisplayTest, SettingsChosenInPreferencesAreShownAndUsedAfterARestart) {
    LoopbackHttpServer server;
    server.serve("/home", BrowserWindowHarness::page("Home"));
    server.serve("/chosen", BrowserWindowHarness::page("Chosen"));
    TemporaryDirectory data, config;
    const fs::path file = config / "SarvikBrowser" / "settings.ini";
    const std::string chosen = server.url("/chosen");
    CountingFiles files;
    {
        BrowserRun first(data.path(), file, server.url("/home"), files);
        ASSERT_TRUE(first.loaded("Home"));
        EXPECT_FALSE(fs::exists(config / "SarvikBrowser")) << "a first start writes nothing";
        auto& view = first.openPreferences();
        findAll<Gtk::Entry>(view.generalPage()).front()->set_text(chosen);
        ASSERT_TRUE(click(findButton(view.generalPage(), "Set")));
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
        const int before = files.saves;
        EXPECT_NE(readFile(file).find("ColorTheme=Grape"), std::string::npos) << readFile(file);
        // Three changes in one turn of the main loop.
        emitClicked(*zoom.front());
        emitClicked(*zoom.front());
        findCheckButton(page, "Show Explorer Bar on launch")->set_active(false);
        EXPECT_EQ(files.saves, before) << "saved once the turn is over";
        drainMainLoop();
        EXPECT_EQ(files.saves, before + 1);
    }
    const int saved = files.saves;
    BrowserRun second(data.path(), file, server.url("/home"), files);
    EXPECT_EQ(settingsOf(second.state),
              (BrowserSettings{chosen, "https://duckduckgo.com/?q=", OrvelColorTheme::grape, 1.2, false, StartPages::lastTabs}));
    ASSERT_TRUE(second.loaded("Chosen")) << "the first tab opens the saved home page";
    EXPECT_EQ(second.window->contentView().explorerBar(), nullptr);
    ASSERT_NE(second.zoomBadge(), nullptr);
    EXPECT_TRUE(second.zoomBadge()->get_visible());
    EXPECT_EQ(second.zoomBadge()->get_text(), "120%");
    auto* host = second.window->contentView().webArea().host();
    ASSERT_NE(host, nullptr);
    EXPECT_DOUBLE_EQ(webkit_web_view_get_zoom_level(WebViewHostTestAccess::webView(*host)), 1.2);
    EXPECT_TRUE(second.stylesheet.installedCss().starts_with(windowCss(OrvelColorTheme::grape)));

    second.state.newTab();
    ASSERT_TRUE(second.loaded("Chosen")) << "a new tab opens it too";
    auto* home = dynamic_cast<Gtk::Button*>(findDescendant(second.window->contentView().titleBar(), "home-button"));
    ASSERT_TRUE(click(home));
    EXPECT_TRUE(runMainLoopUntil([&] { return server.requestCount("/chosen") == 3; })) << "and so does Home";
    EXPECT_EQ(files.saves, saved) << "a restart and browsing write no settings";

    auto& view = second.openPreferences();
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
