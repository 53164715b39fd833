#include "core/notification_names.h"
#include "views/explorer_bar/auctions/auction_manager_panel.h"
#include "views/explorer_bar/auctions/auction_panel_actions.h"
#include "support/display/browser_window_harness.h"
#include "support/display/ui_driver.h"
#include "views/explorer_bar/favorites/favorite_row_widget.h"
#include "views/explorer_bar/favorites/favorites_panel.h"

#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>
#include <gtkmm/settings.h>

#include <algorithm>
#include <cmath>

// The main window as `make screenshots` shows it for review, one row of the
// table per picture; each row also checks the look it records.
namespace sarvik {
namespace {

using testing::runMainLoopUntil;

TEST(GtkEnvironmentTest, AWarningOrACriticalMessageFailsTheTest) {
    EXPECT_NONFATAL_FAILURE(g_warning("a warning the test expects"), "logged:");
    EXPECT_NONFATAL_FAILURE(g_critical("a critical message the test expects"), "logged:");
    EXPECT_NONFATAL_FAILURE(g_log("Gtk", G_LOG_LEVEL_WARNING, "from GTK, expected"), "logged: Gtk");
}

bool near(int channel, double component) { return std::abs(channel - component * 255.0) <= 6; }

TEST(ScreenshotTest, EachThemeTheCollapsedToolbarAndThreeLoadingTabs) {
    testing::BrowserWindowHarness h;
    h.serve("/page", "Local Page", "<h1>Local Page</h1><p>A page served on the loopback interface.</p>");
    h.state.navigate(h.server.url("/page"));
    ASSERT_TRUE(h.activeLoaded("Local Page"));
    ContentView& content = h.content();
    OrvelToolbarView& toolbar = content.toolbar();
    // Lets animations and the web view's first paint finish.
    const auto settle = [] { runMainLoopUntil([] { return false; }, std::chrono::milliseconds(500)); };
    std::vector<std::pair<std::string, std::function<void()>>> shots;
    for (const OrvelColorTheme theme : kAllColorThemes) {
        std::string name(rawValue(theme));
        std::transform(name.begin(), name.end(), name.begin(), ::tolower);
        shots.emplace_back("main-window-" + name, [&, theme] {
            h.post(notifications::kChangeTheme, std::string(rawValue(theme)));
            ASSERT_EQ(h.state.colorTheme.get(), theme);
            settle();
            EXPECT_EQ(h.stylesheet.parseErrorCount(), 0);
            auto& swatch = const_cast<ThemeSwatch&>(content.statusBar().themeSwatch());
            const auto pixel = testing::renderedPixelAt(swatch, swatch.get_width() / 2, swatch.get_height() / 2);
            ASSERT_TRUE(pixel);
            const Rgba primary = primaryColor(theme);
            EXPECT_TRUE(near(pixel->red, primary.red) && near(pixel->green, primary.green) && near(pixel->blue, primary.blue))
                << rawValue(theme) << ": " << pixel->red << "," << pixel->green << "," << pixel->blue;
        });
    }
    // The forms' switch itself is the toolbar's test; here, the picture once it is over.
    shots.emplace_back("main-window-collapsed-toolbar", [&] {
        h.post(notifications::kToggleToolbar);
        ASSERT_TRUE(runMainLoopUntil([&] { return !toolbar.forms().isSwitching(); }));
        settle();
        EXPECT_TRUE(toolbar.collapsed().get_mapped() && !toolbar.expanded().get_mapped());
        h.post(notifications::kToggleToolbar);
    });
    shots.emplace_back("main-window-three-tabs-loading", [&] {
        // Still spinners: on a slow software-rendered display turning ones keep the window drawing,
        // and the new tabs' views, built when idle, would wait behind the drawing.
        Gtk::Settings::get_default()->property_gtk_enable_animations() = false;
        h.server.serveSlowly("/slow", "<!doctype html><title>Slow</title>", std::chrono::seconds(60));
        h.state.navigate(h.server.url("/slow"));
        h.state.newTab(Url::parse(h.server.url("/slow")));
        h.state.newTab(Url::parse(h.server.url("/slow")));
        ASSERT_EQ(h.state.tabs->size(), 3u);
        EXPECT_TRUE(runMainLoopUntil([&] {
            return std::all_of(h.state.tabs->begin(), h.state.tabs->end(), [](const BrowserTab& t) { return t.isLoading; });
        })) << "requests for /slow: " << h.server.requestCount("/slow");
        settle();
        TabStrip& strip = toolbar.expanded().tabStrip();
        ASSERT_TRUE(strip.get_mapped());
        for (std::size_t i = 0; i < 3; ++i)
            EXPECT_TRUE(strip.item(i).spinner().get_visible() && strip.item(i).spinner().get_spinning()) << i;
    });
    shots.emplace_back("main-window-favorites-move-to", [&] {
        ASSERT_TRUE(content.explorerBar());
        auto* favorites = dynamic_cast<FavoritesPanel*>(content.explorerBar()->panel());
        ASSERT_TRUE(favorites);
        content.dataStore().addFolder("Work", std::nullopt);
        content.dataStore().addFolder("Deep", content.dataStore().bookmarks()->back().id);
        settle();
        auto work = testing::findAll<FavoriteRowWidget>(favorites->listView(), [](FavoriteRowWidget& row) {
            return row.get_mapped() && row.bookmark().title == "Work";
        });
        ASSERT_EQ(work.size(), 1u);
        RowContextMenu& menu = work.front()->contextMenu();
        const auto entry = [&](const std::string& text) -> Gtk::Label* {
            auto found = testing::findAll<Gtk::Label>(*menu.popover(), [&](Gtk::Label& label) {
                return label.get_text().raw() == text && label.get_mapped();
            });
            return found.size() == 1 ? found.front() : nullptr;
        };
        testing::pointerAt(*work.front(), "click 3");
        ASSERT_TRUE(runMainLoopUntil([&] { return menu.isOpen() && entry("Move to"); }));
        settle();
        testing::pointerAt(*entry("Move to"), "click 1");
        ASSERT_TRUE(runMainLoopUntil([&] { return entry("Toolbar Favorites"); }));
        settle();
    });
    shots.emplace_back("main-window-auction-edit-form", [&] {
        h.auctions.addItem("Denim jacket", "https://jp.mercari.example/item/1", AuctionSite::mercari, 1200,
                           h.auctions.now().addingSeconds(86400), 1500);
        h.state.isExplorerBarVisible = true;
        h.state.selectedExplorerTab = ExplorerBarTab::auction;
        testing::drainMainLoop();
        auto* panel = dynamic_cast<AuctionManagerPanel*>(content.explorerBar()->panel());
        ASSERT_NE(panel, nullptr);
        panel->activate_action(auction_actions::detailed(auction_actions::kEdit),
                               Glib::Variant<Glib::ustring>::create(h.auctions.items()->back().id.toString()));
        settle();
        EXPECT_TRUE(panel->addForm().get_mapped() && panel->addForm().isEditing());
    });
    const auto directory = testing::screenshotDirectory();
    for (const auto& [name, prepare] : shots) {
        SCOPED_TRACE(name);
        prepare();
        const auto file = (directory.empty() ? h.folder.path() : directory) / (name + ".png");
        EXPECT_TRUE(testing::saveWindowPng(*h.window, file));
        EXPECT_GT(std::filesystem::file_size(file), 1000u);
    }
    Gtk::Settings::get_default()->property_gtk_enable_animations() = true;
}

}  // namespace
}  // namespace sarvik
