#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace sarvik {

// The four Preferences pages, in sidebar order.
enum class PreferencesTab { general, appearance, privacy, auction };

inline constexpr std::array<PreferencesTab, 4> kAllPreferencesTabs = {
    PreferencesTab::general, PreferencesTab::appearance, PreferencesTab::privacy, PreferencesTab::auction};

// The sidebar label ("General", ...), also the tab's raw value.
std::string_view rawValue(PreferencesTab tab);
// The page header's title ("Privacy & Security" for privacy).
std::string_view pageTitle(PreferencesTab tab);
// The icon-theme name of the tab's symbol.
const char* symbolName(PreferencesTab tab);
// The CSS class naming the tab's page ("general", ...).
const char* cssName(PreferencesTab tab);

// The engines offered for web searches, in radio-group order.
enum class SearchEngine { google, bing, duckduckgo, yahoo };

inline constexpr std::array<SearchEngine, 4> kAllSearchEngines = {SearchEngine::google, SearchEngine::bing,
                                                                  SearchEngine::duckduckgo, SearchEngine::yahoo};

std::string_view rawValue(SearchEngine engine);
// The text the browser appends a percent-encoded query to; Google's is the
// browser state's default, so a fresh state shows Google.
std::string_view searchPrefix(SearchEngine engine);
// The engine whose prefix equals `prefix` exactly, if any.
std::optional<SearchEngine> searchEngineWithPrefix(std::string_view prefix);

// The refresh intervals offered, in minutes, and the label of each ("5 min").
inline constexpr std::array<std::int64_t, 5> kRefreshIntervalChoices = {1, 5, 10, 15, 30};
std::string refreshIntervalLabel(std::int64_t minutes);


}  // namespace sarvik
