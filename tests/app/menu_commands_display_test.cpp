#include "app/keyboard_shortcuts.h"
#include "app/menu_commands.h"
#include "app/quit_request.h"

#include "core/notification_names.h"
#include "support/display/browser_window_harness.h"
#include "support/display/ui_driver.h"

#include <gtkmm/entry.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <vector>

namespace sarvik {
namespace {

using testing::runMainLoopUntil;
namespace names = notifications;

struct MenuItem {
    const char* action;
    std::string_view notification;
    std::vector<std::string> keys;
};
const MenuItem kItems[] = {
    {"new-tab", names::kNewTab, {"<Control>t"}}, {"close-tab", names::kCloseTab, {"<Control>w"}},
    {"toggle-explorer-bar", names::kToggleExplorerBar, {"<Control>e"}}, {"toggle-toolbar", names::kToggleToolbar, {}},
    {"show-favorites", names::kShowFavorites, {}}, {"show-history", names::kShowHistory, {}},
    {"show-search", names::kShowSearch, {"<Control><Alt>3"}}, {"show-scrapbook", names::kShowScrapbook, {}},
    {"show-auction", names::kShowAuction, {}}, {"zoom-in", names::kZoomIn, {"<Control>plus", "<Control>equal"}},
    {"zoom-out", names::kZoomOut, {}}, {"reset-zoom", names::kResetZoom, {}},
    {"reopen-closed-tab", names::kReopenClosedTab, {"<Shift><Control>t"}}, {"print-page", names::kPrintPage, {"<Control>p"}},
    {"import-favorites", names::kImportFavorites, {}}, {"export-favorites", names::kExportFavorites, {}},
    {"restore-favorites", names::kRestoreFavorites, {}}, {"find-in-page", names::kFindInPage, {"<Control>f"}},
    {"find-next", names::kFindNext, {}}, {"find-previous", names::kFindPrevious, {}},
    {"change-theme", names::kChangeTheme, {}}};

class MenuCommandsDisplayTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        testing::testApplication()->set_menubar(installMenuCommands(
            *testing::testApplication(),
            {.openPreferencesWindow = [] { ++preferencesOpened(); }, .quit = [] { ++quitsAsked(); }}));
    }
    static int& preferencesOpened() {
        static int count = 0;
        return count;
    }
    static int& quitsAsked() {
        static int count = 0;
        return count;
    }
    MenuCommandsDisplayTest() {
        for (const auto& item : kItems)
            subscriptions.push_back(NotificationCenter::defaultCenter().subscribe(
                item.notification, [this](const Notification& n) { received.push_back(n); }));
    }
    long count(std::string_view name) const {
        return std::count_if(received.begin(), received.end(), [&](const Notification& n) { return n.name == name; });
    }
    static void key(const std::string& keys) { ASSERT_EQ(std::system(("xdotool key --clearmodifiers " + keys).c_str()), 0); }
    static void type(const std::string& text) { ASSERT_EQ(std::system(("xdotool type --delay 5 '" + text + "'").c_str()), 0); }
    std::vector<Notification> received;
    std::vector<ScopedConnection> subscriptions;
};

TEST_F(MenuCommandsDisplayTest, EachItemPostsItsNotificationOnceAndHasItsKeys) {
    for (const auto& item : kItems) {
        received.clear();
        const bool theme = item.notification == names::kChangeTheme;
        if (theme) testing::testApplication()->activate_action(item.action, Glib::Variant<Glib::ustring>::create("Grape"));
        else testing::testApplication()->activate_action(item.action);
        ASSERT_EQ(received.size(), 1u) << item.action;
        EXPECT_EQ(received[0].name, item.notification);
        EXPECT_EQ(received[0].object, theme ? std::optional<std::string>("Grape") : std::nullopt) << item.action;
        const auto accels = testing::testApplication()->get_accels_for_action(std::string("app.") + item.action);
        for (const auto& wanted : item.keys)
            EXPECT_NE(std::find(accels.begin(), accels.end(), Glib::ustring(wanted)), accels.end()) << item.action << " " << wanted;
    }
    received.clear();
    const int before = preferencesOpened();
    testing::testApplication()->activate_action("preferences");
    EXPECT_EQ(preferencesOpened(), before + 1);
    EXPECT_TRUE(received.empty()) << "the window menu posts nothing";
    EXPECT_EQ(testing::testApplication()->get_accels_for_action("app.preferences"),
              std::vector<Glib::ustring>{"<Control>comma"});
    testing::testApplication()->activate_action("quit");
    EXPECT_EQ(quitsAsked(), 1);
    EXPECT_EQ(testing::testApplication()->get_accels_for_action("app.quit"), std::vector<Glib::ustring>{"<Control>q"});
}

// Real key presses on a real main window showing a loopback page.
class MainWindowKeysDisplayTest : public MenuCommandsDisplayTest {
protected:
    void SetUp() override {
        ASSERT_TRUE(runMainLoopUntil([&] { return b.window->is_active() && b.activeLoaded("Home"); }));
    }
    Gtk::Entry& address() { return *dynamic_cast<Gtk::Entry*>(testing::findDescendant(b.content().titleBar(), "address-entry")); }
    bool addressFocused() {
        for (Gtk::Widget* w = b.window->get_focus(); w; w = w->get_parent())
            if (w == &address()) return true;  // its focus is on its inner text widget
        return false;
    }
    testing::BrowserWindowHarness b;
};

TEST_F(MainWindowKeysDisplayTest, KeysOpenAndCloseTabsZoomShowTheSearchAndTakeTheAddressField) {
    key("ctrl+t");
    ASSERT_TRUE(runMainLoopUntil([&] { return b.state.tabs->size() == 2; }));
    EXPECT_EQ(b.state.activeTabId.get(), b.state.tabs->back().id);
    key("ctrl+w");
    ASSERT_TRUE(runMainLoopUntil([&] { return b.state.tabs->size() == 1; }));
    key("ctrl+w");
    key("ctrl+alt+3");
    ASSERT_TRUE(runMainLoopUntil([&] { return b.state.selectedExplorerTab.get() == ExplorerBarTab::search; }));
    EXPECT_EQ(b.state.tabs->size(), 1u) << "the only tab stays";
    EXPECT_EQ(count(names::kCloseTab), 2);
    key("ctrl+equal");
    ASSERT_TRUE(runMainLoopUntil([&] { return b.state.pageZoom.get() > 1.05; }));
    key("ctrl+plus");
    ASSERT_TRUE(runMainLoopUntil([&] { return b.state.pageZoom.get() > 1.15; }));
    EXPECT_EQ(b.content().statusBar().zoomBadge().get_text(), "120%");
    key("ctrl+minus");
    ASSERT_TRUE(runMainLoopUntil([&] { return b.state.pageZoom.get() < 1.15; }));
    key("ctrl+0");
    EXPECT_TRUE(runMainLoopUntil([&] { return b.state.pageZoom.get() == 1.0; }));

    // Ctrl+L and F6 give the address field the keyboard with its text selected.
    ASSERT_TRUE(runMainLoopUntil([&] { return std::string(address().get_text()) == b.server.url("/home"); }));
    const auto selectedAll = [&] {
        int start = 0, end = 0;
        return addressFocused() && address().get_selection_bounds(start, end) && start == 0 &&
               end == static_cast<int>(address().get_text().size());
    };
    for (const char* keys : {"ctrl+l", "F6"}) {
        b.host()->focusPage();
        ASSERT_TRUE(runMainLoopUntil([&] { return !addressFocused(); }));
        EXPECT_EQ(testing::selectedWhenFocused(address(), [&] { key(keys); }), true) << keys;
        EXPECT_TRUE(runMainLoopUntil(selectedAll)) << keys;
    }
}

TEST_F(MainWindowKeysDisplayTest, TheFocusedPageHasItsKeysFirstAndTheBrowserKeepsItsOwn) {
    // Ctrl+B in an editable area makes text bold; the page says so in its title.
    b.serve("/edit", "Edit", "<div id=e contenteditable>hello</div><script>const e=document.getElementById('e');"
                             "e.focus();getSelection().selectAllChildren(e);"
                             "onkeyup=()=>{document.title='bold='+document.queryCommandState('bold')}</script>");
    b.state.navigate(b.server.url("/edit"));
    ASSERT_TRUE(b.activeLoaded("Edit"));
    b.host()->focusPage();
    key("ctrl+b");
    EXPECT_TRUE(b.activeLoaded("bold=true"));
    EXPECT_FALSE(b.state.isToolbarCollapsed.get()) << "the page took Ctrl+B";
    // Keys the page leaves alone reach the browser's shortcut, each once, however fast they come.
    key("ctrl+e ctrl+e ctrl+e");
    EXPECT_TRUE(runMainLoopUntil([&] { return count(names::kToggleExplorerBar) == 3; }))
        << count(names::kToggleExplorerBar);
    EXPECT_FALSE(b.state.isExplorerBarVisible.get());
    // Reserved keys never go to the page: Ctrl+T opens a tab whose address field takes the typing.
    key("ctrl+t");
    ASSERT_TRUE(runMainLoopUntil([&] { return b.state.tabs->size() == 2; }));
    type("typed");
    EXPECT_TRUE(runMainLoopUntil([&] { return std::string(address().get_text()) == "typed"; }));
}

// The accelerators of every row of a shown Keyboard Shortcuts window, space between them.
std::vector<std::string> listedKeys() {
    std::vector<std::string> keys;
    for (Gtk::Window* window : Gtk::Window::list_toplevels()) {
        if (!GTK_IS_SHORTCUTS_WINDOW(window->gobj()) || !window->get_visible()) continue;
        for (auto* row : testing::findAll<Gtk::Widget>(*window, [](Gtk::Widget& w) { return GTK_IS_SHORTCUTS_SHORTCUT(w.gobj()); })) {
            gchar* accelerator = nullptr;
            g_object_get(row->gobj(), "accelerator", &accelerator, nullptr);
            keys.emplace_back(accelerator ? accelerator : "");
            g_free(accelerator);
        }
    }
    return keys;
}

TEST_F(MainWindowKeysDisplayTest, CtrlQuestionListsEveryKeyAndQuitClosesEveryWindowAskingWhileDownloadsRun) {
    addKeyboardShortcutsWindow(*testing::testApplication(), *b.window);
    key("ctrl+question");
    ASSERT_TRUE(runMainLoopUntil([&] { return !listedKeys().empty(); }));
    const auto keys = listedKeys();
    const auto listed = [&](const std::string& accelerator) {
        return std::any_of(keys.begin(), keys.end(), [&](const std::string& row) {
            return (" " + row + " ").find(" " + accelerator + " ") != std::string::npos;
        });
    };
    for (const auto& action : testing::testApplication()->list_action_descriptions())
        for (const auto& accelerator : testing::testApplication()->get_accels_for_action(action))
            EXPECT_TRUE(listed(accelerator)) << action << " " << accelerator;
    for (const char* windowKey : {"<Control>Tab", "<Control><Shift>Tab", "<Control><Shift>Page_Down", "<Alt>1...8",
                                  "<Alt>9", "F6", "<Control>question", "<Control>q", "<Shift>F10", "Menu", "Delete"})
        EXPECT_TRUE(listed(windowKey)) << windowKey;
    key("Escape");
    ASSERT_TRUE(runMainLoopUntil([&] { return listedKeys().empty(); }));

    testing::sendKeysTo(*b.window);  // no window manager here hands the focus back
    key("ctrl+q");
    EXPECT_TRUE(runMainLoopUntil([&] { return quitsAsked() == 1; })) << "Ctrl+Q reaches the quit command";
    int quits = 0;
    const auto question = [] { return testing::findWindow("quit-question"); };
    requestQuit(*testing::testApplication(), 2, [&] { ++quits; });
    ASSERT_TRUE(runMainLoopUntil([&] { return question() != nullptr; }));
    EXPECT_NE(testing::textOf(*question()).find("2 downloads are in progress"), std::string::npos);
    ASSERT_TRUE(testing::click(testing::findButton(*question(), "Cancel")));
    ASSERT_TRUE(runMainLoopUntil([&] { return question() == nullptr; }));
    EXPECT_EQ(quits, 0);
    EXPECT_TRUE(b.window->get_visible());
    requestQuit(*testing::testApplication(), 1, [&] { ++quits; });
    ASSERT_TRUE(runMainLoopUntil([&] { return question() != nullptr; }));
    ASSERT_TRUE(testing::click(testing::findButton(*question(), "Quit")));
    EXPECT_TRUE(runMainLoopUntil([&] { return quits == 1 && !b.window->get_visible(); }));
}

}  // namespace
}  // namespace sarvik
