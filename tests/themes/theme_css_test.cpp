#include "themes/theme_css.h"

#include "support/css_rules.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

namespace sarvik {
namespace {

using testing::cssRuleBody;

TEST(ThemeCssTest, FormatsColoursAndGradientsFromTheTables) {
    EXPECT_EQ(cssColor({0.20, 0.45, 0.85, 1}), "rgba(20%, 45%, 85%, 1)");
    EXPECT_EQ(cssColor({1, 1, 1, 0}), "rgba(100%, 100%, 100%, 0)");
    EXPECT_EQ(cssGradient(toolbarGradient(OrvelColorTheme::blueberry)),
              "linear-gradient(to bottom, rgba(70%, 85%, 100%, 0.9) 0%, rgba(45%, 65%, 95%, 0.7) 25%, "
              "rgba(20%, 45%, 85%, 0.6) 50%, rgba(45%, 65%, 95%, 0.7) 75%, rgba(70%, 85%, 100%, 0.5) 100%)");
    EXPECT_EQ(cssGradient(buttonGradient(OrvelColorTheme::lime)),
              "linear-gradient(to bottom, rgba(75%, 95%, 70%, 1) 0%, rgba(55%, 88%, 45%, 1) 33.33%, "
              "rgba(35%, 75%, 25%, 1) 66.67%, rgba(55%, 88%, 45%, 0.8) 100%)");
}

TEST(ThemeCssTest, DefinesTheRoleColoursOfTheTheme) {
    const std::string css = themeCss(OrvelColorTheme::powerbook);
    EXPECT_NE(css.find("@define-color orvel_primary rgba(20%, 22%, 25%, 1);"), std::string::npos);
    EXPECT_NE(css.find("@define-color orvel_secondary rgba(35%, 37%, 40%, 1);"), std::string::npos);
    EXPECT_NE(css.find("@define-color orvel_highlight rgba(55%, 57%, 60%, 1);"), std::string::npos);
    EXPECT_NE(css.find("@define-color orvel_label rgba(100%, 100%, 100%, 1);"), std::string::npos);
    EXPECT_NE(themeCss(OrvelColorTheme::blueberry).find("@define-color orvel_label rgba(15%, 15%, 20%, 1);"),
              std::string::npos);
}

TEST(ThemeCssTest, StatusBarUsesTheToolbarGradientAtThreeTenthsOpacity) {
    const std::string body = cssRuleBody(themeCss(OrvelColorTheme::grape), ".orvel-status-bar");
    EXPECT_NE(body.find("rgba(85%, 75%, 100%, 0.27) 0%, rgba(70%, 50%, 88%, 0.21) 25%, rgba(55%, 30%, 75%, 0.18) "
                        "50%, rgba(70%, 50%, 88%, 0.21) 75%, rgba(85%, 75%, 100%, 0.15) 100%"),
              std::string::npos)
        << body;
    EXPECT_NE(body.find("padding: 4px 12px"), std::string::npos);
}

TEST(ThemeCssTest, ToolbarHasItsGradientAndBottomLine) {
    const std::string css = themeCss(OrvelColorTheme::tangerine);
    const std::string body = cssRuleBody(css, ".orvel-toolbar");
    EXPECT_NE(body.find(cssGradient(toolbarGradient(OrvelColorTheme::tangerine))), std::string::npos);
    EXPECT_NE(body.find("border-bottom: 1px solid alpha(@orvel_primary, 0.3)"), std::string::npos);
    EXPECT_NE(cssRuleBody(css, ".orvel-explorer-bar").find(cssGradient(toolbarGradient(OrvelColorTheme::tangerine))),
              std::string::npos);
}

TEST(ThemeCssTest, PushButtonHasItsGlossShadowAndPressedLook) {
    const std::string css = themeCss(OrvelColorTheme::blueberry);
    const std::string normal = cssRuleBody(css, ".orvel-button");
    // The first .orvel-button rule is the stock-decoration reset; the look is in the second.
    const std::string look = css.substr(css.find("\n.orvel-button {", css.find("\n.orvel-button {") + 1));
    EXPECT_NE(normal.find("border: none"), std::string::npos);
    EXPECT_NE(look.find("padding: 6px 12px;\n  border-radius: 6px;"), std::string::npos);
    EXPECT_NE(look.find("linear-gradient(to bottom, rgba(100%, 100%, 100%, 0.5) 0%, rgba(100%, 100%, 100%, 0) 50%), " +
                        cssGradient(buttonGradient(OrvelColorTheme::blueberry))),
              std::string::npos);
    EXPECT_NE(look.find("inset 0 0 0 0.5px alpha(@orvel_primary, 0.5), 0 2px 3px alpha(@orvel_primary, 0.3)"),
              std::string::npos);
    EXPECT_NE(look.find("transition: background-image 100ms ease-in-out, box-shadow 100ms ease-in-out, "
                        "transform 100ms ease-in-out"),
              std::string::npos);
    const std::string small = cssRuleBody(css, ".orvel-button.small");
    EXPECT_NE(small.find("font-size: 11px;\n  padding: 4px 8px;\n  border-radius: 4px;"), std::string::npos);
    const std::string pressed = cssRuleBody(css, ".orvel-button:active");
    EXPECT_NE(pressed.find("rgba(100%, 100%, 100%, 0.1) 0%"), std::string::npos);
    EXPECT_NE(pressed.find("0 0px 1px alpha(@orvel_primary, 0.1)"), std::string::npos);
    EXPECT_NE(pressed.find("transform: scale(0.96)"), std::string::npos);
}

TEST(ThemeCssTest, NavigationButtonIsARoundButtonWithSizedLabels) {
    const std::string css = themeCss(OrvelColorTheme::lime);
    const std::string pressed = cssRuleBody(css, ".orvel-nav-button:active");
    EXPECT_NE(pressed.find("transform: scale(0.92)"), std::string::npos);
    EXPECT_NE(pressed.find("rgba(100%, 100%, 100%, 0.1) 0%"), std::string::npos);
    EXPECT_NE(css.find("border-radius: 9999px;\n  background-image: linear-gradient(to bottom, rgba(100%, 100%, 100%, "
                       "0.55) 0%"),
              std::string::npos);
    EXPECT_NE(css.find("0 2px 4px alpha(@orvel_primary, 0.35)"), std::string::npos);
    EXPECT_NE(css.find("transform 120ms ease-in-out"), std::string::npos);
    EXPECT_NE(cssRuleBody(css, ".orvel-nav-button.size-32").find("min-width: 32px;\n  min-height: 32px;\n  font-size: 14.4px"),
              std::string::npos);
    EXPECT_NE(cssRuleBody(css, ".orvel-nav-button.size-28").find("font-size: 12.6px"), std::string::npos);
    EXPECT_NE(cssRuleBody(css, ".orvel-nav-button.size-24").find("font-size: 10.8px"), std::string::npos);
    EXPECT_NE(cssRuleBody(css, ".orvel-nav-button.size-22").find("font-size: 9.9px"), std::string::npos);
}

TEST(ThemeCssTest, ExplorerTabIsPlainUntilSelected) {
    const std::string css = themeCss(OrvelColorTheme::strawberry);
    const std::string look = css.substr(css.find("\n.orvel-explorer-tab {", css.find("\n.orvel-explorer-tab {") + 1));
    EXPECT_NE(look.find("background-image: none"), std::string::npos);
    EXPECT_NE(look.find("alpha(@orvel_primary, 0)"), std::string::npos);
    const std::string selected = cssRuleBody(css, ".orvel-explorer-tab.selected");
    EXPECT_NE(selected.find(cssGradient(buttonGradient(OrvelColorTheme::strawberry))), std::string::npos);
    EXPECT_NE(selected.find("font-weight: 600"), std::string::npos);
    EXPECT_NE(cssRuleBody(css, ".orvel-explorer-tab:active").find("scale(0.95)"), std::string::npos);
}

TEST(ThemeCssTest, EveryControlClassHasARule) {
    const std::string css = themeCss(OrvelColorTheme::graphite);
    for (const char* selector :
         {".orvel-toolbar", ".orvel-button", ".orvel-button.small", ".orvel-nav-button", ".orvel-explorer-tab",
          ".orvel-explorer-tab.selected", ".orvel-progress", ".orvel-address-field", ".orvel-tab-item",
          ".orvel-tab-item.active", ".orvel-status-bar", ".orvel-status-text", ".orvel-auction-badge",
          ".orvel-tab-count", ".orvel-zoom-badge", ".orvel-theme-swatch", ".orvel-done-icon", ".orvel-explorer-bar"})
        EXPECT_FALSE(cssRuleBody(css, selector).empty()) << selector;
    EXPECT_NE(cssRuleBody(css, ".orvel-zoom-badge").find("border-radius: 3px;\n  padding: 1px 4px;"), std::string::npos);
    EXPECT_NE(cssRuleBody(css, ".orvel-auction-badge").find("padding: 2px 6px"), std::string::npos);
    EXPECT_NE(cssRuleBody(css, ".orvel-theme-swatch").find("min-width: 8px;\n  min-height: 8px;"), std::string::npos);
    EXPECT_NE(cssRuleBody(css, ".orvel-done-icon").find("alpha(@orvel_green, 0.6)"), std::string::npos);
}

TEST(ThemeCssTest, EachThemeRendersDifferentCssWithBalancedBraces) {
    std::set<std::string> all;
    for (auto theme : kAllColorThemes) {
        const std::string css = themeCss(theme);
        std::ptrdiff_t depth = 0;
        for (char c : css) {
            depth += c == '{' ? 1 : c == '}' ? -1 : 0;
            ASSERT_GE(depth, 0) << rawValue(theme);
            ASSERT_LE(depth, 1) << rawValue(theme);
        }
        EXPECT_EQ(depth, 0) << rawValue(theme);
        all.insert(css);
    }
    EXPECT_EQ(all.size(), kAllColorThemes.size());
}

}  // namespace
}  // namespace sarvik
