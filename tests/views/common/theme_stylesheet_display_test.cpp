#include "support/display/ui_driver.h"
#include "views/common/orvel_progress_bar.h"
#include "themes/auction_panel_css.h"
#include "themes/preferences_css.h"
#include "themes/theme_css.h"
#include "views/common/theme_stylesheet.h"

#include <gtkmm/box.h>
#include <gtest/gtest.h>

namespace sarvik {
namespace {

// The installed stylesheet follows the theme, and its colours and sizes reach the widgets.
TEST(ThemeStylesheetDisplayTest, InstallsTheThemeAndStylesTheButtonsAndTheProgressBar) {
    BrowserState state;
    ThemeStylesheet stylesheet(state, Gdk::Display::get_default());
    EXPECT_EQ(stylesheet.installedCss().rfind(themeCss(OrvelColorTheme::blueberry), 0), 0u);
    EXPECT_NE(stylesheet.installedCss().find(auctionPanelCss(OrvelColorTheme::blueberry)), std::string::npos);
    EXPECT_NE(stylesheet.installedCss().find(preferencesCss(OrvelColorTheme::blueberry)), std::string::npos);
    for (auto theme : kAllColorThemes) {
        state.colorTheme = theme;
        EXPECT_EQ(stylesheet.installedCss().rfind(themeCss(theme), 0), 0u) << rawValue(theme);
    }
    EXPECT_EQ(stylesheet.parseErrorCount(), 0) << "every theme parses";
    state.colorTheme = OrvelColorTheme::lime;

    Gtk::Window window;
    Gtk::Box box(Gtk::Orientation::VERTICAL);
    box.set_size_request(200, -1);
    Gtk::Button button("Themed");
    button.add_css_class("orvel-button");
    OrvelProgressBar bar;
    box.append(button);
    box.append(bar);
    window.set_child(box);
    window.present();
    ASSERT_TRUE(testing::runMainLoopUntil([&] { return bar.get_mapped() && bar.get_width() == 200; }));
    const auto lime = labelColor(OrvelColorTheme::lime);
    auto color = button.get_style_context()->get_color();
    EXPECT_NEAR(color.get_red(), lime.red, 0.01);
    EXPECT_NEAR(color.get_blue(), lime.blue, 0.01);
    state.colorTheme = OrvelColorTheme::powerbook;
    testing::drainMainLoop();
    EXPECT_NEAR(button.get_style_context()->get_color().get_red(), 1.0, 0.01);

    // The bar's fill grows to the offered width, its gloss at once; what is drawn stays inside the bar.
    EXPECT_EQ(bar.get_height(), OrvelProgressBar::kHeight);
    EXPECT_EQ(bar.track().get_width(), 200);
    EXPECT_EQ(bar.fill().get_width(), 0);
    bar.setProgress(1.0);
    EXPECT_TRUE(testing::runMainLoopUntil([&] { return bar.gloss().get_width() == 200; }));
    EXPECT_TRUE(testing::runMainLoopUntil([&] { return bar.fill().get_width() == 200; }));
    bar.setProgress(1.5);
    EXPECT_DOUBLE_EQ(bar.progress(), 1.5) << "stored as given";
    bar.setProgress(-0.5);
    EXPECT_TRUE(testing::runMainLoopUntil([&] { return bar.fill().get_width() == 0; }));
    EXPECT_EQ(bar.gloss().get_width(), 0);
}

}  // namespace
}  // namespace sarvik
