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

TEST(PreferencesChoicesTest, ZoomShowsItsWholePercentageTruncated) {
    EXPECT_EQ(zoomPercentText(1.0), "100%");
    EXPECT_EQ(zoomPercentText(1.25), "125%");
    EXPECT_EQ(zoomPercentText(0.999), "99%");
    // What the zoom steps really produce: the floating-point excess is dropped.
    EXPECT_EQ(zoomPercentText(1.2000000000000002), "120%");
    EXPECT_EQ(zoomPercentText(0.30000000000000016), "30%");
    EXPECT_EQ(zoomPercentText(3.0), "300%");
}

TEST(PreferencesChoicesTest, ZoomSurvivesValuesNoStepProduces) {
    EXPECT_EQ(zoomPercentText(-0.004), "0%");
    // Far beyond any integer type: printed in full, with no out-of-range conversion.
    EXPECT_EQ(zoomPercentText(1e28).size(), 32u);
    EXPECT_FALSE(zoomPercentText(std::numeric_limits<double>::max()).empty());
    EXPECT_FALSE(zoomPercentText(std::numeric_limits<double>::quiet_NaN()).empty());
}

TEST(PreferencesChoicesTest, StepZoomsMatchWhatTheStatePublishes) {
    BrowserState state;
    state.zoomIn();
    EXPECT_EQ(zoomPercentText(state.pageZoom.get()), "110%");
    state.resetZoom();
    for (int i = 0; i < 7; ++i) state.zoomOut();
    EXPECT_EQ(zoomPercentText(state.pageZoom.get()), "30%");
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
