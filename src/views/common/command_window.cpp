#include "views/common/command_window.h"

#include <gtkmm/application.h>
#include <gtkmm/window.h>

namespace sarvik {

bool isCommandWindow(const Gtk::Widget& widget) {
    const auto* window = dynamic_cast<const Gtk::Window*>(widget.get_root());
    if (!window || !window->get_visible()) return false;
    if (window->is_active()) return true;
    if (auto application = const_cast<Gtk::Window*>(window)->get_application()) {
        if (const Gtk::Window* recent = application->get_active_window()) return recent == window;
    }
    for (const Gtk::Window* other : Gtk::Window::list_toplevels())
        if (other != window && other->is_active()) return false;
    return true;
}

}  // namespace sarvik
