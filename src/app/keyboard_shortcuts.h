#pragma once

#include <gtkmm/application.h>
#include <gtkmm/applicationwindow.h>

#include <string>

namespace sarvik {

// GTK's builder text of a Keyboard Shortcuts window: one group per menu of the
// application's menu bar with each item that has keys (as the application
// holds them at the time of the call), then the window's own keys. Pure text.
std::string keyboardShortcutsUi(Gtk::Application& application);

// Gives `window` its Keyboard Shortcuts window (Ctrl+?, "win.show-help-overlay"), made on first use.
void addKeyboardShortcutsWindow(Gtk::Application& application, Gtk::ApplicationWindow& window);

}  // namespace sarvik
