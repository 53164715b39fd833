#include "views/preferences/preferences_choices.h"

#include "core/browser_state.h"

#include <gtest/gtest.h>

#include <limits>
#include <string>

namespace sarvik {
namespace {

TEST(PreferencesChoicesTest, EnginesKeepTheirOrderLabelsAndExactPrefixes) {
    ASSERT_EQ(kAllSearchEngines.size(), 4u);
    EXPECT_EQ(rawValue(kAllSearchEngines[0]), "Google");
    EXPECT_EQ(rawValue(kAllSearchEngines[1]), "Bing");
    EXPECT_EQ(rawValue(kAllSearchEngines[2]), "DuckDuckGo");
    EXPECT_EQ(rawValue(kAllSearchEngines[3]), "Yahoo! Japan");
    EXPECT_EQ(searchPrefix(SearchEngine::google), "https://www.google.com/search?q=");
    EXPECT_EQ(searchPrefix(SearchEngine::bing), "https://www.bing.com/search?q=");
    EXPECT_EQ(searchPrefix(SearchEngine::duckduckgo), "https://duckduckgo.com/?q=");
    EXPECT_EQ(searchPrefix(SearchEngine::yahoo), "https://search.yahoo.co.jp/search?p=");
}

TEST(PreferencesChoicesTest, AFreshBrowserStateMapsToGoogle) {
    BrowserState state;
    EXPECT_EQ(searchPrefix(SearchEngine::google), kDefaultSearchEngine);
    EXPECT_EQ(searchEngineWithPrefix(state.searchEngine.get()), SearchEngine::google);
}

TEST(PreferencesChoicesTest, OnlyAnExactPrefixNamesAnEngine) {
    for (auto engine : kAllSearchEngines) EXPECT_EQ(searchEngineWithPrefix(searchPrefix(engine)), engine);
    EXPECT_EQ(searchEngineWithPrefix(""), std::nullopt);
    EXPECT_EQ(searchEngineWithPrefix("https://www.google.com/search?q"), std::nullopt);
    EXPECT_EQ(searchEngineWithPrefix("https://www.google.com/search?q= "), std::nullopt);
    EXPECT_EQ(searchEngineWithPrefix("HTTPS://www.bing.com/search?q="), std::nullopt);
    EXPECT_EQ(searchEngineWithPrefix("https://search.example/?q="), std::nullopt);
}

TEST(PreferencesChoicesTest, TabsAndIntervalsKeepTheirOrderAndTexts) {
    ASSERT_EQ(kAllPreferencesTabs.size(), 4u);
    const char* labels[] = {"General", "Appearance", "Privacy", "Auction"};
    const char* titles[] = {"General", "Appearance", "Privacy & Security", "Auction Manager"};
    for (std::size_t i = 0; i < kAllPreferencesTabs.size(); ++i) {
        EXPECT_EQ(rawValue(kAllPreferencesTabs[i]), labels[i]);
        EXPECT_EQ(pageTitle(kAllPreferencesTabs[i]), titles[i]);
    }
    std::string intervals;
    for (auto minutes : kRefreshIntervalChoices) intervals += refreshIntervalLabel(minutes) + ";";
    EXPECT_EQ(intervals, "1 min;5 min;10 min;15 min;30 min;");
}

}  // namespace
}  // namespace sarvik
