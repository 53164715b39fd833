#include "views/preferences/preferences_fixture.h"

#include "support/display/loopback_web_view.h"
#include "support/file_helpers.h"
#include "support/loopback_http_server.h"
#include "views/preferences/preferences_appearance_page.h"
#include "views/preferences/preferences_auction_page.h"
#include "views/preferences/preferences_privacy_page.h"

#include <gtkmm/dropdown.h>

#include <chrono>
#include <filesystem>
#include <map>

namespace sarvik {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using testing::findAll;
using testing::findButton;
using testing::findCheckButton;
using testing::isShown;

class PreferencesViewTest : public testing::PreferencesFixture {
protected:
    Gtk::CheckButton& engine(const char* label) { return *findCheckButton(m_view->generalPage(), label); }
    Gtk::DropDown& intervalPicker() { return *findAll<Gtk::DropDown>(m_view->auctionPage()).front(); }
    std::string home() { return homeField(*m_view).get_text(); }
};

TEST_F(PreferencesViewTest, TheSidebarSwitchesPagesAndEachOpeningStartsAfresh) {
    m_auctions.addItem("Camera", "https://auctions.example/1", AuctionSite::ebay, 120, m_clock.now().addingSeconds(600),
                       std::nullopt);
    auto& view = openView();
    EXPECT_EQ(view.selectedTab(), PreferencesTab::general);
    const char* labels[] = {"General", "Appearance", "Privacy", "Auction"};
    const char* titles[] = {"General", "Appearance", "Privacy & Security", "Auction Manager"};
    for (int i = 0; i < 4; ++i) {
        press(view, labels[i]);
        EXPECT_EQ(view.selectedTab(), kAllPreferencesTabs[i]);
        // Only the chosen page is on screen, and its header names it.
        auto shownTitles = findAll<Gtk::Label>(view, [](Gtk::Label& label) {
            return label.has_css_class("preferences-page-title") && label.get_mapped();
        });
        ASSERT_EQ(shownTitles.size(), 1u);
        EXPECT_EQ(shownTitles.front()->get_text(), titles[i]);
        for (int j = 0; j < 4; ++j) EXPECT_EQ(findButton(view, labels[j])->has_css_class("selected"), i == j) << labels[j];
        EXPECT_TRUE(testing::saveWidgetPng(*m_window, m_dataDir / "page.png")) << labels[i];
        testing::saveScreenshotIfRequested(*m_window, "preferences-" + std::string(cssName(kAllPreferencesTabs[i])));
    }
    homeField(view).set_text("not set");
    auto& second = openView();
    EXPECT_EQ(second.selectedTab(), PreferencesTab::general);
    EXPECT_EQ(home(), kDefaultHomePage);
}

TEST_F(PreferencesViewTest, GeneralSetsTheHomePageWhenPressedAndEachEngineItsExactPrefix) {
    m_state.searchEngine = std::string("https://search.example/?q=");
    openView();
    EXPECT_TRUE(engine("Google").get_active()) << "an unknown prefix shows Google";
    EXPECT_EQ(m_state.searchEngine.get(), "https://search.example/?q=") << "and stays until a choice";
    EXPECT_EQ(homeField(*m_view).get_placeholder_text(), "https://www.google.com");
    for (const auto& [label, prefix] : {std::pair{"Yahoo! Japan", "https://search.yahoo.co.jp/search?p="},
                                        {"Bing", "https://www.bing.com/search?q="},
                                        {"DuckDuckGo", "https://duckduckgo.com/?q="},
                                        {"Google", "https://www.google.com/search?q="}}) {
        engine(label).set_active(true);
        EXPECT_EQ(m_state.searchEngine.get(), prefix);
    }
    m_state.searchEngine = std::string();
    engine("Bing").set_active(true);
    m_state.navigate("glossy toolbar");
    const auto* load = std::get_if<NavigationCommand::Load>(&m_state.navigationCommand.get()->action);
    ASSERT_NE(load, nullptr);
    EXPECT_EQ(load->url.absoluteString(), "https://www.bing.com/search?q=glossy%20toolbar");

    homeField(*m_view).set_text("  start.example/page ");
    EXPECT_EQ(m_state.homePage.get(), kDefaultHomePage) << "typing alone must not write";
    press(m_view->generalPage(), "Set");
    EXPECT_EQ(m_state.homePage.get(), "  start.example/page ");
    homeField(*m_view).set_text("edited");
    // Another tab has a page, but the active one does not.
    m_state.newTab(Url::parse("https://other.example/"));
    m_state.selectTab(m_state.tabs->front().id);
    press(m_view->generalPage(), "Use Current");
    EXPECT_EQ(home(), "edited");
    EXPECT_EQ(m_state.homePage.get(), "  start.example/page ");
    m_state.newTab(Url::parse("https://news.example/today?id=7"));
    press(m_view->generalPage(), "Use Current");
    EXPECT_EQ(home(), "https://news.example/today?id=7");
    EXPECT_EQ(m_state.homePage.get(), "https://news.example/today?id=7");

    // A fresh view shows the state's choices.
    openView();
    EXPECT_EQ(home(), "https://news.example/today?id=7");
    EXPECT_TRUE(engine("Bing").get_active());
    EXPECT_FALSE(engine("Google").get_active());
    EXPECT_EQ(m_view->generalPage().selectedSearchEngine(), SearchEngine::bing);
}

TEST_F(PreferencesViewTest, AppearanceZoomsPicksThemesAndTogglesTheExplorerBarBothWays) {
    openView();
    showPage(PreferencesTab::appearance);
    auto& page = m_view->appearancePage();
    EXPECT_EQ(page.zoomText(), "100%");
    m_state.pageZoom = 1.25;
    EXPECT_EQ(page.zoomText(), "125%");
    m_state.pageZoom = 0.999;
    EXPECT_EQ(page.zoomText(), "99%");
    m_state.pageZoom = 1.0;
    auto zoom = findAll<Gtk::Button>(page, [](Gtk::Button& b) { return b.has_css_class("orvel-button"); });
    ASSERT_EQ(zoom.size(), 2u);  // out, in
    ASSERT_TRUE(testing::click(zoom[1]));
    EXPECT_EQ(page.zoomText(), "110%");
    ASSERT_TRUE(m_state.navigationCommand->has_value());
    EXPECT_EQ(*m_state.navigationCommand.get(), NavigationCommand::zoom(m_state.pageZoom.get()));
    ASSERT_TRUE(testing::click(zoom[0]));
    ASSERT_TRUE(testing::click(zoom[0]));
    EXPECT_EQ(page.zoomText(), "90%");
    press(page, "Reset");
    EXPECT_EQ(m_state.pageZoom.get(), 1.0);
    EXPECT_EQ(page.zoomText(), "100%");

    auto swatches = findAll<Gtk::Button>(page, [](Gtk::Button& b) { return b.has_css_class("preferences-swatch"); });
    ASSERT_EQ(swatches.size(), kAllColorThemes.size());
    for (std::size_t i = 0; i < swatches.size(); ++i) {
        EXPECT_EQ(testing::textOf(*swatches[i]), rawValue(kAllColorThemes[i]));
        EXPECT_EQ(swatches[i]->has_css_class("current"), kAllColorThemes[i] == OrvelColorTheme::blueberry);
    }
    ASSERT_TRUE(testing::click(swatches[3]));
    EXPECT_EQ(m_state.colorTheme.get(), OrvelColorTheme::lime);
    EXPECT_TRUE(swatches[3]->has_css_class("current"));
    EXPECT_FALSE(swatches[0]->has_css_class("current"));
    m_state.colorTheme = OrvelColorTheme::powerbook;  // e.g. from the Theme menu
    EXPECT_TRUE(swatches[6]->has_css_class("current"));
    EXPECT_FALSE(swatches[3]->has_css_class("current"));

    auto* toggle = findCheckButton(page, "Show Explorer Bar on launch");
    ASSERT_NE(toggle, nullptr);
    EXPECT_TRUE(toggle->get_active());
    int writes = 0;
    ScopedConnection counting = m_state.isExplorerBarVisible.changed().connect([&] { ++writes; });
    toggle->set_active(false);
    EXPECT_FALSE(m_state.isExplorerBarVisible.get());
    EXPECT_EQ(writes, 1);
    toggle->set_active(true);
    EXPECT_TRUE(m_state.isExplorerBarVisible.get());
    m_state.isExplorerBarVisible = false;  // e.g. Ctrl+E in the main window
    EXPECT_FALSE(toggle->get_active());
    EXPECT_EQ(writes, 3) << "showing the state must not write it back";
}

TEST_F(PreferencesViewTest, AuctionSettingsRestartTheTimerAndStatisticsFollowTheStore) {
    const Date now = m_clock.now();
    m_auctions.addItem("Lens", "https://auctions.example/1", AuctionSite::ebay, 50, now.addingSeconds(1800), {});
    m_auctions.addItem("Radio", "https://auctions.example/2", AuctionSite::mercari, 20, now.addingSeconds(86400), {});
    m_auctions.addItem("Clock", "https://auctions.example/3", AuctionSite::custom, 5, now.addingSeconds(7200), {});
    m_auctions.setStatus(m_auctions.items()->back().id, AuctionStatus::won);
    m_auctions.refreshIntervalMinutes() = 7;
    m_auctions.restartRefreshTimer();
    openView();
    showPage(PreferencesTab::auction);
    auto& page = m_view->auctionPage();
    auto values = findAll<Gtk::Label>(page, [](Gtk::Label& l) { return l.has_css_class("preferences-stat-value"); });
    ASSERT_EQ(values.size(), 3u);
    EXPECT_EQ(testing::textOf(*values[0]->get_parent()), "Tracked auctions: 3");
    EXPECT_EQ(testing::textOf(*values[1]->get_parent()), "Active: 2");
    EXPECT_EQ(testing::textOf(*values[2]->get_parent()), "Ending soon: 1");
    m_auctions.removeItem(m_auctions.items()->front().id);
    EXPECT_EQ(values[0]->get_text() + values[1]->get_text() + values[2]->get_text(), "210");

    // An interval that is no choice selects nothing and is kept.
    EXPECT_EQ(intervalPicker().get_selected(), GTK_INVALID_LIST_POSITION);
    EXPECT_EQ(page.refreshInterval(), 7);
    EXPECT_EQ(m_timers.runningPeriod(), std::chrono::seconds(7min));
    const auto started = m_timers.startedCount();
    const auto saved = testing::readFile(m_auctions.metadataFile());
    intervalPicker().set_selected(3);  // "15 min"
    EXPECT_EQ(m_auctions.refreshIntervalMinutes().get(), 15);
    EXPECT_EQ(page.refreshInterval(), 15);
    EXPECT_EQ(m_timers.startedCount(), started + 1);
    EXPECT_EQ(m_timers.runningCount(), 1);
    EXPECT_EQ(m_timers.runningPeriod(), std::chrono::seconds(15min));
    EXPECT_EQ(testing::readFile(m_auctions.metadataFile()), saved) << "settings alone are not saved";
    intervalPicker().set_selected(0);
    EXPECT_EQ(m_timers.runningPeriod(), std::chrono::seconds(1min));

    auto* toggle = findCheckButton(page, "Enable auto refresh");
    ASSERT_NE(toggle, nullptr);
    EXPECT_TRUE(toggle->get_active());
    EXPECT_TRUE(isShown(intervalPicker()));
    toggle->set_active(false);
    EXPECT_FALSE(m_auctions.isAutoRefreshEnabled().get());
    EXPECT_EQ(m_timers.runningCount(), 0);
    EXPECT_FALSE(isShown(intervalPicker()));
    EXPECT_FALSE(isShown(*testing::findLabel(page, "Refresh every:")));
    toggle->set_active(true);
    EXPECT_EQ(m_timers.runningCount(), 1);
    EXPECT_EQ(m_timers.runningPeriod(), std::chrono::seconds(1min));
    EXPECT_TRUE(isShown(intervalPicker()));
}

// Every file under the data folder with its content.
std::map<fs::path, std::string> filesUnder(const fs::path& folder) {
    std::map<fs::path, std::string> files;
    for (const auto& entry : fs::recursive_directory_iterator(folder))
        if (entry.is_regular_file()) files[entry.path()] = testing::readFile(entry.path());
    return files;
}

TEST_F(PreferencesViewTest, PrivacyClearsTheEnginesCookiesAndCacheButNotTheBrowsersFiles) {
    testing::LoopbackHttpServer server;
    server.respond("/login", {200, "text/html", {{"Set-Cookie", "session=opaque-42; Path=/"}}, "<p>in</p>"});
    server.respond("/page", {200, "text/html", {{"Cache-Control", "no-store"}}, "<p>page</p>"});
    testing::LoopbackWebView web;
    ASSERT_TRUE(web.load(server.url("/login")));
    ASSERT_TRUE(web.load(server.url("/page")));
    ASSERT_EQ(server.requestsFor("/page").back().header("cookie"), "session=opaque-42");
    testing::writeFile(m_dataDir / "bookmarks.json", R"([{"title":"Example"}])");
    testing::writeFile(m_dataDir / "history.json", R"([{"title":"Visited"}])");
    testing::writeFile(m_dataDir / "scrapbook.json", R"({"items":[],"folders":[]})");
    fs::create_directories(m_dataDir / "Scrapbook");
    testing::writeFile(m_dataDir / "Scrapbook" / "6F9619FF-8B86-D011-B42D-00C04FC964FF.webarchive", "MIME archive");
    m_auctions.addItem("Camera", "https://auctions.example/1", AuctionSite::ebay, 120, m_clock.now(), std::nullopt);
    const auto before = filesUnder(m_dataDir.path());
    ASSERT_EQ(before.size(), 5u);

    openView();
    showPage(PreferencesTab::privacy);
    auto& page = m_view->privacyPage();
    EXPECT_NE(testing::findLabel(page, "SarvikBrowser uses WebKit (WebKitGTK) for rendering."), nullptr);
    EXPECT_NE(testing::findLabel(page, "Cookies and cache are managed by the system WebKit framework."), nullptr);
    for (const auto& [label, kind] : {std::pair{"Clear Cookies", WebsiteDataKind::cookies},
                                      {"Clear Cache", WebsiteDataKind::cache},
                                      {"Clear All Browsing Data", WebsiteDataKind::all}}) {
        std::optional<WebsiteDataKind> finished;
        ScopedConnection watching = page.signalClearingFinished().connect([&](WebsiteDataKind done) { finished = done; });
        press(page, label);
        ASSERT_TRUE(testing::runMainLoopUntil([&] { return finished.has_value(); })) << label;
        EXPECT_EQ(finished, kind);
        EXPECT_EQ(filesUnder(m_dataDir.path()), before) << label;
        if (kind != WebsiteDataKind::cookies) continue;
        ASSERT_TRUE(web.load(server.url("/page")));
        ASSERT_EQ(server.requestsFor("/page").size(), 2u);
        EXPECT_EQ(server.requestsFor("/page").back().header("cookie"), "") << "the next request carries no cookie";
    }
    EXPECT_EQ(m_auctions.items()->size(), 1u);

    press(page, "Clear All Browsing Data");
    m_window.reset();  // the sheet closed while the engine works
    // A clearing queued behind it shows when the engine is through with the first.
    bool later = false;
    clearWebsiteData(WebsiteDataKind::cookies, [&](bool) { later = true; });
    EXPECT_TRUE(testing::runMainLoopUntil([&] { return later; }));
}

}  // namespace
}  // namespace sarvik
