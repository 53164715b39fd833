#include "views/preferences/preferences_fixture.h"
#include "support/display/widget_search.h"

#include "support/display/widget_screenshot.h"
#include "views/preferences/preferences_appearance_page.h"
#include "views/preferences/preferences_auction_page.h"
#include "views/preferences/preferences_general_page.h"

#include <gtkmm/dropdown.h>
#include <gtkmm/entry.h>
#include <gtkmm/stack.h>

#include <chrono>
#include <filesystem>

namespace sarvik {
namespace {

using namespace std::chrono_literals;
using testing::findAll;
using testing::findButton;
using testing::findCheckButton;
using testing::findLabel;
using testing::textOf;

class PreferencesViewTest : public testing::PreferencesFixture {
protected:
    Gtk::Entry& homePageField() {
        auto fields = findAll<Gtk::Entry>(m_view->generalPage());
        EXPECT_EQ(fields.size(), 1u);
        return *fields.front();
    }
    Gtk::CheckButton& engineChoice(const char* label) {
        auto* choice = findCheckButton(m_view->generalPage(), label);
        EXPECT_NE(choice, nullptr) << label;
        return *choice;
    }
    Gtk::DropDown& intervalPicker() {
        auto pickers = findAll<Gtk::DropDown>(m_view->auctionPage());
        EXPECT_EQ(pickers.size(), 1u);
        return *pickers.front();
    }
    static void click(Gtk::Button* button) {
        ASSERT_NE(button, nullptr);
        ASSERT_TRUE(testing::click(button));
    }
};

// ----- the view and its sidebar

TEST_F(PreferencesViewTest, SidebarListsTheFourPagesAndSwitchesBetweenThem) {
    auto& view = openView();
    EXPECT_EQ(view.selectedTab(), PreferencesTab::general);
    const char* labels[] = {"General", "Appearance", "Privacy", "Auction"};
    const char* titles[] = {"General", "Appearance", "Privacy & Security", "Auction Manager"};
    for (int i = 0; i < 4; ++i) {
        click(findButton(view, labels[i]));
        EXPECT_EQ(view.selectedTab(), kAllPreferencesTabs[i]);
        // Only the chosen page is on screen, and its header names it.
        auto shownTitles = findAll<Gtk::Label>(view, [](Gtk::Label& label) {
            return label.has_css_class("preferences-page-title") && label.get_mapped();
        });
        ASSERT_EQ(shownTitles.size(), 1u);
        EXPECT_EQ(shownTitles.front()->get_text(), titles[i]);
        for (int j = 0; j < 4; ++j)
            EXPECT_EQ(findButton(view, labels[j])->has_css_class("selected"), i == j) << labels[j];
    }
}

TEST_F(PreferencesViewTest, EveryThemesCssParsesCleanly) {
    for (auto theme : kAllColorThemes) {
        auto provider = Gtk::CssProvider::create();
        int errors = 0;
        provider->signal_parsing_error().connect(
            [&](const Glib::RefPtr<const Gtk::CssSection>&, const Glib::Error&) { ++errors; });
        provider->load_from_data(preferencesCss(theme));
        EXPECT_EQ(errors, 0) << rawValue(theme);
    }
    EXPECT_EQ(m_cssErrors, 0);
}

TEST_F(PreferencesViewTest, ScreenshotsOfEveryPage) {
    m_auctions.addItem("Camera", "https://auctions.example/1", AuctionSite::ebay, 120, m_clock.now().addingSeconds(600),
                       std::nullopt);
    auto& view = openView();
    for (auto tab : kAllPreferencesTabs) {
        showPage(tab);
        EXPECT_TRUE(testing::saveWidgetPng(*m_window, m_dataDir / "page.png")) << rawValue(tab);
        testing::saveScreenshotIfRequested(*m_window, "preferences-" + std::string(cssName(tab)));
    }
    EXPECT_EQ(view.selectedTab(), PreferencesTab::auction);
}

// ----- General

TEST_F(PreferencesViewTest, OpeningLoadsTheHomePageAndTheMatchingEngine) {
    m_state.homePage = std::string("https://start.example/");
    m_state.searchEngine = std::string("https://www.bing.com/search?q=");
    openView();
    EXPECT_EQ(homePageField().get_text(), "https://start.example/");
    EXPECT_EQ(homePageField().get_placeholder_text(), "https://www.google.com");
    EXPECT_TRUE(engineChoice("Bing").get_active());
    EXPECT_FALSE(engineChoice("Google").get_active());
    EXPECT_EQ(m_view->generalPage().selectedSearchEngine(), SearchEngine::bing);
}

TEST_F(PreferencesViewTest, AnUnknownPrefixShowsGoogleAndStaysUntilAChoice) {
    m_state.searchEngine = std::string("https://search.example/?q=");
    openView();
    EXPECT_TRUE(engineChoice("Google").get_active());
    EXPECT_EQ(m_state.searchEngine.get(), "https://search.example/?q=");

    engineChoice("DuckDuckGo").set_active(true);
    EXPECT_EQ(m_state.searchEngine.get(), "https://duckduckgo.com/?q=");
    engineChoice("Google").set_active(true);
    EXPECT_EQ(m_state.searchEngine.get(), kDefaultSearchEngine);
}

TEST_F(PreferencesViewTest, EachEngineChoiceWritesItsExactPrefix) {
    openView();
    const std::pair<const char*, const char*> engines[] = {
        {"Yahoo! Japan", "https://search.yahoo.co.jp/search?p="},
        {"Bing", "https://www.bing.com/search?q="},
        {"DuckDuckGo", "https://duckduckgo.com/?q="},
        {"Google", "https://www.google.com/search?q="},
    };
    for (const auto& [label, prefix] : engines) {
        engineChoice(label).set_active(true);
        EXPECT_EQ(m_state.searchEngine.get(), prefix);
    }
    // Typed words now search with the chosen engine.
    m_state.searchEngine = std::string();
    engineChoice("Bing").set_active(true);
    m_state.navigate("glossy toolbar");
    ASSERT_TRUE(m_state.navigationCommand->has_value());
    const auto* load = std::get_if<NavigationCommand::Load>(&m_state.navigationCommand.get()->action);
    ASSERT_NE(load, nullptr);
    EXPECT_EQ(load->url.absoluteString(), "https://www.bing.com/search?q=glossy%20toolbar");
}

TEST_F(PreferencesViewTest, SetStoresTheFieldTextAsTypedOnlyWhenPressed) {
    openView();
    homePageField().set_text("  start.example/page ");
    EXPECT_EQ(m_state.homePage.get(), kDefaultHomePage) << "typing alone must not write";
    click(findButton(m_view->generalPage(), "Set"));
    EXPECT_EQ(m_state.homePage.get(), "  start.example/page ");

    homePageField().set_text("");
    click(findButton(m_view->generalPage(), "Set"));
    EXPECT_EQ(m_state.homePage.get(), "");
}

TEST_F(PreferencesViewTest, UseCurrentWithoutAPageChangesNothing) {
    m_state.homePage = std::string("https://start.example/");
    openView();
    homePageField().set_text("edited");
    ASSERT_FALSE(m_state.activeTab()->url.has_value());
    // Another tab has a page, but the active one does not.
    m_state.newTab(Url::parse("https://other.example/"));
    m_state.selectTab(m_state.tabs->front().id);

    click(findButton(m_view->generalPage(), "Use Current"));
    EXPECT_EQ(homePageField().get_text(), "edited");
    EXPECT_EQ(m_state.homePage.get(), "https://start.example/");
}

TEST_F(PreferencesViewTest, UseCurrentTakesTheActiveTabsAddress) {
    openView();
    m_state.newTab(Url::parse("https://news.example/today?id=7"));
    click(findButton(m_view->generalPage(), "Use Current"));
    EXPECT_EQ(homePageField().get_text(), "https://news.example/today?id=7");
    EXPECT_EQ(m_state.homePage.get(), "https://news.example/today?id=7");
}

// ----- Appearance

TEST_F(PreferencesViewTest, ZoomShowsItsTruncatedPercentageAndFollowsTheState) {
    openView();
    showPage(PreferencesTab::appearance);
    auto& page = m_view->appearancePage();
    EXPECT_EQ(page.zoomText(), "100%");
    m_state.pageZoom = 1.25;
    EXPECT_EQ(page.zoomText(), "125%");
    m_state.pageZoom = 0.999;
    EXPECT_EQ(page.zoomText(), "99%");

    m_state.pageZoom = 1.0;
    auto buttons = findAll<Gtk::Button>(page, [](Gtk::Button& b) { return b.has_css_class("orvel-button"); });
    ASSERT_EQ(buttons.size(), 2u);  // zoom out, zoom in
    click(buttons[1]);
    EXPECT_EQ(page.zoomText(), "110%");
    ASSERT_TRUE(m_state.navigationCommand->has_value());
    EXPECT_EQ(*m_state.navigationCommand.get(), NavigationCommand::zoom(m_state.pageZoom.get()));
    click(buttons[0]);
    click(buttons[0]);
    EXPECT_EQ(page.zoomText(), "90%");
    click(findButton(page, "Reset"));
    EXPECT_EQ(m_state.pageZoom.get(), 1.0);
    EXPECT_EQ(page.zoomText(), "100%");
}

TEST_F(PreferencesViewTest, SwatchesListEveryThemeAndSetTheCurrentOne) {
    openView();
    showPage(PreferencesTab::appearance);
    auto swatches = findAll<Gtk::Button>(m_view->appearancePage(),
                                         [](Gtk::Button& b) { return b.has_css_class("preferences-swatch"); });
    ASSERT_EQ(swatches.size(), kAllColorThemes.size());
    for (std::size_t i = 0; i < swatches.size(); ++i) {
        EXPECT_EQ(textOf(*swatches[i]), rawValue(kAllColorThemes[i]));
        EXPECT_EQ(swatches[i]->has_css_class("current"), kAllColorThemes[i] == OrvelColorTheme::blueberry);
    }
    click(swatches[3]);
    EXPECT_EQ(m_state.colorTheme.get(), OrvelColorTheme::lime);
    EXPECT_TRUE(swatches[3]->has_css_class("current"));
    EXPECT_FALSE(swatches[0]->has_css_class("current"));

    m_state.colorTheme = OrvelColorTheme::powerbook;  // e.g. from the Theme menu
    EXPECT_TRUE(swatches[6]->has_css_class("current"));
    EXPECT_FALSE(swatches[3]->has_css_class("current"));
}

TEST_F(PreferencesViewTest, ExplorerBarToggleWritesTheStateAtOnce) {
    openView();
    showPage(PreferencesTab::appearance);
    auto* toggle = findCheckButton(m_view->appearancePage(), "Show Explorer Bar on launch");
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

// ----- Auction

TEST_F(PreferencesViewTest, ChoosingAnIntervalWritesItBeforeTheTimerRestarts) {
    openView();
    showPage(PreferencesTab::auction);
    ASSERT_EQ(m_timers.runningPeriod(), std::chrono::seconds(5min));
    EXPECT_EQ(intervalPicker().get_selected(), 1u);  // "5 min"
    const auto started = m_timers.startedCount();

    intervalPicker().set_selected(3);  // "15 min"
    EXPECT_EQ(m_auctions.refreshIntervalMinutes().get(), 15);
    EXPECT_EQ(m_view->auctionPage().refreshInterval(), 15);
    EXPECT_EQ(m_timers.startedCount(), started + 1);
    EXPECT_EQ(m_timers.runningCount(), 1);
    EXPECT_EQ(m_timers.runningPeriod(), std::chrono::seconds(15min));
    EXPECT_FALSE(std::filesystem::exists(m_auctions.metadataFile())) << "settings alone are not saved";
}

TEST_F(PreferencesViewTest, TheIntervalPickerShowsOnlyWhileAutoRefreshIsOn) {
    openView();
    showPage(PreferencesTab::auction);
    auto* toggle = findCheckButton(m_view->auctionPage(), "Enable auto refresh");
    ASSERT_NE(toggle, nullptr);
    auto* label = findLabel(m_view->auctionPage(), "Refresh every:");
    ASSERT_NE(label, nullptr);
    EXPECT_TRUE(toggle->get_active());
    EXPECT_TRUE(testing::isShown(intervalPicker()));

    toggle->set_active(false);
    EXPECT_FALSE(m_auctions.isAutoRefreshEnabled().get());
    EXPECT_EQ(m_timers.runningCount(), 0);
    EXPECT_FALSE(testing::isShown(intervalPicker()));
    EXPECT_FALSE(testing::isShown(*label));

    toggle->set_active(true);
    EXPECT_EQ(m_timers.runningCount(), 1);
    EXPECT_EQ(m_timers.runningPeriod(), std::chrono::seconds(5min));
    EXPECT_TRUE(testing::isShown(intervalPicker()));
}

TEST_F(PreferencesViewTest, AnIntervalOfNoChoiceSelectsNothingAndWritesNothing) {
    m_auctions.refreshIntervalMinutes() = 7;
    m_auctions.restartRefreshTimer();
    openView();
    showPage(PreferencesTab::auction);
    EXPECT_EQ(intervalPicker().get_selected(), GTK_INVALID_LIST_POSITION);
    EXPECT_EQ(m_view->auctionPage().refreshInterval(), 7);
    EXPECT_EQ(m_auctions.refreshIntervalMinutes().get(), 7);
    EXPECT_EQ(m_timers.runningPeriod(), std::chrono::seconds(7min));

    intervalPicker().set_selected(0);
    EXPECT_EQ(m_auctions.refreshIntervalMinutes().get(), 1);
    EXPECT_EQ(m_timers.runningPeriod(), std::chrono::seconds(1min));
}

TEST_F(PreferencesViewTest, StatisticsCountTrackedActiveAndEndingSoonAndFollowTheStore) {
    const Date now = m_clock.now();
    m_auctions.addItem("Lens", "https://auctions.example/1", AuctionSite::ebay, 50, now.addingSeconds(1800), {});
    m_auctions.addItem("Radio", "https://auctions.example/2", AuctionSite::mercari, 20, now.addingSeconds(86400), {});
    m_auctions.addItem("Clock", "https://auctions.example/3", AuctionSite::custom, 5, now.addingSeconds(7200), {});
    m_auctions.setStatus(m_auctions.items()->back().id, AuctionStatus::won);
    openView();
    showPage(PreferencesTab::auction);
    auto values = findAll<Gtk::Label>(m_view->auctionPage(),
                                      [](Gtk::Label& l) { return l.has_css_class("preferences-stat-value"); });
    ASSERT_EQ(values.size(), 3u);
    EXPECT_EQ(textOf(*values[0]->get_parent()), "Tracked auctions: 3");
    EXPECT_EQ(textOf(*values[1]->get_parent()), "Active: 2");
    EXPECT_EQ(textOf(*values[2]->get_parent()), "Ending soon: 1");

    m_auctions.removeItem(m_auctions.items()->front().id);
    EXPECT_EQ(values[0]->get_text(), "2");
    EXPECT_EQ(values[1]->get_text(), "1");
    EXPECT_EQ(values[2]->get_text(), "0");
}

// ----- fresh state per opening

TEST_F(PreferencesViewTest, AnewViewStartsFromTheInitialEditState) {
    auto& first = openView();
    first.selectTab(PreferencesTab::privacy);
    homePageField().set_text("not set");
    auto& second = openView();
    EXPECT_EQ(second.selectedTab(), PreferencesTab::general);
    EXPECT_EQ(std::string(homePageField().get_text()), kDefaultHomePage);
}

}  // namespace
}  // namespace sarvik
