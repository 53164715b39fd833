#include "views/common/row_keys.h"

#include <gtkmm/eventcontrollerkey.h>

namespace sarvik {
namespace {

// The focused list item holds the row widget, sometimes inside an expander;
// an action is found from the row or anything inside it, not from above it.
bool activateInRow(Gtk::Widget& widget, const char* action, int depth = 0) {
    if (widget.activate_action(action)) return true;
    if (depth == 3) return false;
    for (auto* child = widget.get_first_child(); child; child = child->get_next_sibling())
        if (activateInRow(*child, action, depth + 1)) return true;
    return false;
}

const char* rowActionFor(guint key, Gdk::ModifierType modifiers) {
    const auto held = modifiers & (Gdk::ModifierType::SHIFT_MASK | Gdk::ModifierType::CONTROL_MASK |
                                   Gdk::ModifierType::ALT_MASK);
    if (key == GDK_KEY_Menu && held == Gdk::ModifierType{}) return "row.open-menu";
    if (key == GDK_KEY_F10 && held == Gdk::ModifierType::SHIFT_MASK) return "row.open-menu";
    if ((key == GDK_KEY_Delete || key == GDK_KEY_KP_Delete) && held == Gdk::ModifierType{}) return "row.delete";
    return nullptr;
}

}  // namespace

void addRowKeys(Gtk::ListView& list) {
    auto keys = Gtk::EventControllerKey::create();
    keys->signal_key_pressed().connect(
        [&list](guint key, guint, Gdk::ModifierType modifiers) {
            const char* action = rowActionFor(key, modifiers);
            auto* item = gtk_widget_get_focus_child(GTK_WIDGET(list.gobj()));
            return action && item && activateInRow(*Glib::wrap(item), action);
        },
        false);
    list.add_controller(keys);
}

void cancelOnEscape(Gtk::Widget& widget, std::function<void()> cancel) {
    auto keys = Gtk::EventControllerKey::create();
    keys->signal_key_pressed().connect(
        [cancel = std::move(cancel)](guint key, guint, Gdk::ModifierType) {
            if (key != GDK_KEY_Escape) return false;
            cancel();
            return true;
        },
        false);
    widget.add_controller(keys);
}

}  // namespace sarvik
