#include "themes/address_suggestions_css.h"

#include "themes/theme_css.h"

#include "support/css_rules.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>

namespace sarvik {
namespace {

using testing::cssRuleBody;

TEST(AddressSuggestionsCssTest, TheSelectedRowAndThePanelTakeTheThemesColours) {
    std::set<std::string> distinct;
    for (auto theme : kAllColorThemes) {
        const std::string css = addressSuggestionsCss(theme);
        const std::string selected = cssRuleBody(css, "popover.orvel-address-suggestions listview > row:selected");
        EXPECT_NE(selected.find(cssGradient(buttonGradient(theme))), std::string::npos) << rawValue(theme);
        EXPECT_NE(selected.find(cssColor(labelColor(theme))), std::string::npos) << rawValue(theme);
        const std::string panel = cssRuleBody(css, "popover.orvel-address-suggestions > contents");
        EXPECT_NE(panel.find(cssColor(primaryColor(theme).withAlpha(0.45))), std::string::npos) << rawValue(theme);
        EXPECT_FALSE(cssRuleBody(css, ".orvel-address-suggestions .orvel-suggestion-star").empty());
        EXPECT_EQ(std::count(css.begin(), css.end(), '{'), std::count(css.begin(), css.end(), '}'));
        distinct.insert(css);
    }
    EXPECT_EQ(distinct.size(), kAllColorThemes.size());
}

}  // namespace
}  // namespace sarvik
