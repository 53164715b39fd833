#include "views/window/main_window.h"

#include "core/notification_center.h"
#include "core/notification_names.h"
#include "support/display/gtk_test_environment.h"
#include "support/loopback_http_server.h"
#include "support/temporary_directory.h"

#include <gtest/gtest.h>
#include <gtkmm/settings.h>

#include <functional>

namespace sarvik {
namespace {

using testing::runMainLoopUntil;
namespace names = notifications;

std::string page(const std::string& title) {
    return "<!doctype html><html><head><title>" + title + "</title></head><body>" + title + "</body></html>";
}

class MainWindowDisplayTest : public ::testing::Test {
protected:
    void SetUp() override {
        server.serve("/home", page("Home"));
        server.serve("/other", page("Other"));
        state.homePage = server.url("/home");
        window = std::make_unique<MainWindow>(state, auctions, folder.path());
        window->present();
    }

    void TearDown() override {
        window.reset();
        testing::drainMainLoop();
    }

    static void post(std::string_view name, std::optional<std::string> object = std::nullopt) {
        NotificationCenter::defaultCenter().post(name, std::move(object));
    }

    WebViewHost* host() { return window->contentView().webArea().host(); }
    bool loaded(const Uuid& id, const std::string& title) {
        return runMainLoopUntil([&] {
            const BrowserTab* tab = state.findTab(id);
            return tab && tab->title == title && !tab->isLoading;
        });
    }

    // The home page in the first tab, then "/other" in a second, active tab; nothing if either fails to load.
    struct TwoTabs {
        Uuid first;
        Uuid second;
    };
    std::optional<TwoTabs> openHomeAndOther() {
        const Uuid first = state.activeTabId;
        if (!loaded(first, "Home")) return std::nullopt;
        state.newTab(Url::parse(server.url("/other")));
        const Uuid second = state.activeTabId;
        if (!loaded(second, "Other")) return std::nullopt;
        return TwoTabs{first, second};
    }

    testing::LoopbackHttpServer server;
    testing::TemporaryDirectory folder;
    BrowserState state;
    AuctionStore auctions{folder.path()};
    std::unique_ptr<MainWindow> window;
};

TEST_F(MainWindowDisplayTest, TheWindowOpensOnTheHomePageAndRecordsIt) {
    int width = 0, height = 0;
    window->get_default_size(width, height);
    EXPECT_EQ(width, 1200);
    EXPECT_EQ(height, 800);
    EXPECT_TRUE(window->get_show_menubar());
    ASSERT_TRUE(loaded(state.activeTabId, "Home"));
    EXPECT_TRUE(runMainLoopUntil([&] { return !window->contentView().dataStore().history()->empty(); }));
    EXPECT_EQ(window->contentView().dataStore().history()->front().url, server.url("/home"));
    EXPECT_EQ(window->contentView().statusBar().loadState().label().get_text(), "Done");
}

TEST_F(MainWindowDisplayTest, TheStatusBarSaysLoadingWhileThePageLoadsAndDoneAfterwards) {
    ASSERT_TRUE(loaded(state.activeTabId, "Home"));
    server.serveSlowly("/slow", page("Slow"), std::chrono::milliseconds(1500));
    const Gtk::Label& text = window->contentView().statusBar().loadState().label();
    state.navigate(server.url("/slow"));
    EXPECT_TRUE(runMainLoopUntil([&] { return text.get_text() == "Loading..."; }));
    EXPECT_TRUE(loaded(state.activeTabId, "Slow"));
    EXPECT_TRUE(runMainLoopUntil([&] { return text.get_text() == "Done"; }));
}

TEST_F(MainWindowDisplayTest, SwitchingTabsKeepsEachPageAndItsHistory) {
    const Uuid first = state.activeTabId;
    ASSERT_TRUE(loaded(first, "Home"));
    state.navigate(server.url("/other"));
    ASSERT_TRUE(loaded(first, "Other"));
    ASSERT_TRUE(runMainLoopUntil([&] { return state.findTab(first)->canGoBack; }));
    WebViewHost* firstHost = host();

    state.newTab(Url::parse(server.url("/home")));
    const Uuid second = state.activeTabId;
    ASSERT_TRUE(runMainLoopUntil([&] { return host() && host()->tabId() == second; }));
    ASSERT_TRUE(loaded(second, "Home"));
    EXPECT_EQ(state.findTab(first)->title, "Other");
    EXPECT_EQ(server.requestCount("/other"), 1);

    state.selectTab(first);
    ASSERT_TRUE(runMainLoopUntil([&] { return host() && host()->tabId() == first; }));
    EXPECT_EQ(host(), firstHost) << "the tab's own view is shown again";
    testing::drainMainLoop();
    EXPECT_EQ(server.requestCount("/other"), 1) << "switching back must not reload the page";
    EXPECT_EQ(state.addressBarText.get(), server.url("/other"));

    // Its back/forward list survived the switch.
    state.navigationCommand = NavigationCommand::goBack();
    EXPECT_TRUE(loaded(first, "Home"));
    EXPECT_EQ(state.findTab(second)->title, "Home");
}

TEST_F(MainWindowDisplayTest, ClosingATabReleasesItsViewAndKeepsTheOthers) {
    const auto tabs = openHomeAndOther();
    ASSERT_TRUE(tabs);
    const auto [first, second] = *tabs;
    EXPECT_EQ(window->contentView().webArea().hostCount(), 2u);

    state.closeTab(second);
    ASSERT_TRUE(runMainLoopUntil([&] { return window->contentView().webArea().hostCount() == 1u; }));
    EXPECT_EQ(window->contentView().webArea().hostFor(second), nullptr);
    ASSERT_TRUE(runMainLoopUntil([&] { return host() && host()->tabId() == first; }));
    EXPECT_EQ(server.requestCount("/home"), 1);
}

TEST_F(MainWindowDisplayTest, OnlyTheActiveTabsViewExecutesCommands) {
    const auto tabs = openHomeAndOther();
    ASSERT_TRUE(tabs);
    const auto [first, second] = *tabs;
    state.navigate(server.url("/home"));
    EXPECT_TRUE(loaded(second, "Home"));
    EXPECT_EQ(state.findTab(first)->title, "Home");
    EXPECT_EQ(server.requestCount("/home"), 2) << "one load for the first tab, one for the command";
}

TEST_F(MainWindowDisplayTest, ACommandStaysWithTheTabItWasIssuedFor) {
    const auto tabs = openHomeAndOther();
    ASSERT_TRUE(tabs);
    const auto [first, second] = *tabs;

    // Switched away within the same turn of the main loop, before the command is cleared.
    state.navigationCommand = NavigationCommand::reload();
    state.selectTab(first);
    EXPECT_TRUE(runMainLoopUntil([&] { return server.requestCount("/other") == 2; }));
    EXPECT_FALSE(runMainLoopUntil([&] { return server.requestCount("/home") > 1; }, std::chrono::milliseconds(500)))
        << "the tab switched to must not run the command as well";
}

// A display too slow for its animations: GTK's drawing is due again as soon as a frame is done.
class DrawingAlwaysDue {
public:
    DrawingAlwaysDue() : m_source(g_idle_add_full(GDK_PRIORITY_REDRAW, slowFrame, nullptr, nullptr)) {}
    ~DrawingAlwaysDue() { g_source_remove(m_source); }
    DrawingAlwaysDue(const DrawingAlwaysDue&) = delete;
    DrawingAlwaysDue& operator=(const DrawingAlwaysDue&) = delete;

private:
    static gboolean slowFrame(gpointer) {
        g_usleep(2000);
        return G_SOURCE_CONTINUE;
    }
    guint m_source;
};

TEST_F(MainWindowDisplayTest, TabsAndCommandsKeepWorkingWhileDrawingIsAlwaysDue) {
    ASSERT_TRUE(loaded(state.activeTabId, "Home"));
    DrawingAlwaysDue slowDisplay;

    state.newTab(Url::parse(server.url("/other")));
    const Uuid second = state.activeTabId;
    EXPECT_TRUE(loaded(second, "Other")) << "the new tab's view is built and reports its page";
    state.navigate(server.url("/home"));
    EXPECT_TRUE(runMainLoopUntil([&] { return !state.navigationCommand->has_value(); }));
    EXPECT_TRUE(loaded(second, "Home"));
    state.closeTab(second);
    EXPECT_TRUE(runMainLoopUntil([&] { return window->contentView().webArea().hostCount() == 1u; }));
}

TEST_F(MainWindowDisplayTest, ZoomReachesTheActiveViewAndANewTabStartsAtActualSize) {
    ASSERT_TRUE(loaded(state.activeTabId, "Home"));
    post(names::kZoomIn);
    post(names::kZoomIn);
    EXPECT_EQ(window->contentView().statusBar().zoomBadge().get_text(), "120%");
    EXPECT_TRUE(runMainLoopUntil([&] { return !state.navigationCommand->has_value(); }));
    post(names::kNewTab);
    const Uuid second = state.activeTabId;
    ASSERT_TRUE(runMainLoopUntil([&] { return host() && host()->tabId() == second; }));
    ASSERT_TRUE(loaded(second, "Home"));
    EXPECT_DOUBLE_EQ(state.pageZoom.get(), 1.2000000000000002);
}

TEST_F(MainWindowDisplayTest, NewAndCloseTabNotifications) {
    post(names::kCloseTab);
    EXPECT_EQ(state.tabs->size(), 1u) << "the only tab stays";
    post(names::kNewTab);
    ASSERT_EQ(state.tabs->size(), 2u);
    EXPECT_EQ(state.tabs->back().title, "New Tab");
    EXPECT_EQ(state.activeTabId.get(), state.tabs->back().id);
    EXPECT_EQ(window->contentView().statusBar().tabCount().get_text(), "2 tabs");
    post(names::kCloseTab);
    EXPECT_EQ(state.tabs->size(), 1u);
}

TEST_F(MainWindowDisplayTest, ChangeThemeMatchesTheExactName) {
    post(names::kChangeTheme, "Lime");
    EXPECT_EQ(state.colorTheme.get(), OrvelColorTheme::lime);
    post(names::kChangeTheme, "grape");
    post(names::kChangeTheme, std::nullopt);
    EXPECT_EQ(state.colorTheme.get(), OrvelColorTheme::lime);
    EXPECT_EQ(window->contentView().statusBar().themeSwatch().get_tooltip_text(), "Theme: Lime");
}

TEST_F(MainWindowDisplayTest, ToolbarAndExplorerNotificationsFlipTheirSwitches) {
    post(names::kToggleToolbar);
    EXPECT_TRUE(state.isToolbarCollapsed.get());
    post(names::kToggleToolbar);
    EXPECT_FALSE(state.isToolbarCollapsed.get());

    post(names::kToggleExplorerBar);
    EXPECT_FALSE(state.isExplorerBarVisible.get());
    post(names::kShowSearch);
    EXPECT_TRUE(state.isExplorerBarVisible.get());
    EXPECT_EQ(state.selectedExplorerTab.get(), ExplorerBarTab::search);
    post(names::kShowScrapbook);
    EXPECT_EQ(state.selectedExplorerTab.get(), ExplorerBarTab::scrapbook);
    post(names::kToggleExplorerBar);
    post(names::kToggleExplorerBar);
    EXPECT_EQ(state.selectedExplorerTab.get(), ExplorerBarTab::scrapbook) << "shows the panel it showed last";
}

TEST_F(MainWindowDisplayTest, AGoneWindowNoLongerAnswers) {
    window.reset();
    post(names::kNewTab);
    EXPECT_EQ(state.tabs->size(), 1u);
}

// The window's buttons that are shown, left and right of the toolbar, in their order.
std::string windowButtons(Gtk::Widget& root, Gtk::Widget& toolbar) {
    std::string left = "left:", right = " right:";
    std::function<void(Gtk::Widget&)> visit = [&](Gtk::Widget& widget) {
        for (const char* name : {"minimize", "maximize", "close"}) {
            double x = 0, y = 0;
            if (dynamic_cast<Gtk::Button*>(&widget) && widget.has_css_class(name) && widget.get_mapped() &&
                widget.translate_coordinates(toolbar, 0, 0, x, y))
                (x < 0 ? left : right) += std::string(" ") + name;
        }
        for (auto* child = widget.get_first_child(); child; child = child->get_next_sibling()) visit(*child);
    };
    visit(root);
    return left + right;
}

TEST_F(MainWindowDisplayTest, WindowControlsFollowTheDesktopsLayout) {
    auto settings = Gtk::Settings::get_default();
    const Glib::ustring desktops = settings->property_gtk_decoration_layout();
    const auto buttons = [&] { return windowButtons(window->contentView().titleBar(), window->contentView().toolbar()); };
    const auto layoutShows = [&](const char* layout, const std::string& expected) {
        settings->property_gtk_decoration_layout() = layout;
        return runMainLoopUntil([&] { return buttons() == expected; });
    };
    EXPECT_TRUE(layoutShows("close,minimize,maximize:", "left: close minimize maximize right:")) << buttons();
    EXPECT_TRUE(layoutShows(":minimize,maximize,close", "left: right: minimize maximize close")) << buttons();
    EXPECT_TRUE(layoutShows("close:maximize", "left: close right: maximize")) << buttons();
    settings->property_gtk_decoration_layout() = desktops;
}

TEST_F(MainWindowDisplayTest, OpenPreferencesShowsTheSheetOverTheWindow) {
    const auto sheets = [&] {
        int count = 0;
        for (Gtk::Window* w : Gtk::Window::list_toplevels())
            if (w->get_transient_for() == window.get() && w->get_modal() && w->get_visible()) ++count;
        return count;
    };
    EXPECT_EQ(sheets(), 0);
    post(names::kOpenPreferences);
    EXPECT_TRUE(runMainLoopUntil([&] { return sheets() == 1; }));
    post(names::kOpenPreferences);
    testing::drainMainLoop();
    EXPECT_EQ(sheets(), 1) << "one sheet at a time";
}

TEST_F(MainWindowDisplayTest, TheExplorerBarFollowsTheMenuAndKeepsItsPanel) {
    ContentView& content = window->contentView();
    ASSERT_NE(content.explorerBar(), nullptr) << "visible at start";
    post(names::kShowSearch);
    EXPECT_EQ(state.selectedExplorerTab.get(), ExplorerBarTab::search);
    post(names::kToggleExplorerBar);
    EXPECT_FALSE(state.isExplorerBarVisible.get());
    EXPECT_TRUE(runMainLoopUntil([&] { return content.explorerBar() == nullptr; })) << "released once slid out";
    post(names::kToggleExplorerBar);
    ASSERT_NE(content.explorerBar(), nullptr);
    EXPECT_EQ(state.selectedExplorerTab.get(), ExplorerBarTab::search) << "reopens on the panel it showed last";
    post(names::kToggleExplorerBar);
    post(names::kShowHistory);
    EXPECT_TRUE(state.isExplorerBarVisible.get());
    EXPECT_NE(content.explorerBar(), nullptr);
    EXPECT_EQ(state.selectedExplorerTab.get(), ExplorerBarTab::history);
}

}  // namespace
}  // namespace sarvik
