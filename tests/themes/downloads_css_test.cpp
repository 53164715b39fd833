#include "themes/downloads_css.h"
#include "themes/theme_css.h"

#include <gtest/gtest.h>

#include <string>

namespace sarvik {
namespace {

// The text of the first rule whose selector is exactly `selector`.
std::string ruleBody(const std::string& css, const std::string& selector) {
    const auto start = css.find(selector + " {");
    if (start == std::string::npos) return {};
    const auto open = css.find('{', start);
    return css.substr(open + 1, css.find('}', open) - open - 1);
}

TEST(DownloadsCssTest, TheStatusBarItemsAndActionsFollowTheTheme) {
    for (auto theme : kAllColorThemes) {
        const std::string css = downloadsCss(theme);
        EXPECT_NE(ruleBody(css, ".orvel-download-status").find("color: " + cssColor(labelColor(theme))),
                  std::string::npos)
            << rawValue(theme);
        EXPECT_NE(ruleBody(css, ".orvel-download-action").find(cssGradient(buttonGradient(theme))), std::string::npos)
            << rawValue(theme);
    }
    EXPECT_NE(downloadsCss(OrvelColorTheme::grape), downloadsCss(OrvelColorTheme::lime));
}

TEST(DownloadsCssTest, AnUnsuccessfulDownloadsStateStandsOut) {
    const std::string css = downloadsCss(OrvelColorTheme::blueberry);
    const std::string unsuccessful = ruleBody(css, ".orvel-download-row.unsuccessful .orvel-download-state");
    ASSERT_FALSE(unsuccessful.empty());
    EXPECT_NE(unsuccessful, ruleBody(css, ".orvel-download-state"));
}

}  // namespace
}  // namespace sarvik
