#pragma once

#include "core/uuid.h"

#include <giomm/menu.h>
#include <gtkmm/popovermenu.h>

namespace sarvik {

// The menu of one row: "Open in Browser", "Set Status" with every status,
// "Copy URL" and "Remove", each bound to the panel's actions for that item.
class AuctionContextMenu : public Gtk::PopoverMenu {
public:
    AuctionContextMenu();

    // Opens the menu for the item at (x, y) in the parent's coordinates.
    void popupFor(const Uuid& id, double x, double y);

    static Glib::RefPtr<Gio::Menu> model(const Uuid& id);
};

}  // namespace sarvik
