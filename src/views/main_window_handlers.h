#pragma once

#include "core/browser_state.h"
#include "core/notification_center.h"
#include "core/scoped_connection.h"

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace sarvik {

// The main window's answers to the menu notifications. Subscribed while the
// object lives; each handler acts on the shared browser state.
class MainWindowHandlers {
public:
    explicit MainWindowHandlers(BrowserState& browserState);

private:
    void subscribe(std::string_view name, std::function<void(const Notification&)> handler);
    void closeActiveTab();
    void changeTheme(const std::optional<std::string>& rawValue);
    void showExplorerPanel(ExplorerBarTab panel);

    BrowserState& m_browserState;
    std::vector<ScopedConnection> m_subscriptions;
};

}  // namespace sarvik
