#pragma once

#include <gtkmm/application.h>

#include <cstddef>
#include <functional>

namespace sarvik {

// Ctrl+Q: closes every window of the application, then runs `quit`. With
// downloads still running it first asks, in a dialog over the active window;
// "Cancel" leaves everything as it was.
void requestQuit(Gtk::Application& application, std::size_t runningDownloads, std::function<void()> quit);

}  // namespace sarvik
