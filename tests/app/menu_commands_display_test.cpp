#include "app/menu_commands.h"

#include "core/notification_center.h"
#include "core/notification_names.h"
#include "support/display/gtk_test_environment.h"
#include "support/loopback_http_server.h"
#include "support/temporary_directory.h"
#include "views/window/main_window.h"

#include <gtkmm/entry.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

namespace sarvik {
namespace {

using testing::runMainLoopUntil;
namespace names = notifications;

// Every notification of the menu table, as it arrives.
class NotificationRecorder {
public:
    NotificationRecorder() {
        for (auto name : {names::kNewTab, names::kCloseTab, names::kToggleExplorerBar, names::kToggleToolbar,
                          names::kShowFavorites, names::kShowHistory, names::kShowSearch, names::kShowScrapbook,
                          names::kShowAuction, names::kChangeTheme, names::kZoomIn, names::kZoomOut, names::kResetZoom,
                          names::kReopenClosedTab, names::kPrintPage, names::kImportFavorites, names::kExportFavorites,
                          names::kRestoreFavorites, names::kFindInPage, names::kFindNext, names::kFindPrevious})
            m_subscriptions.push_back(NotificationCenter::defaultCenter().subscribe(
                name, [this](const Notification& n) { received.push_back(n); }));
    }
    std::vector<Notification> received;

private:
    std::vector<ScopedConnection> m_subscriptions;
};

std::string label(const Glib::RefPtr<Gio::MenuModel>& menu, int index) {
    const auto value = menu->get_item_attribute(index, Gio::MenuModel::Attribute::LABEL, Glib::VARIANT_TYPE_STRING);
    return value ? std::string(Glib::VariantBase::cast_dynamic<Glib::Variant<Glib::ustring>>(value).get()) : "";
}

std::vector<std::string> labels(const Glib::RefPtr<Gio::MenuModel>& menu) {
    std::vector<std::string> result;
    for (int i = 0; i < menu->get_n_items(); ++i) {
        if (auto section = menu->get_item_link(i, Gio::MenuModel::Link::SECTION)) {
            for (const auto& text : labels(section)) result.push_back(text);
            result.push_back("-");
        } else {
            result.push_back(label(menu, i));
        }
    }
    if (!result.empty() && result.back() == "-") result.pop_back();
    return result;
}

class MenuCommandsDisplayTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        menuBar() = installMenuCommands(*testing::testApplication(), [] { ++preferencesWindowOpenings(); });
    }
    static int& preferencesWindowOpenings() {
        static int count = 0;
        return count;
    }
    static Glib::RefPtr<Gio::Menu>& menuBar() {
        static Glib::RefPtr<Gio::Menu> bar;
        return bar;
    }
    static Glib::RefPtr<Gio::MenuModel> submenu(int index) { return menuBar()->get_item_link(index, Gio::MenuModel::Link::SUBMENU); }

    NotificationRecorder recorder;
};

TEST_F(MenuCommandsDisplayTest, TheMenuBarListsItsMenusAndItemsInOrder) {
    ASSERT_EQ(menuBar()->get_n_items(), 6);
    EXPECT_EQ(label(menuBar(), 0), "File");
    EXPECT_EQ(label(menuBar(), 1), "Edit");
    EXPECT_EQ(label(menuBar(), 2), "Explorer");
    EXPECT_EQ(label(menuBar(), 3), "Zoom");
    EXPECT_EQ(label(menuBar(), 4), "Theme");
    EXPECT_EQ(label(menuBar(), 5), "Window");
    EXPECT_EQ(labels(submenu(0)),
              (std::vector<std::string>{"New Tab", "Close Tab", "Reopen Closed Tab", "-", "Import Favorites…",
                                        "Export Favorites…", "Restore Favorites…", "-", "Print…"}));
    EXPECT_EQ(labels(submenu(1)), (std::vector<std::string>{"Find", "Find Next", "Find Previous"}));
    EXPECT_EQ(labels(submenu(2)), (std::vector<std::string>{"Toggle Explorer Bar", "Toggle Toolbar", "-", "Favorites",
                                                            "History", "Search", "Internet Scrapbook", "Auction Manager"}));
    EXPECT_EQ(labels(submenu(3)), (std::vector<std::string>{"Zoom In", "Zoom Out", "Actual Size"}));
    EXPECT_EQ(labels(submenu(4)), (std::vector<std::string>{"Blueberry", "Grape", "Tangerine", "Lime", "Strawberry",
                                                            "Graphite", "PowerBook"}));
    EXPECT_EQ(labels(submenu(5)), (std::vector<std::string>{"Preferences"}));
}

TEST_F(MenuCommandsDisplayTest, WindowPreferencesOpensThePreferencesWindowWithCtrlComma) {
    const int before = preferencesWindowOpenings();
    testing::testApplication()->activate_action("preferences");
    EXPECT_EQ(preferencesWindowOpenings(), before + 1);
    EXPECT_TRUE(recorder.received.empty()) << "the window menu posts nothing";
    const auto accels = testing::testApplication()->get_accels_for_action("app.preferences");
    ASSERT_EQ(accels.size(), 1u);
    EXPECT_EQ(accels[0], "<Control>comma");
}

TEST_F(MenuCommandsDisplayTest, EachItemPostsItsNotification) {
    const std::vector<std::pair<const char*, std::string_view>> table = {
        {"new-tab", names::kNewTab}, {"close-tab", names::kCloseTab},
        {"toggle-explorer-bar", names::kToggleExplorerBar}, {"toggle-toolbar", names::kToggleToolbar},
        {"show-favorites", names::kShowFavorites}, {"show-history", names::kShowHistory},
        {"show-search", names::kShowSearch}, {"show-scrapbook", names::kShowScrapbook},
        {"show-auction", names::kShowAuction}, {"zoom-in", names::kZoomIn}, {"zoom-out", names::kZoomOut},
        {"reset-zoom", names::kResetZoom}, {"reopen-closed-tab", names::kReopenClosedTab},
        {"print-page", names::kPrintPage}, {"import-favorites", names::kImportFavorites},
        {"export-favorites", names::kExportFavorites}, {"restore-favorites", names::kRestoreFavorites},
        {"find-in-page", names::kFindInPage}, {"find-next", names::kFindNext}, {"find-previous", names::kFindPrevious}};
    for (const auto& [action, name] : table) {
        recorder.received.clear();
        testing::testApplication()->activate_action(action);
        ASSERT_EQ(recorder.received.size(), 1u) << action;
        EXPECT_EQ(recorder.received[0].name, name);
        EXPECT_EQ(recorder.received[0].object, std::nullopt);
    }
    testing::testApplication()->activate_action("change-theme", Glib::Variant<Glib::ustring>::create("Grape"));
    ASSERT_EQ(recorder.received.size(), 2u);
    EXPECT_EQ(recorder.received[1].name, names::kChangeTheme);
    EXPECT_EQ(recorder.received[1].object, "Grape");
}

TEST_F(MenuCommandsDisplayTest, ShortcutsAreBound) {
    const auto accels = [](const char* action) {
        std::vector<std::string> result;
        for (const auto& a : testing::testApplication()->get_accels_for_action(action)) result.push_back(a);
        return result;
    };
    EXPECT_EQ(accels("app.new-tab"), std::vector<std::string>{"<Control>t"});
    EXPECT_EQ(accels("app.show-search"), std::vector<std::string>{"<Control><Alt>3"});
    EXPECT_EQ(accels("app.reopen-closed-tab"), std::vector<std::string>{"<Shift><Control>t"});
    EXPECT_EQ(accels("app.print-page"), std::vector<std::string>{"<Control>p"});
    EXPECT_EQ(accels("app.find-in-page"), std::vector<std::string>{"<Control>f"});
    const auto zoomIn = accels("app.zoom-in");
    EXPECT_NE(std::find(zoomIn.begin(), zoomIn.end(), "<Control>plus"), zoomIn.end());
    EXPECT_NE(std::find(zoomIn.begin(), zoomIn.end(), "<Control>equal"), zoomIn.end());
}

// Real key presses on a real main window, with its web view showing a local page.
class MainWindowKeysDisplayTest : public MenuCommandsDisplayTest {
protected:
    void SetUp() override {
        server.serve("/home", "<!doctype html><title>Home</title>home");
        server.serve("/typed", "<!doctype html><title>Typed</title>typed");
        state.homePage = server.url("/home");
        window = std::make_unique<MainWindow>(state, auctions, folder.path());
        testing::testApplication()->add_window(*window);
        window->present();
        ASSERT_TRUE(runMainLoopUntil([&] { return window->is_active() && state.activeTab()->title == "Home"; }));
    }
    void TearDown() override {
        testing::testApplication()->remove_window(*window);
        window.reset();
        testing::drainMainLoop();
    }
    static void key(const char* keys) {
        ASSERT_EQ(std::system((std::string("xdotool key --clearmodifiers ") + keys).c_str()), 0);
    }

    testing::LoopbackHttpServer server;
    testing::TemporaryDirectory folder;
    BrowserState state;
    AuctionStore auctions{folder.path()};
    std::unique_ptr<MainWindow> window;
};

TEST_F(MainWindowKeysDisplayTest, CtrlTAddsATabAndCtrlWClosesAllButTheLast) {
    key("ctrl+t");
    ASSERT_TRUE(runMainLoopUntil([&] { return state.tabs->size() == 2; }));
    EXPECT_EQ(state.activeTabId.get(), state.tabs->back().id);
    key("ctrl+w");
    ASSERT_TRUE(runMainLoopUntil([&] { return state.tabs->size() == 1; }));
    key("ctrl+w");
    key("ctrl+alt+3");
    ASSERT_TRUE(runMainLoopUntil([&] { return state.selectedExplorerTab.get() == ExplorerBarTab::search; }));
    EXPECT_EQ(state.tabs->size(), 1u) << "the only tab stays";
    const auto closes = std::count_if(recorder.received.begin(), recorder.received.end(),
                                      [](const Notification& n) { return n.name == names::kCloseTab; });
    EXPECT_EQ(closes, 2);
}

TEST_F(MainWindowKeysDisplayTest, ZoomShortcutsChangeThePageZoom) {
    key("ctrl+equal");
    ASSERT_TRUE(runMainLoopUntil([&] { return state.pageZoom.get() > 1.05; }));
    key("ctrl+plus");
    ASSERT_TRUE(runMainLoopUntil([&] { return state.pageZoom.get() > 1.15; }));
    EXPECT_EQ(window->contentView().statusBar().zoomBadge().get_text(), "120%");
    key("ctrl+minus");
    ASSERT_TRUE(runMainLoopUntil([&] { return state.pageZoom.get() < 1.15; }));
    key("ctrl+0");
    ASSERT_TRUE(runMainLoopUntil([&] { return state.pageZoom.get() == 1.0; }));
}

TEST_F(MainWindowKeysDisplayTest, ATypedAddressLoadsInTheActiveTab) {
    auto* entry = dynamic_cast<Gtk::Entry*>(testing::findDescendant(window->contentView().titleBar(), "address-entry"));
    ASSERT_NE(entry, nullptr);
    entry->grab_focus();
    entry->set_text("");
    const std::string typed = "xdotool type --delay 5 '" + server.url("/typed") + "'";
    ASSERT_EQ(std::system(typed.c_str()), 0);
    key("Return");
    EXPECT_TRUE(runMainLoopUntil([&] { return state.activeTab()->title == "Typed"; }));
    EXPECT_EQ(state.addressBarText.get(), server.url("/typed"));
}

TEST_F(MainWindowKeysDisplayTest, CtrlLAndF6FocusTheAddressFieldWithItsTextSelected) {
    auto* entry = dynamic_cast<Gtk::Entry*>(testing::findDescendant(window->contentView().titleBar(), "address-entry"));
    ASSERT_NE(entry, nullptr);
    ASSERT_TRUE(runMainLoopUntil([&] { return std::string(entry->get_text()) == server.url("/home"); }));
    // The entry's focus is on its inner text widget.
    const auto entryFocused = [&] {
        for (Gtk::Widget* w = window->get_focus(); w; w = w->get_parent())
            if (w == entry) return true;
        return false;
    };
    const auto selectedAll = [&] {
        int start = 0, end = 0;
        return entryFocused() && entry->get_selection_bounds(start, end) && start == 0 &&
               end == static_cast<int>(entry->get_text().size());
    };
    for (const char* keys : {"ctrl+l", "F6"}) {
        window->contentView().webArea().host()->focusPage();
        ASSERT_TRUE(runMainLoopUntil([&] { return !entryFocused(); }));
        EXPECT_EQ(testing::selectedWhenFocused(*entry, [&] { key(keys); }), true) << keys;
        EXPECT_TRUE(runMainLoopUntil(selectedAll)) << keys;
    }
}

TEST_F(MainWindowKeysDisplayTest, TheFocusedPageHasItsKeysFirstAndTheBrowserKeepsItsOwn) {
    // Ctrl+B in an editable area makes text bold; the page says so in its title.
    server.serve("/edit", "<!doctype html><title>Edit</title><div id=e contenteditable>hello</div><script>"
                          "const e=document.getElementById('e');e.focus();getSelection().selectAllChildren(e);"
                          "onkeyup=()=>{document.title='bold='+document.queryCommandState('bold')}</script>");
    state.navigate(server.url("/edit"));
    ASSERT_TRUE(runMainLoopUntil([&] { return state.activeTab()->title == "Edit"; }));
    window->contentView().webArea().host()->focusPage();
    key("ctrl+b");
    EXPECT_TRUE(runMainLoopUntil([&] { return state.activeTab()->title == "bold=true"; }));
    EXPECT_FALSE(state.isToolbarCollapsed.get()) << "the page took Ctrl+B";

    // Keys the page leaves alone reach the browser's shortcut, each once, however fast they come.
    key("ctrl+e ctrl+e ctrl+e");
    const auto toggles = [&] {
        return std::count_if(recorder.received.begin(), recorder.received.end(),
                             [](const Notification& n) { return n.name == names::kToggleExplorerBar; });
    };
    EXPECT_TRUE(runMainLoopUntil([&] { return toggles() == 3; })) << toggles();
    EXPECT_FALSE(state.isExplorerBarVisible.get());

    // Reserved keys never go to the page: Ctrl+T opens a tab whose address field takes the typing.
    key("ctrl+t");
    ASSERT_TRUE(runMainLoopUntil([&] { return state.tabs->size() == 2; }));
    auto* entry = dynamic_cast<Gtk::Entry*>(testing::findDescendant(window->contentView().titleBar(), "address-entry"));
    ASSERT_NE(entry, nullptr);
    ASSERT_EQ(std::system("xdotool type --delay 5 typed"), 0);
    EXPECT_TRUE(runMainLoopUntil([&] { return std::string(entry->get_text()) == "typed"; }));
}

TEST_F(MainWindowKeysDisplayTest, CtrlLOnACollapsedToolbarShowsTheFieldForTheTyping) {
    state.isToolbarCollapsed = true;
    window->contentView().webArea().host()->focusPage();
    key("ctrl+l");
    ASSERT_TRUE(runMainLoopUntil([&] { return !state.isToolbarCollapsed.get(); }));
    auto* entry = dynamic_cast<Gtk::Entry*>(testing::findDescendant(window->contentView().titleBar(), "address-entry"));
    ASSERT_NE(entry, nullptr);
    ASSERT_EQ(std::system("xdotool type --delay 5 xyz"), 0);
    EXPECT_TRUE(runMainLoopUntil([&] { return std::string(entry->get_text()) == "xyz"; }));
}

}  // namespace
}  // namespace sarvik
