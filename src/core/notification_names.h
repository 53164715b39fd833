#pragma once

#include <string_view>

// The program's notification names, the one place they are spelled.
namespace sarvik::notifications {

inline constexpr std::string_view kNewTab = "newTab";
inline constexpr std::string_view kCloseTab = "closeTab";
inline constexpr std::string_view kToggleExplorerBar = "toggleExplorerBar";
inline constexpr std::string_view kToggleToolbar = "toggleToolbar";
inline constexpr std::string_view kShowFavorites = "showFavorites";
inline constexpr std::string_view kShowHistory = "showHistory";
inline constexpr std::string_view kShowSearch = "showSearch";
inline constexpr std::string_view kShowScrapbook = "showScrapbook";
inline constexpr std::string_view kShowAuction = "showAuction";
inline constexpr std::string_view kChangeTheme = "changeTheme";
inline constexpr std::string_view kZoomIn = "zoomIn";
inline constexpr std::string_view kZoomOut = "zoomOut";
inline constexpr std::string_view kResetZoom = "resetZoom";
inline constexpr std::string_view kOpenPreferences = "openPreferences";
inline constexpr std::string_view kLoadScrapbookArchive = "loadScrapbookArchive";
inline constexpr std::string_view kReopenClosedTab = "reopenClosedTab";
inline constexpr std::string_view kPrintPage = "printPage";
inline constexpr std::string_view kImportFavorites = "importFavorites";
inline constexpr std::string_view kExportFavorites = "exportFavorites";
inline constexpr std::string_view kRestoreFavorites = "restoreFavorites";
inline constexpr std::string_view kFindInPage = "findInPage";
inline constexpr std::string_view kFindNext = "findNext";
inline constexpr std::string_view kFindPrevious = "findPrevious";

}  // namespace sarvik::notifications
