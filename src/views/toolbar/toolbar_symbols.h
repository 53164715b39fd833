#pragma once

// The icon-theme names of the toolbar's symbols (Adwaita symbolic icons).
namespace sarvik::symbols {

inline constexpr const char* kCollapse = "go-up-symbolic";
inline constexpr const char* kExpand = "go-down-symbolic";
inline constexpr const char* kBack = "go-previous-symbolic";
inline constexpr const char* kForward = "go-next-symbolic";
inline constexpr const char* kStop = "process-stop-symbolic";
inline constexpr const char* kReload = "view-refresh-symbolic";
inline constexpr const char* kHome = "go-home-symbolic";
inline constexpr const char* kFavorites = "starred-symbolic";
inline constexpr const char* kScrapbook = "x-office-document-symbolic";
inline constexpr const char* kAuction = "applications-engineering-symbolic";
inline constexpr const char* kPreferences = "emblem-system-symbolic";
inline constexpr const char* kSecure = "changes-prevent-symbolic";
inline constexpr const char* kInsecure = "web-browser-symbolic";
inline constexpr const char* kCloseTab = "window-close-symbolic";
inline constexpr const char* kNewTab = "list-add-symbolic";

}  // namespace sarvik::symbols
