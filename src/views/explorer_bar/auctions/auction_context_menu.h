#pragma once

#include "core/uuid.h"
#include "stores/auction_item.h"

#include <giomm/menu.h>
#include <giomm/simpleaction.h>
#include <giomm/simpleactiongroup.h>
#include <gtkmm/popovermenu.h>

namespace sarvik {

// The menu of one row: "Open in Browser", "Edit…", "Set Status" with every
// status, "Copy URL" and "Remove", each bound to the panel's actions for that item.
// The item's own status is checked in "Set Status": menu entries draw no
// symbols, so the mark is what tells the statuses apart.
class AuctionContextMenu : public Gtk::PopoverMenu {
public:
    AuctionContextMenu();

    // Opens the menu for the item at (x, y) in the parent's coordinates.
    void popupFor(const Uuid& id, AuctionStatus status, double x, double y);

    static Glib::RefPtr<Gio::Menu> model(const Uuid& id);

private:
    void setStatus(const Glib::VariantBase& status);

    Uuid m_id;
    Glib::RefPtr<Gio::SimpleActionGroup> m_actions;
    Glib::RefPtr<Gio::SimpleAction> m_status;
};

}  // namespace sarvik
