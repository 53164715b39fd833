#pragma once

#include <array>
#include <optional>
#include <string_view>

namespace sarvik {

// The explorer bar's panels, in the order their buttons are listed.
enum class ExplorerBarTab { favorites, history, search, scrapbook, auction };

inline constexpr std::array<ExplorerBarTab, 5> kAllExplorerBarTabs = {
    ExplorerBarTab::favorites, ExplorerBarTab::history, ExplorerBarTab::search,
    ExplorerBarTab::scrapbook, ExplorerBarTab::auction};

constexpr std::string_view rawValue(ExplorerBarTab tab) {
    switch (tab) {
    case ExplorerBarTab::favorites: return "Favorites";
    case ExplorerBarTab::history: return "History";
    case ExplorerBarTab::search: return "Search";
    case ExplorerBarTab::scrapbook: return "Scrapbook";
    case ExplorerBarTab::auction: return "Auction Manager";
    }
    return {};
}

constexpr std::optional<ExplorerBarTab> explorerBarTabFromRawValue(std::string_view text) {
    for (auto tab : kAllExplorerBarTabs)
        if (rawValue(tab) == text) return tab;
    return std::nullopt;
}

}  // namespace sarvik
