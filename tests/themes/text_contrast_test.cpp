#include "themes/text_roles.h"
#include "themes/theme_css.h"
#include "themes/window_css.h"

#include <gtest/gtest.h>

#include <cstdio>

namespace sarvik {
namespace {

// 4.5:1 for every role on a light surface, 3:1 for bold text of 14 px and more; the
// roles on theme fills (labelColor) are printed with the rest, for the record.
TEST(TextContrastTest, EveryTextRoleReadsOverItsBackgroundInEveryThemesCss) {
    std::printf("%-20s", "role");
    for (auto theme : kAllColorThemes) std::printf(" %10s", std::string(rawValue(theme)).c_str());
    for (const auto& role : textRoles()) {
        const double needed = role.bold && role.fontPixels >= 14 ? 3.0 : 4.5;
        std::printf("\n%-20s", std::string(role.name).c_str());
        for (auto theme : kAllColorThemes) {
            const double ratio = worstContrast(role, theme);
            std::printf(" %10.1f", ratio);
            if (!isThemeFill(role.backdrop)) {
                EXPECT_GE(ratio, needed) << role.name << " in " << rawValue(theme);
            }
            const std::string rule = std::string(role.selector) + " { color: " + cssColor(role.foreground(theme));
            EXPECT_NE(windowCss(theme).find(rule), std::string::npos) << role.name;
        }
        if (isThemeFill(role.backdrop)) std::printf("  (theme fill)");
    }
    std::printf("\n");
}

}  // namespace
}  // namespace sarvik
