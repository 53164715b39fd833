#pragma once

#include <gtkmm/listview.h>

#include <functional>

namespace sarvik {

// The keys rows of a list answer, as in other Linux lists: Shift+F10 and the
// Menu key open the focused row's menu, Delete runs the row's own "delete"
// entry. Rows offer these through their "row" action group, as
// "row.open-menu" and "row.delete"; a row without them lets the key pass.
void addRowKeys(Gtk::ListView& list);

// Escape in the widget (or in what it holds) runs `cancel`.
void cancelOnEscape(Gtk::Widget& widget, std::function<void()> cancel);

}  // namespace sarvik
