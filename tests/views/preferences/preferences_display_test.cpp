#include "stores/manual_timer_scheduler.h"
#include "support/display/ui_driver.h"
#include "support/fake_clock.h"
#include "support/file_helpers.h"
#include "support/temporary_directory.h"
#include "views/common/theme_stylesheet.h"
#include "views/preferences/preferences_appearance_page.h"
#include "views/preferences/preferences_auction_page.h"
#include "views/preferences/preferences_general_page.h"
#include "views/preferences/preferences_privacy_page.h"
#include "views/preferences/preferences_view.h"
#include "views/preferences/preferences_window.h"

#include <gtest/gtest.h>
#include <gtkmm/dropdown.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <map>

namespace sarvik {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using namespace testing;

// The shared objects a Preferences view edits, on a temporary data folder,
// a fake clock and hand-ticked timers, with the themes' CSS installed.
class PreferencesTest : public ::testing::Test {
protected:
    // Builds a fresh view in a window of the Preferences size and shows it.
    PreferencesView& openView() {
        m_window = std::make_unique<Gtk::Window>();
        m_window->set_default_size(560, 420);
        m_view = Gtk::make_managed<PreferencesView>(m_state, m_auctions);
        m_window->set_child(*m_view);
        m_window->present();
        EXPECT_TRUE(runMainLoopUntil([&] { return m_view->get_mapped() && m_view->get_width() > 0; }));
        return *m_view;
    }
    void showPage(PreferencesTab tab) {
        m_view->selectTab(tab);
        drainMainLoop();
    }
    static Gtk::Entry& homeField(PreferencesView& view) { return *findAll<Gtk::Entry>(view.generalPage()).front(); }
    static void press(Gtk::Widget& root, const std::string& label) { ASSERT_TRUE(click(findButton(root, label))) << label; }

    TemporaryDirectory m_dataDir;
    FakeClock m_clock;
    ManualTimerScheduler m_timers;
    BrowserState m_state;
    AuctionStore m_auctions{m_dataDir.path(), m_clock, m_timers};
    ThemeStylesheet m_css{m_state, Gdk::Display::get_default()};
    std::unique_ptr<Gtk::Window> m_window;
    PreferencesView* m_view = nullptr;

    Gtk::CheckButton& engine(const char* label) { return *findCheckButton(m_view->generalPage(), label); }
    Gtk::DropDown& intervalPicker() { return *findAll<Gtk::DropDown>(m_view->auctionPage()).front(); }
    std::string home() { return homeField(*m_view).get_text(); }
};

TEST_F(PreferencesTest, TheSidebarSwitchesPages) {
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
        EXPECT_TRUE(saveWidgetPng(*m_window, m_dataDir / "page.png")) << labels[i];
        saveScreenshotIfRequested(*m_window, "preferences-" + std::string(cssName(kAllPreferencesTabs[i])));
    }
}

TEST_F(PreferencesTest, GeneralSetsTheHomePageWhenPressedAndEachEngineItsExactPrefix) {
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

TEST_F(PreferencesTest, AppearanceZoomsPicksThemesAndTogglesTheExplorerBarBothWays) {
    openView();
    showPage(PreferencesTab::appearance);
    auto& page = m_view->appearancePage();
    EXPECT_EQ(page.zoomText(), "100%");
    m_state.pageZoom = 1.25;  // e.g. from the View menu
    EXPECT_EQ(page.zoomText(), "125%");
    m_state.pageZoom = 1.0;
    auto zoom = findAll<Gtk::Button>(page, [](Gtk::Button& b) { return b.has_css_class("orvel-button"); });
    ASSERT_EQ(zoom.size(), 2u);  // out, in
    ASSERT_TRUE(click(zoom[1]));
    EXPECT_EQ(page.zoomText(), "110%");
    ASSERT_TRUE(m_state.navigationCommand->has_value());
    EXPECT_EQ(*m_state.navigationCommand.get(), NavigationCommand::zoom(m_state.pageZoom.get()));
    ASSERT_TRUE(click(zoom[0]));
    ASSERT_TRUE(click(zoom[0]));
    EXPECT_EQ(page.zoomText(), "90%");
    press(page, "Reset");
    EXPECT_EQ(m_state.pageZoom.get(), 1.0);
    EXPECT_EQ(page.zoomText(), "100%");

    auto swatches = findAll<Gtk::Button>(page, [](Gtk::Button& b) { return b.has_css_class("preferences-swatch"); });
    ASSERT_EQ(swatches.size(), kAllColorThemes.size());
    // Which swatch is marked current, and which one the state says.
    auto current = [&] {
        std::string marks;
        for (std::size_t i = 0; i < swatches.size(); ++i) {
            EXPECT_EQ(textOf(*swatches[i]), rawValue(kAllColorThemes[i]));
            if (swatches[i]->has_css_class("current")) marks += std::to_string(i);
            if (kAllColorThemes[i] == m_state.colorTheme.get()) marks += "=" + std::to_string(i);
        }
        return marks;
    };
    EXPECT_EQ(current(), "0=0");
    ASSERT_TRUE(click(swatches[3]));
    EXPECT_EQ(current(), "3=3");
    EXPECT_EQ(m_state.colorTheme.get(), OrvelColorTheme::lime);
    m_state.colorTheme = OrvelColorTheme::powerbook;  // e.g. from the Theme menu
    EXPECT_EQ(current(), "6=6");

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

TEST_F(PreferencesTest, AuctionSettingsRestartTheTimerAndStatisticsFollowTheStore) {
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
    EXPECT_EQ(textOf(*values[0]->get_parent()), "Tracked auctions: 3");
    EXPECT_EQ(textOf(*values[1]->get_parent()), "Active: 2");
    EXPECT_EQ(textOf(*values[2]->get_parent()), "Ending soon: 1");
    m_auctions.removeItem(m_auctions.items()->front().id);
    EXPECT_EQ(values[0]->get_text() + values[1]->get_text() + values[2]->get_text(), "210");

    // An interval that is no choice selects nothing and is kept.
    EXPECT_EQ(intervalPicker().get_selected(), GTK_INVALID_LIST_POSITION);
    EXPECT_EQ(page.refreshInterval(), 7);
    EXPECT_EQ(m_timers.runningPeriod(), std::chrono::seconds(7min));
    const auto started = m_timers.startedCount();
    const auto saved = readFile(m_auctions.metadataFile());
    intervalPicker().set_selected(3);  // "15 min"
    EXPECT_EQ(m_auctions.refreshIntervalMinutes().get(), 15);
    EXPECT_EQ(page.refreshInterval(), 15);
    EXPECT_EQ(m_timers.startedCount(), started + 1);
    EXPECT_EQ(m_timers.runningCount(), 1);
    EXPECT_EQ(m_timers.runningPeriod(), std::chrono::seconds(15min));
    EXPECT_EQ(readFile(m_auctions.metadataFile()), saved) << "settings alone are not saved";
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
    EXPECT_FALSE(isShown(*findLabel(page, "Refresh every:")));
    toggle->set_active(true);
    EXPECT_EQ(m_timers.runningCount(), 1);
    EXPECT_EQ(m_timers.runningPeriod(), std::chrono::seconds(1min));
    EXPECT_TRUE(isShown(intervalPicker()));
}

// Every file under the data folder with its content.
std::map<fs::path, std::string> filesUnder(const fs::path& folder) {
    std::map<fs::path, std::string> files;
    for (const auto& entry : fs::recursive_directory_iterator(folder))
        if (entry.is_regular_file()) files[entry.path()] = readFile(entry.path());
    return files;
}

// What each kind clears in the engine is the cleaner's own test; here, that each button asks for its kind.
TEST_F(PreferencesTest, PrivacyClearsTheEnginesCookiesAndCacheButNotTheBrowsersFiles) {
    writeFile(m_dataDir / "bookmarks.json", R"([{"title":"Example"}])");
    writeFile(m_dataDir / "history.json", R"([{"title":"Visited"}])");
    writeFile(m_dataDir / "scrapbook.json", R"({"items":[],"folders":[]})");
    fs::create_directories(m_dataDir / "Scrapbook");
    writeFile(m_dataDir / "Scrapbook" / "6F9619FF-8B86-D011-B42D-00C04FC964FF.webarchive", "MIME archive");
    m_auctions.addItem("Camera", "https://auctions.example/1", AuctionSite::ebay, 120, m_clock.now(), std::nullopt);
    const auto before = filesUnder(m_dataDir.path());
    ASSERT_EQ(before.size(), 5u);

    openView();
    showPage(PreferencesTab::privacy);
    auto& page = m_view->privacyPage();
    for (const auto& [label, kind] : {std::pair{"Clear Cookies", WebsiteDataKind::cookies},
                                      {"Clear Cache", WebsiteDataKind::cache},
                                      {"Clear All Browsing Data", WebsiteDataKind::all}}) {
        std::optional<WebsiteDataKind> finished;
        ScopedConnection watching = page.signalClearingFinished().connect([&](WebsiteDataKind done) { finished = done; });
        press(page, label);
        ASSERT_TRUE(runMainLoopUntil([&] { return finished.has_value(); })) << label;
        EXPECT_EQ(finished, kind);
        EXPECT_EQ(filesUnder(m_dataDir.path()), before) << label;
    }
    EXPECT_EQ(m_auctions.items()->size(), 1u);

    press(page, "Clear All Browsing Data");
    m_window.reset();  // the sheet closed while the engine works
    // A clearing queued behind it shows when the engine is through with the first.
    bool later = false;
    clearWebsiteData(WebsiteDataKind::cookies, [&](bool) { later = true; });
    EXPECT_TRUE(runMainLoopUntil([&] { return later; }));
}

TEST_F(PreferencesTest, TheWindowEditsTheSharedStateAndReopensFresh) {
    PreferencesWindow window(m_state, m_auctions);
    EXPECT_EQ(window.view(), nullptr) << "nothing is built before the window opens";
    window.open();
    ASSERT_NE(window.view(), nullptr);
    ASSERT_TRUE(runMainLoopUntil([&] { return window.view()->get_mapped() && window.view()->get_width() > 0; }));
    EXPECT_TRUE(saveWidgetPng(window, m_dataDir / "window.png"));
    saveScreenshotIfRequested(window, "preferences-window");

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

TEST_F(PreferencesTest, TheSheetIsModalOnceOverItsParentClosesByDoneOrEscapeAndGoesWithIt) {
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
    EXPECT_TRUE(saveWidgetPng(sheet, m_dataDir / "sheet.png"));
    saveScreenshotIfRequested(sheet, "preferences-sheet");
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

}  // namespace
}  // namespace sarvik
