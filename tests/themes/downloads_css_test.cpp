#include "themes/downloads_css.h"
#include "themes/theme_css.h"

#include "support/css_rules.h"

#include <gtest/gtest.h>

#include <string>

namespace sarvik {
namespace {

using testing::cssRuleBody;

TEST(DownloadsCssTest, TheStatusBarItemsAndActionsFollowTheTheme) {
    for (auto theme : kAllColorThemes) {
        const std::string css = downloadsCss(theme);
        EXPECT_NE(cssRuleBody(css, ".orvel-download-status").find("color: " + cssColor(labelColor(theme))),
                  std::string::npos)
            << rawValue(theme);
        EXPECT_NE(cssRuleBody(css, ".orvel-download-action").find(cssGradient(buttonGradient(theme))), std::string::npos)
            << rawValue(theme);
    }
    EXPECT_NE(downloadsCss(OrvelColorTheme::grape), downloadsCss(OrvelColorTheme::lime));
}

TEST(DownloadsCssTest, AnUnsuccessfulDownloadsStateStandsOut) {
    const std::string css = downloadsCss(OrvelColorTheme::blueberry);
    const std::string unsuccessful = cssRuleBody(css, ".orvel-download-row.unsuccessful .orvel-download-state");
    ASSERT_FALSE(unsuccessful.empty());
    EXPECT_NE(unsuccessful, cssRuleBody(css, ".orvel-download-state"));
}

}  // namespace
}  // namespace sarvik
