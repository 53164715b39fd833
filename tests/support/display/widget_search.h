#pragma once

#include <gtkmm/button.h>
#include <gtkmm/checkbutton.h>
#include <gtkmm/inscription.h>
#include <gtkmm/label.h>
#include <gtkmm/widget.h>

#include "support/display/gtk_test_environment.h"

#include <chrono>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace sarvik::testing {

// Finds widgets the way a user sees them, by type and text, so tests drive
// views through their real controls rather than through accessors.

template <typename T>
void collectWidgets(Gtk::Widget& root, const std::function<bool(T&)>& matches, std::vector<T*>& found) {
    if (auto* typed = dynamic_cast<T*>(&root); typed && matches(*typed)) found.push_back(typed);
    for (auto* child = root.get_first_child(); child; child = child->get_next_sibling())
        collectWidgets(*child, matches, found);
}

template <typename T>
std::vector<T*> findAll(Gtk::Widget& root, const std::function<bool(T&)>& matches = [](T&) { return true; }) {
    std::vector<T*> found;
    collectWidgets(root, matches, found);
    return found;
}

// The text a label or an inscription shows; nothing for other widgets.
inline std::optional<std::string> shownText(Gtk::Widget& widget) {
    if (auto* label = dynamic_cast<Gtk::Label*>(&widget)) return std::string(label->get_text());
    if (auto* inscription = dynamic_cast<Gtk::Inscription*>(&widget)) return std::string(inscription->get_text());
    return std::nullopt;
}

// Every label and inscription inside a widget, in tree order.
inline std::vector<Gtk::Widget*> textWidgets(Gtk::Widget& root) {
    return findAll<Gtk::Widget>(root, [](Gtk::Widget& w) { return shownText(w).has_value(); });
}

// The texts of every label and inscription inside a widget, in tree order, joined with spaces.
inline std::string textOf(Gtk::Widget& widget) {
    std::string text;
    for (auto* shown : textWidgets(widget)) {
        if (!text.empty()) text += ' ';
        text += *shownText(*shown);
    }
    return text;
}

// The one button whose text is `text` (null if none, or more than one).
inline Gtk::Button* findButton(Gtk::Widget& root, const std::string& text) {
    auto found = findAll<Gtk::Button>(root, [&](Gtk::Button& button) { return textOf(button) == text; });
    return found.size() == 1 ? found.front() : nullptr;
}

// The one check or radio button labelled `text` (null if none or several).
inline Gtk::CheckButton* findCheckButton(Gtk::Widget& root, const std::string& text) {
    auto found = findAll<Gtk::CheckButton>(root, [&](Gtk::CheckButton& check) { return std::string(check.get_label()) == text; });
    return found.size() == 1 ? found.front() : nullptr;
}

// The one label showing `text` (null if none or several).
inline Gtk::Label* findLabel(Gtk::Widget& root, const std::string& text) {
    auto found = findAll<Gtk::Label>(root, [&](Gtk::Label& label) { return std::string(label.get_text()) == text; });
    return found.size() == 1 ? found.front() : nullptr;
}

// Whether a widget and all its ancestors are visible (so it shows on screen).
inline bool isShown(Gtk::Widget& widget) {
    for (Gtk::Widget* each = &widget; each; each = each->get_parent())
        if (!each->get_visible()) return false;
    return true;
}

// Presses a button as a user would: through its activation, which GTK turns
// into "clicked" a moment later, after showing the pressed state. Returns
// whether the click arrived.
inline bool click(Gtk::Button* button) {
    if (!button) return false;
    bool clicked = false;
    auto connection = button->signal_clicked().connect([&] { clicked = true; });
    if (!button->activate()) {
        connection.disconnect();
        return false;
    }
    const bool arrived = runMainLoopUntil([&] { return clicked; }, std::chrono::seconds(5));
    connection.disconnect();
    drainMainLoop();
    return arrived;
}

}  // namespace sarvik::testing
