#pragma once

#include <gtkmm/application.h>
#include <gtkmm/entry.h>
#include <gtkmm/widget.h>
#include <gtkmm/window.h>

#include <chrono>
#include <functional>
#include <optional>

namespace sarvik::testing {

// The GTK application that display tests run inside. Created by the display
// tests' main() before any test; registered, so GTK is initialised, but not run:
// tests drive the main loop themselves with the helpers below.
Glib::RefPtr<Gtk::Application> testApplication();

// Runs pending main-loop work without blocking.
void drainMainLoop();

// Runs the main loop until `done` returns true or `timeout` passes; returns
// whether `done` became true. This bounds waits; it is not a timing assertion.
bool runMainLoopUntil(const std::function<bool()>& done,
                      std::chrono::milliseconds timeout = std::chrono::seconds(20));

// The first widget named `name` in the tree under `root` (root included), or null.
Gtk::Widget* findDescendant(Gtk::Widget& root, const Glib::ustring& name);

// A visible top-level window with this widget name, or null.
Gtk::Window* findWindow(const Glib::ustring& name);

// Whether the entry's text was selected at the moment `focus` gave it the
// keyboard; none when it never got it. The entry's window is made active
// first, since only there does focus reach the text. A text selected after
// its cursor started blinking makes GTK warn.
std::optional<bool> selectedWhenFocused(Gtk::Entry& entry, const std::function<void()>& focus);

}  // namespace sarvik::testing
