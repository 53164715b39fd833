#include "core/notification_names.h"
#include "support/display/browser_window_harness.h"
#include "support/display/ui_driver.h"
#include "support/file_helpers.h"
#include "web/page_printer.h"
#include "web/web_view_host_test_access.h"

#include <gtest/gtest.h>
#include <gtkmm/settings.h>

#include <cstdlib>

namespace sarvik {
namespace {

using testing::runMainLoopUntil;
namespace names = notifications;

class MainWindowDisplayTest : public ::testing::Test, public testing::BrowserWindowHarness {
protected:
    Uuid active() const { return state.activeTabId; }
    TabStrip& strip() { return content().toolbar().expanded().tabStrip(); }
    // The tab strip shows every tab in order, the active one marked, and hides with a single tab.
    ::testing::AssertionResult stripFollowsTheTabs() {
        const auto& tabs = state.tabs.get();
        if (strip().get_visible() != (tabs.size() > 1)) return ::testing::AssertionFailure() << "strip visibility";
        if (strip().itemCount() != tabs.size()) return ::testing::AssertionFailure() << strip().itemCount() << " items";
        for (std::size_t i = 0; i < tabs.size(); ++i)
            if (strip().item(i).title().get_text().raw() != tabs[i].title ||
                strip().item(i).has_css_class("active") != (tabs[i].id == active()))
                return ::testing::AssertionFailure() << "item " << i << " " << strip().item(i).title().get_text();
        return ::testing::AssertionSuccess();
    }
    std::string loadState() { return content().statusBar().loadState().label().get_text(); }
};

// One window through a user's session: each step checks what it must change and what it must leave.
TEST_F(MainWindowDisplayTest, BrowseSwitchCloseReopenAndCollapse) {
    int width = 0, height = 0;
    window->get_default_size(width, height);
    EXPECT_TRUE(width == 1200 && height == 800) << width << "x" << height;
    EXPECT_TRUE(window->get_show_menubar());
    EXPECT_EQ(content().downloadStatus(), nullptr) << "no download manager, no downloads in the status bar";
    const Uuid first = active();
    ASSERT_TRUE(loaded(first, "Home"));
    EXPECT_TRUE(runMainLoopUntil([&] { return !content().dataStore().history()->empty(); }));
    EXPECT_EQ(content().dataStore().history()->front().url, server.url("/home"));
    EXPECT_EQ(loadState(), "Done");

    // Browse: the status bar says Loading while the page comes, Done after.
    server.serveSlowly("/other", page("Other"), std::chrono::milliseconds(1500));
    state.navigate(server.url("/other"));
    EXPECT_TRUE(runMainLoopUntil([&] { return loadState() == "Loading..."; }));
    ASSERT_TRUE(loaded(first, "Other"));
    EXPECT_TRUE(runMainLoopUntil([&] { return loadState() == "Done"; }));
    ASSERT_TRUE(runMainLoopUntil([&] { return state.findTab(first)->canGoBack; }));
    WebViewHost* firstHost = host();

    // A second tab: only the active tab's view runs a command.
    serve("/third", "Third");
    const auto second = openTab("/third", "Third");
    ASSERT_TRUE(second);
    ASSERT_TRUE(shows(*second));
    EXPECT_EQ(content().webArea().hostCount(), 2u);
    EXPECT_TRUE(stripFollowsTheTabs());
    EXPECT_EQ(content().statusBar().tabCount().get_text(), "2 tabs");
    serve("/fourth", "Fourth");
    state.navigate(server.url("/fourth"));
    EXPECT_TRUE(loaded(*second, "Fourth"));
    EXPECT_EQ(state.findTab(first)->title, "Other");
    EXPECT_EQ(server.requestCount("/fourth"), 1);

    // Back to the first tab: its own view, not reloaded, its address and back list kept.
    state.selectTab(first);
    ASSERT_TRUE(shows(first));
    EXPECT_EQ(host(), firstHost);
    testing::drainMainLoop();
    EXPECT_EQ(server.requestCount("/other"), 1) << "switching back must not reload the page";
    EXPECT_EQ(state.addressBarText.get(), server.url("/other"));
    EXPECT_TRUE(stripFollowsTheTabs());
    state.navigationCommand = NavigationCommand::goBack();
    EXPECT_TRUE(loaded(first, "Home"));
    EXPECT_EQ(state.findTab(*second)->title, "Fourth");

    // A command issued just before a switch, in the same turn of the main loop, stays with its tab.
    const int homeLoads = server.requestCount("/home");
    state.navigationCommand = NavigationCommand::reload();
    state.selectTab(*second);
    EXPECT_TRUE(runMainLoopUntil([&] { return server.requestCount("/home") == homeLoads + 1; }));
    EXPECT_FALSE(runMainLoopUntil([&] { return server.requestCount("/fourth") > 1; }, std::chrono::milliseconds(500)))
        << "the tab switched to must not run the command as well";

    // Close two tabs; the views go, and reopening brings back the last closed first, as a new tab that loads
    // again. All on a display too slow for its animations, where drawing is due again as soon as a frame is done.
    const guint slowDisplay = g_idle_add_full(GDK_PRIORITY_REDRAW, +[](gpointer) -> gboolean {
        g_usleep(2000);
        return G_SOURCE_CONTINUE;
    }, nullptr, nullptr);
    serve("/fifth", "Fifth");
    const auto fifth = openTab("/fifth", "Fifth");
    ASSERT_TRUE(fifth);
    state.closeTab(*second);
    state.closeTab(*fifth);
    ASSERT_TRUE(runMainLoopUntil([&] { return content().webArea().hostCount() == 1u; }));
    EXPECT_EQ(content().webArea().hostFor(*second), nullptr);
    ASSERT_TRUE(shows(first));
    EXPECT_TRUE(stripFollowsTheTabs());
    EXPECT_FALSE(content().statusBar().tabCount().get_visible());
    ASSERT_EQ(window->pageCommands().closedTabs().size(), 2u);
    for (const auto& [path, title, tabs] : {std::tuple{"/fifth", "Fifth", 2u}, std::tuple{"/fourth", "Fourth", 3u}}) {
        const int loads = server.requestCount(path);
        post(names::kReopenClosedTab);
        ASSERT_EQ(state.tabs->size(), tabs) << "one reopen opens one tab";
        EXPECT_TRUE(active() != *second && active() != *fifth) << "a new tab, not the closed one";
        EXPECT_EQ(activeAddress(), server.url(path));
        ASSERT_TRUE(shows(active()));
        EXPECT_TRUE(loaded(active(), title));
        EXPECT_EQ(server.requestCount(path), loads + 1) << path;
        EXPECT_TRUE(stripFollowsTheTabs());
    }
    g_source_remove(slowDisplay);
    const auto tabsBefore = state.tabs.get();
    post(names::kReopenClosedTab);
    testing::drainMainLoop();
    EXPECT_EQ(state.tabs.get(), tabsBefore) << "nothing left to reopen";
    EXPECT_TRUE(window->pageCommands().closedTabs().empty());

    // Collapse the toolbar; Ctrl+L brings the address field back for the typing.
    post(names::kToggleToolbar);
    ASSERT_TRUE(state.isToolbarCollapsed.get());
    EXPECT_EQ(content().toolbar().collapsed().title().get_text(), "Fourth");
    testing::sendKeysTo(*window);
    host()->focusPage();
    testing::pressKeys("ctrl+l");
    EXPECT_TRUE(runMainLoopUntil([&] { return !state.isToolbarCollapsed.get(); }));
    EXPECT_TRUE(runMainLoopUntil([&] { return testing::hasFocusWithin(content().toolbar().expanded().addressField()); }));
}

TEST_F(MainWindowDisplayTest, MenuNotificationsReachTheWindowUntilItGoes) {
    post(names::kCloseTab);
    EXPECT_EQ(state.tabs->size(), 1u) << "the only tab stays";
    post(names::kNewTab);
    ASSERT_EQ(state.tabs->size(), 2u);
    post(names::kCloseTab);
    EXPECT_EQ(state.tabs->size(), 1u);
    post(names::kChangeTheme, "Lime");
    EXPECT_EQ(state.colorTheme.get(), OrvelColorTheme::lime);
    post(names::kChangeTheme, "grape");
    post(names::kChangeTheme, std::nullopt);
    EXPECT_EQ(state.colorTheme.get(), OrvelColorTheme::lime) << "only the exact name";
    EXPECT_EQ(content().statusBar().themeSwatch().get_tooltip_text(), "Theme: Lime");
    for (const bool collapsed : {true, false}) {
        post(names::kToggleToolbar);
        EXPECT_EQ(state.isToolbarCollapsed.get(), collapsed);
    }
    ASSERT_NE(content().explorerBar(), nullptr) << "visible at start";
    post(names::kShowSearch);
    EXPECT_EQ(state.selectedExplorerTab.get(), ExplorerBarTab::search);
    post(names::kToggleExplorerBar);
    EXPECT_FALSE(state.isExplorerBarVisible.get());
    EXPECT_TRUE(runMainLoopUntil([&] { return content().explorerBar() == nullptr; })) << "released once slid out";
    post(names::kToggleExplorerBar);
    ASSERT_NE(content().explorerBar(), nullptr);
    EXPECT_EQ(state.selectedExplorerTab.get(), ExplorerBarTab::search) << "reopens on the panel it showed last";
    post(names::kShowScrapbook);
    EXPECT_EQ(state.selectedExplorerTab.get(), ExplorerBarTab::scrapbook);
    post(names::kToggleExplorerBar);
    post(names::kShowHistory);
    EXPECT_TRUE(state.isExplorerBarVisible.get());
    EXPECT_NE(content().explorerBar(), nullptr);
    EXPECT_EQ(state.selectedExplorerTab.get(), ExplorerBarTab::history);
    const auto sheets = [&] {
        const auto all = Gtk::Window::list_toplevels();
        return std::count_if(all.begin(), all.end(), [&](Gtk::Window* w) {
            return w->get_transient_for() == window.get() && w->get_modal() && w->get_visible();
        });
    };
    post(names::kOpenPreferences);
    EXPECT_TRUE(runMainLoopUntil([&] { return sheets() == 1; }));
    post(names::kOpenPreferences);
    testing::drainMainLoop();
    EXPECT_EQ(sheets(), 1) << "one sheet at a time";
    testing::testApplication()->remove_window(*window);
    window.reset();
    post(names::kNewTab);
    EXPECT_EQ(state.tabs->size(), 1u) << "a gone window no longer answers";
}

// What the user types is theirs until Return or Escape: neither a new tab's home page arriving nor a page that
// keeps navigating itself replaces it.
TEST_F(MainWindowDisplayTest, PagesArrivingNeverReplaceWhatTheUserTypes) {
    ASSERT_TRUE(activeLoaded("Home"));
    Gtk::Entry& field = content().toolbar().expanded().addressField().entry();
    const std::string typed = server.url("/typed").substr(std::string("http://").size());
    serve("/typed", "Typed");
    server.serveSlowly("/home", page("Home"), std::chrono::milliseconds(700));
    testing::sendKeysTo(*window);
    post(names::kNewTab);
    ASSERT_TRUE(runMainLoopUntil([&] { return testing::hasFocusWithin(field); }));
    testing::typeText(typed.substr(0, 5));
    ASSERT_TRUE(runMainLoopUntil([&] { return activeAddress() == server.url("/home"); }));
    testing::typeText(typed.substr(5));
    EXPECT_TRUE(runMainLoopUntil([&] { return field.get_text().raw() == typed; })) << field.get_text();
    testing::pressKeys("Return");
    EXPECT_TRUE(activeLoaded("Typed"));

    server.serve("/loop", page("Loop", "<script>setTimeout(() => location.replace('/loop?' + Date.now()), 20)</script>"));
    state.navigate(server.url("/loop"));
    const auto loops = [&] { return server.requestsFor("/loop").size(); };
    ASSERT_TRUE(runMainLoopUntil([&] { return loops() >= 2; }));
    testing::pressKeys("ctrl+l");
    ASSERT_TRUE(runMainLoopUntil([&] { return testing::hasFocusWithin(field); }));
    testing::typeText("typed words");
    const std::size_t before = loops();
    ASSERT_TRUE(runMainLoopUntil([&] { return loops() > before + 5; }));
    EXPECT_EQ(field.get_text(), "typed words");
    testing::pressKeys("Escape");
    EXPECT_TRUE(runMainLoopUntil([&] { return field.get_text().raw().starts_with(server.url("/loop")); }))
        << "Escape gives the field back to the page";
}

// A data file that cannot be saved is said in the window, once per cause, and the notice goes when it saves again.
TEST_F(MainWindowDisplayTest, AFileThatCannotBeSavedIsShownUntilItSavesAgain) {
    ASSERT_TRUE(activeLoaded("Home"));
    StorageNoticeBar& notice = content().storageNotice();
    EXPECT_FALSE(notice.get_visible());
    const auto history = folder / "history.json";
    const auto visit = [&](const std::string& path) {
        serve(path, path);
        state.navigate(server.url(path));
        return activeLoaded(path);
    };
    const auto blockHistory = [&] {  // a folder in the file's place: every save of it fails at the rename
        std::filesystem::remove(history);
        std::filesystem::create_directory(history);
    };
    blockHistory();
    ASSERT_TRUE(visit("/first"));
    ASSERT_TRUE(runMainLoopUntil([&] { return notice.get_visible(); }));
    EXPECT_EQ(notice.message().get_text(),
              "history.json cannot be saved (rename: Is a directory). Changes to it are kept only until SarvikBrowser quits.");
    ASSERT_TRUE(testing::click(&notice.dismissButton()));
    ASSERT_TRUE(visit("/second"));
    testing::drainMainLoop();
    EXPECT_FALSE(notice.get_visible()) << "the same cause is not shown twice";

    std::filesystem::remove(history);
    ASSERT_TRUE(visit("/third"));
    ASSERT_TRUE(runMainLoopUntil([&] { return std::filesystem::is_regular_file(history); }));
    EXPECT_NE(testing::readFile(history).find("/second"), std::string::npos) << "what was kept in memory is saved";
    blockHistory();
    ASSERT_TRUE(visit("/fourth"));
    EXPECT_TRUE(runMainLoopUntil([&] { return notice.get_visible(); })) << "failing again after a save is news";
    std::filesystem::remove(history);
    ASSERT_TRUE(visit("/fifth"));
    EXPECT_TRUE(runMainLoopUntil([&] { return !notice.get_visible(); }));
}

// Linux browsers' tab keys, pressed while the page has the keyboard.
TEST_F(MainWindowDisplayTest, TabKeysMoveRoundTheTabsAndPickThemByNumber) {
    ASSERT_TRUE(activeLoaded("Home"));
    std::vector<Uuid> tabs{active()};
    for (const char* path : {"/b", "/c", "/d"}) {
        serve(path, path);
        const auto tab = openTab(path, path);
        ASSERT_TRUE(tab);
        tabs.push_back(*tab);
    }
    testing::sendKeysTo(*window);
    for (const auto& [keys, expected] : {std::pair{"ctrl+Tab", 0}, std::pair{"ctrl+shift+Tab", 3},
                                         std::pair{"ctrl+Page_Up", 2}, std::pair{"ctrl+Page_Down", 3},
                                         std::pair{"alt+2", 1}, std::pair{"alt+9", 3}, std::pair{"alt+1", 0}}) {
        if (host()) host()->focusPage();
        testing::pressKeys(keys);
        EXPECT_TRUE(runMainLoopUntil([&, expected = expected] { return active() == tabs[expected]; })) << keys;
    }

    // Ctrl+Shift+Page Down and Page Up move the active tab, stopping at the start; the strip follows.
    testing::pressKeys("ctrl+shift+Page_Down");
    EXPECT_TRUE(runMainLoopUntil([&] { return state.tabs->at(1).id == tabs[0] && stripFollowsTheTabs(); }));
    testing::pressKeys("ctrl+shift+Page_Up ctrl+shift+Page_Up");
    EXPECT_TRUE(runMainLoopUntil([&] { return state.tabs->at(0).id == tabs[0] && stripFollowsTheTabs(); }));
    EXPECT_EQ(active(), tabs[0]);

    // A middle click closes the tab under the pointer.
    testing::pointerAt(strip().item(2), "click 2");
    EXPECT_TRUE(runMainLoopUntil([&] { return !state.findTab(tabs[2]) && stripFollowsTheTabs(); }));

    // With more tabs than fit, the strip scrolls to show the active one at either end.
    for (int i = 0; i < 30; ++i) state.newTab();
    const auto activeItemShown = [&](std::size_t index) {
        double x = 0, y = 0;
        auto scroll = strip().get_hadjustment();
        return strip().item(index).translate_coordinates(strip(), 0, 0, x, y) && scroll->get_upper() > scroll->get_page_size() &&
               x >= 0 && x + strip().item(index).get_width() <= scroll->get_page_size();
    };
    EXPECT_TRUE(runMainLoopUntil([&] { return activeItemShown(strip().itemCount() - 1); }));
    testing::pressKeys("alt+1");
    EXPECT_TRUE(runMainLoopUntil([&] { return active() == tabs[0] && activeItemShown(0); }));
}

TEST_F(MainWindowDisplayTest, WindowControlsFollowTheDesktopsLayout) {
    // The shown window buttons, left and right of the toolbar, in their order.
    const auto buttons = [&] {
        std::string left = "left:", right = " right:";
        for (auto* button : testing::findAll<Gtk::Button>(content().titleBar()))
            for (const char* name : {"minimize", "maximize", "close"}) {
                double x = 0, y = 0;
                if (button->has_css_class(name) && button->get_mapped() &&
                    button->translate_coordinates(content().toolbar(), 0, 0, x, y))
                    (x < 0 ? left : right) += std::string(" ") + name;
            }
        return left + right;
    };
    auto settings = Gtk::Settings::get_default();
    const Glib::ustring desktops = settings->property_gtk_decoration_layout();
    for (const auto& [layout, expected] : {std::pair{"close,minimize,maximize:", "left: close minimize maximize right:"},
                                           std::pair{":minimize,maximize,close", "left: right: minimize maximize close"},
                                           std::pair{"close:maximize", "left: close right: maximize"}}) {
        settings->property_gtk_decoration_layout() = layout;
        EXPECT_TRUE(runMainLoopUntil([&] { return buttons() == expected; })) << buttons();
    }
    settings->property_gtk_decoration_layout() = desktops;
}

TEST_F(MainWindowDisplayTest, PrintingTheActiveTabWritesAPdfOfItsPage) {
    setenv("GTK_PRINT_BACKENDS", "file", 1);  // read when GTK first looks for printers
    ASSERT_TRUE(activeLoaded("Home"));
    serve("/print", "Print me", "<p>A paragraph of text that the printed page must carry.</p>");
    const auto printed = openTab("/print", "Print me");
    ASSERT_TRUE(printed && shows(*printed));
    const auto file = folder / "page.pdf";
    WebViewHost* givenHost = nullptr;
    std::optional<bool> written;
    // The real command path, with the dialog replaced by printing straight into a file.
    window->pageCommands().setPrintRunner([&](WebViewHost& given, Gtk::Window& parent) {
        givenHost = &given;
        EXPECT_EQ(&parent, window.get());
        page_printing::printToPdf(WebViewHostTestAccess::webView(given), file, [&](bool ok) { written = ok; });
    });
    post(names::kPrintPage);
    EXPECT_EQ(givenHost, host()) << "the active tab's page is printed";
    ASSERT_TRUE(runMainLoopUntil([&] { return written.has_value(); }, std::chrono::seconds(60)));
    ASSERT_TRUE(*written);
    const std::string pdf = testing::readFile(file);
    EXPECT_TRUE(pdf.starts_with("%PDF-")) << pdf.substr(0, 16);
    EXPECT_NE(pdf.find("%%EOF"), std::string::npos) << "the file is complete";
    EXPECT_NE(pdf.find("/Type /Page"), std::string::npos);
    EXPECT_NE(pdf.find("/Font"), std::string::npos) << "a page with text embeds a font; a blank page would not";
}

}  // namespace
}  // namespace sarvik
