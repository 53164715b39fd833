#include "themes/address_suggestions_css.h"

#include "themes/theme_css.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
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

TEST(AddressSuggestionsCssTest, TheSelectedRowAndThePanelTakeTheThemesColours) {
    std::set<std::string> distinct;
    for (auto theme : kAllColorThemes) {
        const std::string css = addressSuggestionsCss(theme);
        const std::string selected = ruleBody(css, "popover.orvel-address-suggestions listview > row:selected");
        EXPECT_NE(selected.find(cssGradient(buttonGradient(theme))), std::string::npos) << rawValue(theme);
        EXPECT_NE(selected.find(cssColor(labelColor(theme))), std::string::npos) << rawValue(theme);
        const std::string panel = ruleBody(css, "popover.orvel-address-suggestions > contents");
        EXPECT_NE(panel.find(cssColor(primaryColor(theme).withAlpha(0.45))), std::string::npos) << rawValue(theme);
        EXPECT_FALSE(ruleBody(css, ".orvel-address-suggestions .orvel-suggestion-star").empty());
        EXPECT_EQ(std::count(css.begin(), css.end(), '{'), std::count(css.begin(), css.end(), '}'));
        distinct.insert(css);
    }
    EXPECT_EQ(distinct.size(), kAllColorThemes.size());
}

}  // namespace
}  // namespace sarvik
