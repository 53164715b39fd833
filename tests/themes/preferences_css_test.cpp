#include "themes/preferences_css.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

namespace sarvik {
namespace {

std::size_t occurrences(const std::string& text, const std::string& part) {
    std::size_t count = 0;
    for (auto at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++count;
    return count;
}

TEST(PreferencesCssTest, EverySwatchHasItsOwnClassAndFill) {
    std::set<std::string> classes;
    for (auto theme : kAllColorThemes) classes.insert(swatchThemeClass(theme));
    EXPECT_EQ(classes.size(), kAllColorThemes.size());
    EXPECT_EQ(swatchThemeClass(OrvelColorTheme::powerbook), "theme-powerbook");

    const std::string css = preferencesCss(OrvelColorTheme::blueberry);
    for (const auto& name : classes) EXPECT_EQ(occurrences(css, ".preferences-swatch-fill." + name + " {"), 1u) << name;
}

TEST(PreferencesCssTest, TheChromeFollowsTheCurrentThemeButTheSwatchesDoNot) {
    const std::string grape = preferencesCss(OrvelColorTheme::grape);
    const std::string lime = preferencesCss(OrvelColorTheme::lime);
    EXPECT_NE(grape, lime);
    // Each swatch shows its own theme whatever the current one is.
    const auto swatches = [](const std::string& css) { return css.substr(css.find(".preferences-swatch-fill.theme-")); };
    EXPECT_EQ(swatches(grape).substr(0, 2000), swatches(lime).substr(0, 2000));
}

TEST(PreferencesCssTest, EveryRuleIsScopedToTheView) {
    const std::string css = preferencesCss(OrvelColorTheme::tangerine);
    std::size_t rules = 0;
    for (std::size_t start = 0, brace; (brace = css.find('{', start)) != std::string::npos; start = css.find('}', brace) + 1) {
        const auto selectorStart = css.rfind('}', brace);
        std::string selector = css.substr(selectorStart == std::string::npos ? 0 : selectorStart + 1,
                                          brace - (selectorStart == std::string::npos ? 0 : selectorStart + 1));
        if (const auto comment = selector.find("*/"); comment != std::string::npos) selector = selector.substr(comment + 2);
        for (std::size_t part = 0; part != std::string::npos;) {
            const auto comma = selector.find(',', part);
            const std::string one = selector.substr(part, comma == std::string::npos ? std::string::npos : comma - part);
            EXPECT_NE(one.find(".preferences-view"), std::string::npos) << one;
            part = comma == std::string::npos ? comma : comma + 1;
        }
        ++rules;
    }
    EXPECT_GT(rules, 20u);
}

}  // namespace
}  // namespace sarvik
