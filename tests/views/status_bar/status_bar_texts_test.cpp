#include "views/status_bar/status_bar_texts.h"

#include <gtest/gtest.h>

namespace sarvik {
namespace {

TEST(StatusBarTextsTest, ZoomIsTruncatedToWholePercent) {
    EXPECT_EQ(zoomBadgeText(1.2000000000000002), "120%");
    EXPECT_EQ(zoomBadgeText(1.1), "110%");
    EXPECT_EQ(zoomBadgeText(0.30000000000000016), "30%");
    EXPECT_EQ(zoomBadgeText(0.999), "99%");
    EXPECT_EQ(zoomBadgeText(2.3), "230%");
    EXPECT_EQ(zoomBadgeText(0.57), "57%");
    EXPECT_EQ(zoomBadgeText(3.0), "300%");
}

TEST(StatusBarTextsTest, CountsAndThemeName) {
    EXPECT_EQ(tabCountText(2), "2 tabs");
    EXPECT_EQ(endingSoonText(3), "3 ending soon");
    EXPECT_EQ(themeSwatchTooltip(OrvelColorTheme::blueberry), "Theme: Blueberry");
    EXPECT_EQ(themeSwatchTooltip(OrvelColorTheme::powerbook), "Theme: PowerBook");
}

}  // namespace
}  // namespace sarvik
