#pragma once

#include <gtkmm/widget.h>

#include <string>

namespace sarvik::testing {

// Real input through the X server (xdotool), for faults in how a user's
// pointer and keys reach the views.

// A pointer action at the centre of a widget: "click 1", "click 3",
// "mousedown 1", or "" to move only. Works in windows and popovers alike.
void pointerAt(Gtk::Widget& widget, const std::string& action);

// Without a window manager the X server sends keys to the window under the
// pointer: brings pointer and keyboard focus to the widget's window.
void sendKeysTo(Gtk::Widget& widget);

// Types text (`xdotool type`) or presses keys (`xdotool key`) where the focus is.
void typeText(const std::string& text);
void pressKeys(const std::string& keys);

}  // namespace sarvik::testing
