#include "core/color_theme.h"
#include "core/notification_center.h"
#include "core/notification_names.h"
#include "support/display/gtk_test_environment.h"
#include "support/display/widget_screenshot.h"
#include "support/loopback_http_server.h"
#include "support/temporary_directory.h"
#include "views/common/theme_stylesheet.h"
#include "views/window/main_window.h"

#include <gtest/gtest.h>
#include <gtkmm/settings.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <memory>
#include <string>

// The main window as `make screenshots` shows it for review: each theme, the
// collapsed toolbar and three tabs caught loading. Each shot also checks the
// look it records.
namespace sarvik {
namespace {

using testing::runMainLoopUntil;

const std::string kPage =
    "<!doctype html><html><head><title>Local Page</title></head><body style='font-family:sans-serif'>"
    "<h1>Local Page</h1><p>A page served on the loopback interface for the screenshots.</p></body></html>";

std::string lowerCase(std::string_view text) {
    std::string result(text);
    std::transform(result.begin(), result.end(), result.begin(), ::tolower);
    return result;
}

class MainWindowScreenshots : public ::testing::Test {
protected:
    void SetUp() override {
        server.serve("/page", kPage);
        state.homePage = server.url("/page");
        window = std::make_unique<MainWindow>(state, auctions, folder.path());
        window->present();
        ASSERT_TRUE(runMainLoopUntil([&] {
            const BrowserTab* tab = state.findTab(state.activeTabId);
            return tab && tab->title == "Local Page" && !tab->isLoading;
        }));
    }

    void TearDown() override {
        window.reset();
        testing::drainMainLoop();
    }

    // Lets animations and the web view's first paint finish.
    static void settle() { runMainLoopUntil([] { return false; }, std::chrono::milliseconds(500)); }

    static std::optional<testing::RenderedPixel> pixelAtCentreOf(const Gtk::Widget& widget) {
        auto& drawn = const_cast<Gtk::Widget&>(widget);
        return testing::renderedPixelAt(drawn, drawn.get_width() / 2, drawn.get_height() / 2);
    }

    testing::LoopbackHttpServer server;
    testing::TemporaryDirectory folder;
    BrowserState state;
    AuctionStore auctions{folder.path()};
    ThemeStylesheet stylesheet{state, Gdk::Display::get_default()};
    std::unique_ptr<MainWindow> window;
};

bool near(int channel, double component) { return std::abs(channel - component * 255.0) <= 6; }

class MainWindowThemeScreenshots : public MainWindowScreenshots,
                                   public ::testing::WithParamInterface<OrvelColorTheme> {};

TEST_P(MainWindowThemeScreenshots, TheSwatchTakesTheThemesPrimaryColour) {
    const OrvelColorTheme theme = GetParam();
    NotificationCenter::defaultCenter().post(notifications::kChangeTheme, std::string(rawValue(theme)));
    ASSERT_EQ(state.colorTheme.get(), theme);
    settle();
    EXPECT_EQ(stylesheet.parseErrorCount(), 0);
    // The status bar's swatch is filled with the theme's primary colour.
    const auto swatch = pixelAtCentreOf(window->contentView().statusBar().themeSwatch());
    ASSERT_TRUE(swatch);
    const Rgba primary = primaryColor(theme);
    EXPECT_TRUE(near(swatch->red, primary.red) && near(swatch->green, primary.green) && near(swatch->blue, primary.blue))
        << rawValue(theme) << ": " << swatch->red << "," << swatch->green << "," << swatch->blue;
    testing::saveScreenshotIfRequested(*window, "main-window-" + lowerCase(rawValue(theme)));
}

INSTANTIATE_TEST_SUITE_P(Themes, MainWindowThemeScreenshots, ::testing::ValuesIn(kAllColorThemes),
                         [](const auto& info) { return std::string(rawValue(info.param)); });

TEST_F(MainWindowScreenshots, TheMenuCommandCollapsesTheToolbarToItsSlimForm) {
    OrvelToolbarView& toolbar = window->contentView().toolbar();
    const int expandedHeight = toolbar.forms().get_height();
    NotificationCenter::defaultCenter().post(notifications::kToggleToolbar);
    ASSERT_TRUE(state.isToolbarCollapsed.get());
    ASSERT_TRUE(runMainLoopUntil([&] { return !toolbar.forms().isSwitching(); }));
    settle();
    EXPECT_EQ(toolbar.forms().visibleForm(), &toolbar.collapsed());
    EXPECT_TRUE(toolbar.collapsed().get_mapped());
    EXPECT_FALSE(toolbar.expanded().get_mapped());
    EXPECT_EQ(std::string(toolbar.collapsed().title().get_text()), "Local Page");
    EXPECT_LT(toolbar.forms().get_height(), expandedHeight);
    testing::saveScreenshotIfRequested(*window, "main-window-collapsed-toolbar");
}

TEST_F(MainWindowScreenshots, ThreeTabsLoadingShowTheirSpinnersAndTheProgressRow) {
    // Long enough that the first tab is still loading when a slow machine has
    // started the third tab's web process.
    // Still pictures: on a slow, software-rendered display turning spinners
    // keep the window drawing, and idle work (building the new tabs' views)
    // waits behind the drawing until the pages have loaded.
    const auto settings = Gtk::Settings::get_default();
    settings->property_gtk_enable_animations() = false;
    const std::unique_ptr<void, std::function<void(void*)>> restoreAnimations(
        settings.get(), [settings](void*) { settings->property_gtk_enable_animations() = true; });
    server.serveSlowly("/slow", kPage, std::chrono::seconds(60));
    state.navigate(server.url("/slow"));
    state.newTab(Url::parse(server.url("/slow")));
    state.newTab(Url::parse(server.url("/slow")));
    ASSERT_EQ(state.tabs->size(), 3u);
    TabStrip& strip = window->contentView().toolbar().expanded().tabStrip();
    const bool allLoading = runMainLoopUntil([&] {
        return std::all_of(state.tabs->begin(), state.tabs->end(), [](const BrowserTab& t) { return t.isLoading; });
    });
    if (!allLoading) {
        for (const BrowserTab& tab : state.tabs.get())
            ADD_FAILURE() << "tab " << (tab.url ? tab.url->absoluteString() : "-") << " loading " << tab.isLoading;
        FAIL() << "requests for /slow: " << server.requestCount("/slow");
    }
    settle();
    ASSERT_TRUE(strip.get_mapped());
    for (std::size_t i = 0; i < 3; ++i) {
        EXPECT_TRUE(strip.item(i).spinner().get_visible()) << i;
        EXPECT_TRUE(strip.item(i).spinner().get_spinning()) << i;
    }
    EXPECT_TRUE(window->contentView().toolbar().progressRow().get_visible());
    EXPECT_EQ(window->contentView().statusBar().loadState().label().get_text(), "Loading...");
    EXPECT_EQ(window->contentView().statusBar().tabCount().get_text(), "3 tabs");
    testing::saveScreenshotIfRequested(*window, "main-window-three-tabs-loading");
}

}  // namespace
}  // namespace sarvik
