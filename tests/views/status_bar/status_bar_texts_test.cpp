#include "views/status_bar/status_bar_texts.h"

#include <gtest/gtest.h>

namespace sarvik {
namespace {

TEST(StatusBarTextsTest, CountsAndThemeName) {
    EXPECT_EQ(tabCountText(2), "2 tabs");
    EXPECT_EQ(endingSoonText(3), "3 ending soon");
    EXPECT_EQ(themeSwatchTooltip(OrvelColorTheme::blueberry), "Theme: Blueberry");
    EXPECT_EQ(themeSwatchTooltip(OrvelColorTheme::powerbook), "Theme: PowerBook");
}

}  // namespace
}  // namespace sarvik
