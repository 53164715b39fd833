#include "themes/address_suggestions_css.h"
#include "themes/auction_panel_css.h"
#include "themes/downloads_css.h"
#include "themes/error_page_css.h"
#include "themes/explorer_bar_css.h"
#include "themes/find_bar_css.h"
#include "themes/preferences_css.h"
#include "themes/scrapbook_panel_css.h"
#include "themes/storage_notice_css.h"
#include "themes/theme_css.h"
#include "themes/window_css.h"

#include "support/file_helpers.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <regex>
#include <set>
#include <string>
#include <vector>

namespace sarvik {
namespace {

struct Rule {
    std::string selector, body;
};

// Splits CSS into rules, failing the test on anything GTK's parser would
// reject in this shape: unbalanced or nested braces, declarations without a
// colon or semicolon, text outside a rule other than @define-color lines.
std::vector<Rule> parseRules(std::string css, const std::string& where) {
    for (auto c = css.find("/*"); c != std::string::npos; c = css.find("/*")) css.erase(c, css.find("*/", c) + 2 - c);
    std::vector<Rule> rules;
    std::size_t at = 0;
    while (true) {
        const auto open = css.find('{', at);
        std::string head = css.substr(at, open == std::string::npos ? std::string::npos : open - at);
        std::smatch define;
        while (std::regex_search(head, define, std::regex(R"(@define-color [a-z_]+ [^;{}]+;)"))) head = define.suffix();
        if (open == std::string::npos) {
            EXPECT_EQ(head.find_first_not_of(" \n"), std::string::npos) << where << ": text after the last rule";
            return rules;
        }
        std::string selector = head.substr(std::min(head.size(), head.find_first_not_of(" \n")));
        if (selector.starts_with("@keyframes")) {  // one level of nesting: its steps are rules
            auto end = open + 1;
            for (int depth = 1; end < css.size() && depth > 0; ++end) depth += css[end] == '{' ? 1 : css[end] == '}' ? -1 : 0;
            EXPECT_GT(parseRules(css.substr(open + 1, end - open - 2), where).size(), 0u) << selector;
            at = end;
            continue;
        }
        const auto close = css.find('}', open);
        EXPECT_NE(close, std::string::npos) << where;
        if (close == std::string::npos) return rules;
        Rule rule{selector, css.substr(open + 1, close - open - 1)};
        EXPECT_EQ(rule.body.find('{'), std::string::npos) << where << ": nested in " << rule.selector;
        EXPECT_NE(rule.selector.find_first_not_of(" \n"), std::string::npos) << where;
        std::string decls = rule.body;
        const std::regex declaration(R"(^\s*-?[a-z-]+\s*:[^;:]*(:[^;]*)?;)");
        for (std::smatch m; std::regex_search(decls, m, declaration);) decls = m.suffix();
        EXPECT_EQ(decls.find_first_not_of(" \n"), std::string::npos) << where << ": " << rule.selector << " {" << rule.body;
        rules.push_back(std::move(rule));
        at = close + 1;
    }
}

std::string allCss(OrvelColorTheme theme) { return windowCss(theme); }

TEST(ThemeCssTest, EveryThemesCssParsesAndDiffersFromTheOthers) {
    std::set<std::string> seen;
    for (auto theme : kAllColorThemes) {
        const std::string name(rawValue(theme));
        for (const auto& [part, css] : std::vector<std::pair<const char*, std::string>>{
                 {"theme", themeCss(theme)}, {"explorer bar", explorerBarCss(theme)},
                 {"auctions", auctionPanelCss(theme)}, {"scrapbook", scrapbookPanelCss(theme)},
                 {"preferences", preferencesCss(theme)}, {"find bar", findBarCss(theme)},
                 {"downloads", downloadsCss(theme)}, {"suggestions", addressSuggestionsCss(theme)},
                 {"storage notice", storageNoticeCss(theme)},
                 {"error page", errorPageCss(theme)}}) {
            EXPECT_GT(parseRules(css, name + " " + part).size(), 0u) << name << " " << part;
            EXPECT_TRUE(seen.insert(css).second) << name << " " << part << " is the same as another theme's";
        }
        // Preferences rules stay inside the view, so they cannot restyle the rest of the window.
        for (const auto& rule : parseRules(preferencesCss(theme), name))
            for (std::size_t from = 0, comma; from != std::string::npos; from = comma == std::string::npos ? comma : comma + 1) {
                comma = rule.selector.find(',', from);
                EXPECT_NE(rule.selector.substr(from, comma - from).find(".preferences-view"), std::string::npos)
                    << rule.selector;
            }
    }
}

// Every class a view puts on a widget is styled by some rule; a renamed class
// in one place and not the other would leave the widget unstyled.
TEST(ThemeCssTest, EveryCssClassAViewUsesHasARule) {
    // The sources sit beside the build folder's ancestors or where this file was compiled from.
    std::filesystem::path views;
    for (auto from : {std::filesystem::read_symlink("/proc/self/exe"), std::filesystem::absolute(__FILE__)})
        for (; from.has_relative_path() && views.empty(); from = from.parent_path())
            if (std::filesystem::exists(from / "src/views/common/theme_stylesheet.cpp")) views = from / "src/views";
    ASSERT_FALSE(views.empty()) << __FILE__;
    std::set<std::string> used;
    const std::regex literal(R"re(css_class(?:es)?\(\{?"([a-z0-9-]+)"|(?:cssClass|iconClass|valueClass)\s*=\s*"([a-z0-9-]+)")re");
    for (const auto& entry : std::filesystem::recursive_directory_iterator(views)) {
        if (entry.path().extension() != ".cpp") continue;
        const std::string text = testing::readFile(entry.path());
        for (std::sregex_iterator m(text.begin(), text.end(), literal), end; m != end; ++m)
            used.insert((*m)[1].matched ? (*m)[1].str() : (*m)[2].str());
    }
    ASSERT_GT(used.size(), 50u) << views;
    for (auto theme : kAllColorThemes) used.insert(swatchThemeClass(theme));
    std::string selectors;
    for (const auto& rule : parseRules(allCss(OrvelColorTheme::blueberry), "all")) selectors += rule.selector + "\n";
    // GTK's own classes, and names that only mark a widget for scoping or lookup.
    const std::set<std::string> unstyled{
        "destructive-action", "flat", "linked", "auction-panel", "orvel-explorer-panel-area", "orvel-favorite-row",
        "orvel-favorites-panel", "orvel-favorites-tree", "orvel-history-list", "orvel-history-panel",
        "orvel-history-row", "orvel-restore-favorites", "orvel-search-panel", "preferences-clear-buttons",
        "preferences-done", "preferences-interval", "preferences-page", "preferences-page-header",
        "preferences-section", "preferences-sheet", "preferences-window", "scrapbook-panel"};
    for (const auto& name : used)
        if (!unstyled.contains(name) && !name.ends_with('-')) {
            EXPECT_TRUE(std::regex_search(selectors, std::regex("\\." + name + "([^a-z0-9-]|$)"))) << "." << name;
        }
}

}  // namespace
}  // namespace sarvik
