#pragma once

#include <gtkmm/widget.h>

namespace sarvik {

// Whether a menu command that acts on one window (find, print, reopen) is
// meant for the window holding `widget`: the window is the active one, or the
// application's most recently focused one, or, when no window is active at
// all, the only candidate.
bool isCommandWindow(const Gtk::Widget& widget);

}  // namespace sarvik
