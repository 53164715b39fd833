#include "support/display/x_input.h"

#include <glibmm/shell.h>
#include <gtkmm/native.h>
#include <glibmm/spawn.h>
#include <gtest/gtest.h>

// Last, because Xlib defines macros (None, Bool, ...) that clash with C++ names.
#include <gdk/x11/gdkx.h>

namespace sarvik::testing {
namespace {

std::string windowOf(Gtk::Widget& widget) {
    return std::to_string(gdk_x11_surface_get_xid(gtk_native_get_surface(widget.get_native()->gobj())));
}

}  // namespace

void pointerAt(Gtk::Widget& widget, const std::string& action) {
    auto* native = widget.get_native();
    double x = 0, y = 0, offsetX = 0, offsetY = 0;
    ASSERT_TRUE(gtk_widget_translate_coordinates(widget.gobj(), GTK_WIDGET(native->gobj()), widget.get_width() / 2.0,
                                                 widget.get_height() / 2.0, &x, &y));
    gtk_native_get_surface_transform(native->gobj(), &offsetX, &offsetY);
    Glib::spawn_command_line_sync("xdotool mousemove --window " + windowOf(widget) + " " +
                                  std::to_string(static_cast<int>(x + offsetX)) + " " +
                                  std::to_string(static_cast<int>(y + offsetY)) + " " + action);
}

void sendKeysTo(Gtk::Widget& widget) {
    pointerAt(widget, "");
    Glib::spawn_command_line_sync("xdotool windowfocus --sync " + windowOf(widget));
}

void typeText(const std::string& text) {
    Glib::spawn_command_line_sync("xdotool type --delay 20 " + Glib::shell_quote(text));
}

void pressKeys(const std::string& keys) { Glib::spawn_command_line_sync("xdotool key " + keys); }

}  // namespace sarvik::testing
