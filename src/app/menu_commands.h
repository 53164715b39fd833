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
// The "Window" menu's "Preferences" item (Ctrl+comma) opens the separate
// Preferences window through `openPreferencesWindow`.
Glib::RefPtr<Gio::Menu> installMenuCommands(Gtk::Application& application,
                                            std::function<void()> openPreferencesWindow);

}  // namespace sarvik
