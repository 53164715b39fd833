#include "views/preferences/preferences_choices.h"

#include "core/browser_state.h"

#include <gtest/gtest.h>

namespace sarvik {
namespace {

TEST(PreferencesChoicesTest, OnlyAnExactPrefixNamesAnEngineAndAFreshStateIsGoogle) {
    for (auto engine : kAllSearchEngines) EXPECT_EQ(searchEngineWithPrefix(searchPrefix(engine)), engine);
    EXPECT_EQ(searchEngineWithPrefix(BrowserState().searchEngine.get()), SearchEngine::google);
    EXPECT_EQ(searchPrefix(SearchEngine::google), kDefaultSearchEngine);
    for (const char* other : {"", "https://www.google.com/search?q", "https://www.google.com/search?q= ",
                              "HTTPS://www.bing.com/search?q=", "https://search.example/?q="})
        EXPECT_EQ(searchEngineWithPrefix(other), std::nullopt) << other;
    std::string intervals;
    for (auto minutes : kRefreshIntervalChoices) intervals += refreshIntervalLabel(minutes) + ";";
    EXPECT_EQ(intervals, "1 min;5 min;10 min;15 min;30 min;");
}

}  // namespace
}  // namespace sarvik
