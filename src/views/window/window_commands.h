#pragma once

#include "core/notification_center.h"
#include "core/scoped_connection.h"

#include <gtkmm/window.h>

#include <functional>
#include <string_view>
#include <vector>

namespace sarvik {

// One menu command as a window answers it: the notification's name and what
// the window does.
struct WindowCommand {
    std::string_view name;
    std::function<void(const Notification&)> action;
};

// A window's answers to the menu notifications, in one table that mirrors the
// menu's. A command is taken only by the window it is meant for (the active
// one, see isCommandWindow), checked here once for every command, so two
// windows never both open a tab for one Ctrl+T. Subscribed while it lives.
class WindowCommands {
public:
    WindowCommands(const Gtk::Window& window, std::vector<WindowCommand> table);

private:
    std::vector<ScopedConnection> m_subscriptions;
};

}  // namespace sarvik
