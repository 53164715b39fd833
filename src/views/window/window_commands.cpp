#include "views/window/window_commands.h"

#include "views/common/command_window.h"

namespace sarvik {

WindowCommands::WindowCommands(const Gtk::Window& window, std::vector<WindowCommand> table) {
    auto& center = NotificationCenter::defaultCenter();
    for (auto& command : table) {
        m_subscriptions.push_back(center.subscribe(
            command.name, [&window, action = std::move(command.action)](const Notification& notification) {
                if (isCommandWindow(window)) action(notification);
            }));
    }
}

}  // namespace sarvik
