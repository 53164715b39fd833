#pragma once

#include <gtkmm/application.h>

#include <chrono>
#include <functional>

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

}  // namespace sarvik::testing
