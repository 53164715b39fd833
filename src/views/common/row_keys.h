#pragma once

#include <gtkmm/listview.h>

#include <functional>
#include <string_view>
#include <vector>

namespace sarvik {

// The keys rows of a list answer, as in other Linux lists: Shift+F10 and the
// Menu key open the focused row's menu, Delete runs the row's own "delete"
// entry. Rows offer these through their "row" action group, as
// "row.open-menu" and "row.delete"; a row without them lets the key pass.
void addRowKeys(Gtk::ListView& list);

// The keys above, and Escape, as the Keyboard Shortcuts window lists them
// (accelerators in GTK's syntax, alternatives apart by spaces).
struct ListKey {
    std::string_view title;
    std::string_view accelerators;
};
inline const std::vector<ListKey>& listKeys() {
    static const std::vector<ListKey> keys{{"Open the row's menu", "<Shift>F10 Menu"},
                                           {"Remove the row", "Delete"},
                                           {"Cancel a rename, a new folder or a form", "Escape"}};
    return keys;
}

// Escape in the widget (or in what it holds) runs `cancel`.
void cancelOnEscape(Gtk::Widget& widget, std::function<void()> cancel);

}  // namespace sarvik
