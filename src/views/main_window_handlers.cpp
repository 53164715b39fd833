#include "views/main_window_handlers.h"

#include "core/color_theme.h"
#include "core/notification_names.h"

namespace sarvik {

namespace names = notifications;

MainWindowHandlers::MainWindowHandlers(BrowserState& browserState) : m_browserState(browserState) {
    BrowserState& state = m_browserState;
    subscribe(names::kNewTab, [&state](const Notification&) { state.newTab(); });
    subscribe(names::kCloseTab, [this](const Notification&) { closeActiveTab(); });
    subscribe(names::kToggleToolbar, [&state](const Notification&) { state.isToolbarCollapsed = !state.isToolbarCollapsed; });
    subscribe(names::kChangeTheme, [this](const Notification& n) { changeTheme(n.object); });
    subscribe(names::kZoomIn, [&state](const Notification&) { state.zoomIn(); });
    subscribe(names::kZoomOut, [&state](const Notification&) { state.zoomOut(); });
    subscribe(names::kResetZoom, [&state](const Notification&) { state.resetZoom(); });

    // The explorer bar itself comes later; its switches already follow the menu.
    subscribe(names::kToggleExplorerBar,
              [&state](const Notification&) { state.isExplorerBarVisible = !state.isExplorerBarVisible; });
    subscribe(names::kShowFavorites, [this](const Notification&) { showExplorerPanel(ExplorerBarTab::favorites); });
    subscribe(names::kShowHistory, [this](const Notification&) { showExplorerPanel(ExplorerBarTab::history); });
    subscribe(names::kShowSearch, [this](const Notification&) { showExplorerPanel(ExplorerBarTab::search); });
    subscribe(names::kShowScrapbook, [this](const Notification&) { showExplorerPanel(ExplorerBarTab::scrapbook); });
    subscribe(names::kShowAuction, [this](const Notification&) { showExplorerPanel(ExplorerBarTab::auction); });
}

void MainWindowHandlers::subscribe(std::string_view name, std::function<void(const Notification&)> handler) {
    m_subscriptions.push_back(NotificationCenter::defaultCenter().subscribe(name, std::move(handler)));
}

void MainWindowHandlers::closeActiveTab() {
    if (const auto tab = m_browserState.activeTab()) m_browserState.closeTab(tab->id);
}

void MainWindowHandlers::changeTheme(const std::optional<std::string>& rawValue) {
    if (!rawValue) return;
    if (const auto theme = colorThemeFromRawValue(*rawValue)) m_browserState.colorTheme = *theme;
}

void MainWindowHandlers::showExplorerPanel(ExplorerBarTab panel) {
    m_browserState.isExplorerBarVisible = true;
    m_browserState.selectedExplorerTab = panel;
}

}  // namespace sarvik
