#pragma once

#include <gtkmm/entry.h>

namespace sarvik {

// Gives an entry the keyboard with its whole text selected. The selection
// comes first: GTK starts the cursor blinking when focus arrives over no
// selection, does not stop it when the text is selected afterwards, and then
// warns of a blinking selection.
void focusWithTextSelected(Gtk::Entry& entry);

}  // namespace sarvik
