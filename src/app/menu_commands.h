#pragma once

#include <giomm/menu.h>
#include <gtkmm/application.h>

#include <functional>

namespace sarvik {

// The menu bar (File, Explorer, Zoom, Theme) and the application actions
// behind it. Every item, chosen or pressed as its shortcut, only posts its
// notification on the default centre; the main window acts on it.
// Action names: "app.new-tab", "app.preferences", "app.zoom-in", "app.change-theme" (with the
// theme's name as a string target), and so on.
// What the application itself answers: the "Window" menu's "Preferences" item
// (Ctrl+comma) opens the separate Preferences window, and File → "Quit"
// (Ctrl+Q) quits. "Keyboard Shortcuts" (Ctrl+?) is each window's own
// "win.show-help-overlay".
struct ApplicationCommands {
    std::function<void()> openPreferencesWindow;
    std::function<void()> quit;
};
Glib::RefPtr<Gio::Menu> installMenuCommands(Gtk::Application& application, ApplicationCommands commands);

}  // namespace sarvik
