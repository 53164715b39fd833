#include "views/common/entry_focus.h"

namespace sarvik {

void focusWithTextSelected(Gtk::Entry& entry) {
    entry.select_region(0, -1);
    entry.grab_focus_without_selecting();
}

}  // namespace sarvik
