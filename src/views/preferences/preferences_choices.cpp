#include "views/preferences/preferences_choices.h"

#include "core/browser_state.h"

#include <cmath>
#include <cstddef>
#include <cstdio>

namespace sarvik {
namespace {

struct TabInfo {
    std::string_view label;
    std::string_view title;
    const char* symbol;
    const char* css;
};

constexpr std::array<TabInfo, 4> kTabs = {{
    {"General", "General", "emblem-system-symbolic", "general"},
    {"Appearance", "Appearance", "preferences-desktop-appearance-symbolic", "appearance"},
    {"Privacy", "Privacy & Security", "security-high-symbolic", "privacy"},
    {"Auction", "Auction Manager", "applications-engineering-symbolic", "auction"},
}};

struct EngineInfo {
    std::string_view label;
    std::string_view prefix;
};

constexpr std::array<EngineInfo, 4> kEngines = {{
    {"Google", kDefaultSearchEngine},
    {"Bing", "https://www.bing.com/search?q="},
    {"DuckDuckGo", "https://duckduckgo.com/?q="},
    {"Yahoo! Japan", "https://search.yahoo.co.jp/search?p="},
}};

const TabInfo& info(PreferencesTab tab) { return kTabs[static_cast<std::size_t>(tab)]; }
const EngineInfo& info(SearchEngine engine) { return kEngines[static_cast<std::size_t>(engine)]; }

}  // namespace

std::string_view rawValue(PreferencesTab tab) { return info(tab).label; }
std::string_view pageTitle(PreferencesTab tab) { return info(tab).title; }
const char* symbolName(PreferencesTab tab) { return info(tab).symbol; }
const char* cssName(PreferencesTab tab) { return info(tab).css; }

std::string_view rawValue(SearchEngine engine) { return info(engine).label; }
std::string_view searchPrefix(SearchEngine engine) { return info(engine).prefix; }

std::optional<SearchEngine> searchEngineWithPrefix(std::string_view prefix) {
    for (auto engine : kAllSearchEngines)
        if (searchPrefix(engine) == prefix) return engine;
    return std::nullopt;
}

std::string refreshIntervalLabel(std::int64_t minutes) { return std::to_string(minutes) + " min"; }

}  // namespace sarvik
