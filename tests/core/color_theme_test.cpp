#include "core/color_theme.h"

#include <gtest/gtest.h>

#include <set>

namespace sarvik {
namespace {

TEST(ColorThemeTest, ListsSevenThemesInOrderAndLooksThemUpExactly) {
    ASSERT_EQ(kAllColorThemes.size(), 7u);
    EXPECT_EQ(rawValue(kAllColorThemes.front()), "Blueberry");
    EXPECT_EQ(rawValue(kAllColorThemes.back()), "PowerBook");
    const char* names[] = {"Blueberry", "Grape", "Tangerine", "Lime", "Strawberry", "Graphite", "PowerBook"};
    for (std::size_t i = 0; i < 7; ++i) {
        EXPECT_EQ(rawValue(kAllColorThemes[i]), names[i]);
        EXPECT_EQ(colorThemeFromRawValue(names[i]), kAllColorThemes[i]);
    }
    EXPECT_FALSE(colorThemeFromRawValue("blueberry"));
    EXPECT_FALSE(colorThemeFromRawValue("Powerbook"));
    EXPECT_FALSE(colorThemeFromRawValue(""));
}

TEST(ColorThemeTest, EveryThemeHasItsOwnColours) {
    std::set<std::tuple<double, double, double>> primaries;
    for (auto theme : kAllColorThemes) {
        const Rgba p = primaryColor(theme);
        primaries.insert({p.red, p.green, p.blue});
        EXPECT_NE(primaryColor(theme), secondaryColor(theme));
        EXPECT_NE(secondaryColor(theme), highlightColor(theme));
    }
    EXPECT_EQ(primaries.size(), 7u);
}

TEST(ColorThemeTest, LabelsAreWhiteOnlyOnTheDarkThemes) {
    for (auto theme : kAllColorThemes) {
        const bool dark = theme == OrvelColorTheme::graphite || theme == OrvelColorTheme::powerbook;
        const Rgba expected = dark ? Rgba{1, 1, 1, 1} : Rgba{0.15, 0.15, 0.20, 1};
        EXPECT_EQ(labelColor(theme), expected) << rawValue(theme);
    }
}

TEST(ColorThemeTest, GradientsHaveTheirStopsAndOpacities) {
    const auto toolbar = toolbarGradient(OrvelColorTheme::grape);
    ASSERT_EQ(toolbar.stops.size(), 5u);
    EXPECT_EQ(toolbar.stops[0], (GradientStop{highlightColor(OrvelColorTheme::grape).withAlpha(0.9), 0.0}));
    EXPECT_EQ(toolbar.stops[2], (GradientStop{primaryColor(OrvelColorTheme::grape).withAlpha(0.6), 0.5}));
    EXPECT_EQ(toolbar.stops[4], (GradientStop{highlightColor(OrvelColorTheme::grape).withAlpha(0.5), 1.0}));
    const auto button = buttonGradient(OrvelColorTheme::lime);
    ASSERT_EQ(button.stops.size(), 4u);
    EXPECT_EQ(button.stops[1].location, 1.0 / 3.0);
    EXPECT_EQ(button.stops[2].color, primaryColor(OrvelColorTheme::lime));
    EXPECT_EQ(button.stops[3].color, secondaryColor(OrvelColorTheme::lime).withAlpha(0.8));
}

}  // namespace
}  // namespace sarvik
