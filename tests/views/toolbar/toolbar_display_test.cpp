#include "core/notification_center.h"
#include "core/notification_names.h"
#include "support/display/gtk_test_environment.h"
#include "support/display/x_input.h"
#include "views/common/theme_stylesheet.h"
#include "views/toolbar/toolbar_symbols.h"
#include "views/toolbar/toolbar_view.h"

#include <gdkmm/frameclock.h>
#include <gtkmm/image.h>
#include <gtkmm/window.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

namespace sarvik {
namespace {

void collectByName(Gtk::Widget& root, const std::string& name, std::vector<Gtk::Widget*>& found) {
    if (root.get_name().raw() == name) found.push_back(&root);
    for (Gtk::Widget* child = root.get_first_child(); child; child = child->get_next_sibling())
        collectByName(*child, name, found);
}

std::vector<Gtk::Widget*> allNamed(Gtk::Widget& root, const std::string& name) {
    std::vector<Gtk::Widget*> found;
    collectByName(root, name, found);
    return found;
}

template <typename W = Gtk::Widget>
W& named(Gtk::Widget& root, const std::string& name) {
    const auto found = allNamed(root, name);
    if (found.size() != 1) throw std::runtime_error(name + ": " + std::to_string(found.size()) + " widgets");
    return dynamic_cast<W&>(*found.front());
}

std::string iconOf(Gtk::Widget& button) {
    auto* image = dynamic_cast<Gtk::Image*>(button.get_first_child());
    return image ? std::string(image->get_icon_name()) : std::string();
}

using testing::pointerAt;
using testing::sendKeysTo;

void pointerClick(Gtk::Widget& widget) { pointerAt(widget, "click 1"); }

// The width a widget is drawn at inside its parent, CSS transform included.
double drawnWidth(Gtk::Widget& widget) {
    graphene_rect_t bounds;
    if (!gtk_widget_compute_bounds(widget.gobj(), widget.get_parent()->gobj(), &bounds)) return 0;
    return bounds.size.width;
}

void click(Gtk::Widget& button) { g_signal_emit_by_name(dynamic_cast<Gtk::Button&>(button).gobj(), "clicked"); }

class ToolbarDisplayTest : public ::testing::Test {
protected:
    ToolbarDisplayTest() {
        m_window.set_default_size(1000, -1);
        m_window.set_child(m_toolbar);
        m_window.present();
        testing::runMainLoopUntil([&] { return m_toolbar.get_mapped() && m_toolbar.get_width() > 0; });
    }
    ~ToolbarDisplayTest() override { m_window.unset_child(); }

    Gtk::Widget& expanded() { return named(m_toolbar, "expanded-toolbar"); }
    Gtk::Widget& collapsed() { return named(m_toolbar, "collapsed-toolbar"); }
    const BrowserTab& firstTab() { return m_state.tabs->front(); }
    void updateActive(const std::function<void(BrowserTab&)>& change) { m_state.updateTab(m_state.activeTabId, change); }

    BrowserState m_state;
    ThemeStylesheet m_stylesheet{m_state, Gdk::Display::get_default()};
    OrvelToolbarView m_toolbar{m_state};
    Gtk::Window m_window;
};

TEST_F(ToolbarDisplayTest, TabStripAppearsWithTwoTabsAndGoesWithOne) {
    auto& strip = named<TabStrip>(m_toolbar, "tab-strip");
    EXPECT_FALSE(strip.get_visible());
    m_state.updateTab(firstTab().id, [](BrowserTab& tab) { tab.title = "First page"; });
    m_state.newTab();
    EXPECT_TRUE(strip.get_visible());
    ASSERT_EQ(strip.itemCount(), 2u);
    EXPECT_EQ(allNamed(strip, "tab-close-button").size(), 2u);
    EXPECT_EQ(std::string(strip.item(0).title().get_text()), "First page");
    EXPECT_FALSE(strip.item(0).has_css_class("active"));
    EXPECT_TRUE(strip.item(1).has_css_class("active"));

    // A loading tab gets a spinner; its item is updated, not rebuilt.
    TabItem* first = &strip.item(0);
    m_state.updateTab(firstTab().id, [](BrowserTab& tab) { tab.isLoading = true; });
    EXPECT_EQ(&strip.item(0), first);
    EXPECT_TRUE(first->spinner().get_visible());

    const Uuid secondId = m_state.tabs->back().id;
    click(strip.item(1).closeButton());
    ASSERT_TRUE(testing::runMainLoopUntil([&] { return m_state.tabs->size() == 1; }));
    EXPECT_FALSE(m_state.findTab(secondId));
    EXPECT_FALSE(strip.get_visible());
}

TEST_F(ToolbarDisplayTest, ClickingATabSelectsItAndItsCloseButtonClosesIt) {
    m_state.newTab();
    m_state.newTab();
    auto& strip = named<TabStrip>(m_toolbar, "tab-strip");
    ASSERT_TRUE(testing::runMainLoopUntil([&] { return strip.item(2).get_width() > 0; }));
    const Uuid firstId = firstTab().id;
    pointerClick(const_cast<Gtk::Label&>(strip.item(0).title()));
    ASSERT_TRUE(testing::runMainLoopUntil([&] { return m_state.activeTabId.get() == firstId; }));
    EXPECT_TRUE(strip.item(0).has_css_class("active"));

    // The close button closes its own tab and does not select it first.
    const Uuid secondId = m_state.tabs->at(1).id;
    pointerClick(strip.item(1).closeButton());
    ASSERT_TRUE(testing::runMainLoopUntil([&] { return m_state.tabs->size() == 2; }));
    EXPECT_FALSE(m_state.findTab(secondId));
    EXPECT_EQ(m_state.activeTabId.get(), firstId);
    EXPECT_EQ(strip.itemCount(), 2u);
}

TEST_F(ToolbarDisplayTest, AHeldNavigationButtonShrinksAndComesBack) {
    auto& home = named(expanded(), "home-button");
    ASSERT_TRUE(testing::runMainLoopUntil([&] { return home.get_width() == 32; }));
    EXPECT_DOUBLE_EQ(drawnWidth(home), 32.0);
    pointerAt(home, "mousedown 1");
    EXPECT_TRUE(testing::runMainLoopUntil([&] { return std::abs(drawnWidth(home) - 32 * 0.92) < 0.01; },
                                          std::chrono::seconds(5)));
    EXPECT_TRUE((home.get_state_flags() & Gtk::StateFlags::ACTIVE) == Gtk::StateFlags::ACTIVE);
    pointerAt(home, "mouseup 1");
    EXPECT_TRUE(testing::runMainLoopUntil([&] { return std::abs(drawnWidth(home) - 32) < 0.01; },
                                          std::chrono::seconds(5)));
    EXPECT_TRUE(m_state.navigationCommand->has_value());  // the release clicked: home was loaded
}

TEST_F(ToolbarDisplayTest, NewTabButtonOpensAnActiveTab) {
    m_state.newTab();
    auto& strip = named<TabStrip>(m_toolbar, "tab-strip");
    click(strip.newTabButton());
    ASSERT_EQ(m_state.tabs->size(), 3u);
    EXPECT_EQ(m_state.activeTabId.get(), m_state.tabs->back().id);
    EXPECT_EQ(strip.itemCount(), 3u);
    EXPECT_TRUE(strip.item(2).has_css_class("active"));
}

TEST_F(ToolbarDisplayTest, WithoutAnActiveTabNavigationIsDisabledAndNothingLoads) {
    updateActive([](BrowserTab& tab) {
        tab.canGoBack = tab.canGoForward = tab.isLoading = true;
        tab.title = "Loading page";
        tab.url = Url::parse("https://example.com/");
    });
    auto& back = named<NavButton>(expanded(), "back-button");
    EXPECT_TRUE(back.get_sensitive());
    EXPECT_EQ(back.get_opacity(), 1.0);
    EXPECT_EQ(iconOf(named(expanded(), "stop-reload-button")), symbols::kStop);
    EXPECT_TRUE(m_toolbar.progressRow().get_visible());

    m_state.activeTabId = Uuid::random();
    for (Gtk::Widget* form : {&expanded(), &collapsed()}) {
        for (const char* name : {"back-button", "forward-button"}) {
            auto& button = named(*form, name);
            EXPECT_FALSE(button.get_sensitive()) << name;
            EXPECT_DOUBLE_EQ(button.get_opacity(), NavButton::kDisabledOpacity) << name;
        }
        EXPECT_EQ(iconOf(named(*form, "stop-reload-button")), symbols::kReload);
    }
    EXPECT_EQ(std::string(named<Gtk::Image>(m_toolbar, "security-symbol").get_icon_name()), symbols::kInsecure);
    EXPECT_EQ(std::string(m_toolbar.collapsed().title().get_text()), "");
    EXPECT_FALSE(m_toolbar.progressRow().get_visible());

    click(named(expanded(), "stop-reload-button"));
    EXPECT_EQ(m_state.navigationCommand.get(), NavigationCommand::reload());
}

TEST_F(ToolbarDisplayTest, SecuritySymbolIsALockOnlyForHttps) {
    auto& symbol = named<Gtk::Image>(m_toolbar, "security-symbol");
    EXPECT_EQ(std::string(symbol.get_icon_name()), symbols::kInsecure);  // a new tab has no URL
    updateActive([](BrowserTab& tab) { tab.url = Url::parse("https://example.com/"); });
    EXPECT_EQ(std::string(symbol.get_icon_name()), symbols::kSecure);
    EXPECT_TRUE(symbol.has_css_class("security-lock"));
    updateActive([](BrowserTab& tab) { tab.url = Url::parse("http://example.com/"); });
    EXPECT_EQ(std::string(symbol.get_icon_name()), symbols::kInsecure);
    EXPECT_TRUE(symbol.has_css_class("security-globe"));
}

TEST_F(ToolbarDisplayTest, NavigationButtonsSetTheirCommands) {
    updateActive([](BrowserTab& tab) { tab.canGoBack = tab.canGoForward = tab.isLoading = true; });
    click(named(expanded(), "back-button"));
    EXPECT_EQ(m_state.navigationCommand.get(), NavigationCommand::goBack());
    click(named(collapsed(), "forward-button"));
    EXPECT_EQ(m_state.navigationCommand.get(), NavigationCommand::goForward());
    click(named(expanded(), "stop-reload-button"));
    EXPECT_EQ(m_state.navigationCommand.get(), NavigationCommand::stop());
    m_state.homePage = "https://home.example/";
    click(named(expanded(), "home-button"));
    EXPECT_EQ(m_state.navigationCommand.get(), NavigationCommand::load(*Url::parse("https://home.example/")));
}

TEST_F(ToolbarDisplayTest, ReturnInAnEmptyFieldNavigatesWithTheEmptyText) {
    auto& entry = named<Gtk::Entry>(m_toolbar, "address-entry");
    EXPECT_EQ(std::string(entry.get_placeholder_text()), "Address");
    entry.set_text("");
    g_signal_emit_by_name(entry.gobj(), "activate");
    ASSERT_TRUE(m_state.navigationCommand->has_value());
    EXPECT_EQ(m_state.navigationCommand.get(), NavigationCommand::load(*Url::parse(m_state.searchEngine.get())));
}

TEST_F(ToolbarDisplayTest, OutsideChangesReplaceTheTextAndEditsWriteThrough) {
    auto& entry = named<Gtk::Entry>(m_toolbar, "address-entry");
    m_state.addressBarText = "https://example.org/page";
    EXPECT_EQ(std::string(entry.get_text()), "https://example.org/page");
    entry.set_text("typed words");
    EXPECT_EQ(m_state.addressBarText.get(), "typed words");
    g_signal_emit_by_name(entry.gobj(), "activate");
    EXPECT_EQ(m_state.navigationCommand.get(),
              NavigationCommand::load(*Url::parse(m_state.searchEngine.get() + "typed%20words")));
}

TEST_F(ToolbarDisplayTest, TypingWritesEachKeystrokeAndKeepsTheCursor) {
    auto& entry = named<Gtk::Entry>(m_toolbar, "address-entry");
    std::vector<std::string> written;
    ScopedConnection recording = m_state.addressBarText.changed().connect(
        [&] { written.push_back(m_state.addressBarText.get()); });
    m_state.addressBarText = "ab";
    entry.grab_focus();
    ASSERT_TRUE(testing::runMainLoopUntil([&] { return entry.has_focus() || m_window.get_focus() != nullptr; }));
    sendKeysTo(entry);
    entry.set_position(1);
    testing::typeText("XYZ");
    ASSERT_TRUE(testing::runMainLoopUntil([&] { return m_state.addressBarText.get().size() == 5; }));
    EXPECT_EQ(m_state.addressBarText.get(), "aXYZb");
    EXPECT_EQ(std::string(entry.get_text()), "aXYZb");
    EXPECT_EQ(entry.get_position(), 4);  // still where the typing left it
    EXPECT_EQ(written, (std::vector<std::string>{"ab", "aXb", "aXYb", "aXYZb"}));

    // A real Return key navigates to what was typed.
    testing::pressKeys("Return");
    ASSERT_TRUE(testing::runMainLoopUntil([&] { return m_state.navigationCommand->has_value(); }));
    EXPECT_EQ(m_state.navigationCommand.get(), NavigationCommand::load(*Url::parse(m_state.searchEngine.get() + "aXYZb")));
}

TEST_F(ToolbarDisplayTest, EscapeRestoresTheActiveTabsAddressAndFocusSelectsAll) {
    auto& entry = named<Gtk::Entry>(m_toolbar, "address-entry");
    updateActive([](BrowserTab& tab) { tab.url = Url::parse("https://example.net/start"); });
    m_state.addressBarText = "half-typed";
    ASSERT_TRUE(m_toolbar.focusAddressField());
    ASSERT_TRUE(testing::runMainLoopUntil([&] { return gtk_widget_get_focus_child(GTK_WIDGET(entry.gobj())) != nullptr; }));
    int start = 0, end = 0;
    EXPECT_TRUE(entry.get_selection_bounds(start, end));
    EXPECT_EQ(start, 0);
    EXPECT_EQ(end, 10);
    sendKeysTo(entry);
    testing::pressKeys("Escape");
    ASSERT_TRUE(testing::runMainLoopUntil([&] { return m_state.addressBarText.get() != "half-typed"; }));
    EXPECT_EQ(m_state.addressBarText.get(), "https://example.net/start");
    EXPECT_EQ(std::string(entry.get_text()), "https://example.net/start");
    m_state.isToolbarCollapsed = true;
    EXPECT_TRUE(m_toolbar.focusAddressField());
    EXPECT_FALSE(m_state.isToolbarCollapsed.get()) << "the field is shown to take the typing";
}

TEST_F(ToolbarDisplayTest, ShortcutButtonsOnlyShowTheirPanels) {
    m_state.isExplorerBarVisible = false;
    m_state.selectedExplorerTab = ExplorerBarTab::history;
    const auto bookmarksBefore = m_state.tabs->size();
    click(named(expanded(), "favorites-button"));
    EXPECT_TRUE(m_state.isExplorerBarVisible.get());
    EXPECT_EQ(m_state.selectedExplorerTab.get(), ExplorerBarTab::favorites);
    EXPECT_FALSE(m_state.navigationCommand->has_value());
    EXPECT_EQ(m_state.tabs->size(), bookmarksBefore);
    click(named(expanded(), "favorites-button"));  // again: still shown, not toggled away
    EXPECT_TRUE(m_state.isExplorerBarVisible.get());
    click(named(expanded(), "scrapbook-button"));
    EXPECT_EQ(m_state.selectedExplorerTab.get(), ExplorerBarTab::scrapbook);
    click(named(expanded(), "auction-button"));
    EXPECT_EQ(m_state.selectedExplorerTab.get(), ExplorerBarTab::auction);
    EXPECT_TRUE(m_state.isExplorerBarVisible.get());
}

TEST_F(ToolbarDisplayTest, PreferencesButtonPostsOpenPreferences) {
    std::vector<Notification> received;
    ScopedConnection subscription = NotificationCenter::defaultCenter().subscribe(
        notifications::kOpenPreferences, [&](const Notification& n) { received.push_back(n); });
    click(named(expanded(), "preferences-button"));
    ASSERT_EQ(received.size(), 1u);
    EXPECT_FALSE(received.front().object);
}

TEST_F(ToolbarDisplayTest, TooltipsAreExact) {
    EXPECT_EQ(std::string(named(expanded(), "collapse-button").get_tooltip_text()), "Collapse Toolbar (Ctrl+B)");
    EXPECT_EQ(std::string(named(expanded(), "auction-button").get_tooltip_text()), "Auction Manager");
    EXPECT_EQ(std::string(named(expanded(), "preferences-button").get_tooltip_text()), "Preferences");
    EXPECT_FALSE(named(collapsed(), "expand-button").get_has_tooltip());
    EXPECT_FALSE(named(expanded(), "back-button").get_has_tooltip());
}

TEST_F(ToolbarDisplayTest, ProgressRowShowsUnderBothFormsWhileLoading) {
    EXPECT_FALSE(m_toolbar.progressRow().get_visible());
    updateActive([](BrowserTab& tab) {
        tab.isLoading = true;
        tab.estimatedProgress = 0.4;
    });
    EXPECT_TRUE(m_toolbar.progressRow().get_visible());
    EXPECT_DOUBLE_EQ(m_toolbar.progressBar().progress(), 0.4);
    m_state.isToolbarCollapsed = true;
    EXPECT_TRUE(m_toolbar.progressRow().get_visible());
    updateActive([](BrowserTab& tab) { tab.estimatedProgress = 0.9; });
    EXPECT_DOUBLE_EQ(m_toolbar.progressBar().progress(), 0.9);
    ASSERT_TRUE(testing::runMainLoopUntil([&] { return m_toolbar.progressBar().get_width() > 0; }));
    EXPECT_EQ(m_toolbar.progressBar().get_width(), m_toolbar.get_width() - 16);
    updateActive([](BrowserTab& tab) { tab.isLoading = false; });
    EXPECT_FALSE(m_toolbar.progressRow().get_visible());
}

TEST_F(ToolbarDisplayTest, ANewLoadStartsTheBarFromItsOwnProgress) {
    auto& bar = m_toolbar.progressBar();
    updateActive([](BrowserTab& tab) {
        tab.isLoading = true;
        tab.estimatedProgress = 0.2;
    });
    updateActive([](BrowserTab& tab) { tab.estimatedProgress = 1.0; });
    ASSERT_TRUE(testing::runMainLoopUntil([&] { return bar.get_width() > 0 && bar.fill().get_width() == bar.get_width(); }));
    updateActive([](BrowserTab& tab) { tab.isLoading = false; });
    testing::drainMainLoop();
    updateActive([](BrowserTab& tab) {
        tab.isLoading = true;
        tab.estimatedProgress = 0.1;
    });
    // Every painted frame from now on: a glide back from the full bar would show.
    std::vector<int> painted;
    ScopedConnection frames = bar.get_frame_clock()->signal_paint().connect([&] {
        if (bar.get_mapped()) painted.push_back(bar.fill().get_width());
    });
    testing::runMainLoopUntil([] { return false; }, std::chrono::milliseconds(400));
    ASSERT_FALSE(painted.empty());
    for (int width : painted) EXPECT_LE(width, bar.get_width() / 5);
}

TEST_F(ToolbarDisplayTest, CollapseAndExpandSwitchTheForms) {
    const FormSwitcher& forms = m_toolbar.forms();
    EXPECT_EQ(forms.visibleForm(), &expanded());
    click(named(expanded(), "collapse-button"));
    EXPECT_TRUE(m_state.isToolbarCollapsed.get());
    EXPECT_EQ(forms.visibleForm(), &collapsed());
    EXPECT_EQ(forms.lastSwitchDuration(), kToolbarButtonSwitchMicroseconds);
    updateActive([](BrowserTab& tab) { tab.title = "A page title"; });
    EXPECT_EQ(std::string(m_toolbar.collapsed().title().get_text()), "A page title");
    // The slim form has no address field, shortcuts or tab strip.
    EXPECT_TRUE(allNamed(collapsed(), "address-entry").empty());
    EXPECT_TRUE(allNamed(collapsed(), "favorites-button").empty());
    EXPECT_TRUE(allNamed(collapsed(), "tab-strip").empty());
    ASSERT_TRUE(testing::runMainLoopUntil([&] { return !forms.isSwitching(); }));
    EXPECT_FALSE(expanded().get_child_visible());
    click(named(collapsed(), "expand-button"));
    EXPECT_FALSE(m_state.isToolbarCollapsed.get());
    EXPECT_EQ(forms.visibleForm(), &expanded());
    EXPECT_EQ(forms.lastSwitchDuration(), kToolbarButtonSwitchMicroseconds);
}

// The window's command flips the field itself; the switch it causes is the
// shorter one, and the height stays between the two forms' heights.
TEST_F(ToolbarDisplayTest, ASwitchFromElsewhereIsShorterAndGlidesBetweenTheHeights) {
    testing::drainMainLoop();
    const int expandedHeight = m_toolbar.forms().get_height();
    m_state.isToolbarCollapsed = true;
    EXPECT_EQ(m_toolbar.forms().lastSwitchDuration(), kMenuCommandSwitchMicroseconds);
    std::vector<int> heights;
    while (m_toolbar.forms().isSwitching()) {
        testing::runMainLoopUntil([] { return false; }, std::chrono::milliseconds(16));
        heights.push_back(m_toolbar.forms().get_height());
    }
    testing::drainMainLoop();
    const int collapsedHeight = m_toolbar.forms().get_height();
    EXPECT_LT(collapsedHeight, expandedHeight);
    ASSERT_GE(heights.size(), 2u);
    // Which in-between heights are seen depends on how often the loaded test
    // machine draws; the curve itself is unit-tested. Here: never outside the two.
    for (int height : heights) {
        EXPECT_LE(height, expandedHeight);
        EXPECT_GE(height, collapsedHeight);
    }
}

TEST_F(ToolbarDisplayTest, LongTitlesAreCutToTheirMaximumWidths) {
    m_state.newTab();
    const std::string longTitle(400, 'W');
    updateActive([&](BrowserTab& tab) { tab.title = longTitle; });
    auto& strip = named<TabStrip>(m_toolbar, "tab-strip");
    ASSERT_TRUE(testing::runMainLoopUntil([&] { return strip.item(1).title().get_width() > 0; }));
    testing::drainMainLoop();
    EXPECT_LE(strip.item(1).title().get_width(), TabItem::kMaximumTitleWidth);
    EXPECT_GT(strip.item(1).title().get_width(), 100);
    m_state.isToolbarCollapsed = true;
    ASSERT_TRUE(testing::runMainLoopUntil([&] { return m_toolbar.collapsed().title().get_width() > 0; }));
    EXPECT_LE(m_toolbar.collapsed().title().get_width(), CollapsedToolbar::kMaximumTitleWidth);
}

}  // namespace
}  // namespace sarvik
