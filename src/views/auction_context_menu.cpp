#include "views/auction_context_menu.h"

#include "views/auction_panel_actions.h"
#include "views/auction_symbols.h"

#include <gdkmm/rectangle.h>
#include <giomm/themedicon.h>
#include <glibmm/variant.h>

namespace sarvik {
namespace {

Glib::RefPtr<Gio::MenuItem> entry(const Glib::ustring& label, std::string_view action, const std::string& target) {
    auto item = Gio::MenuItem::create(label, "");
    item->set_action_and_target(auction_actions::detailed(action), Glib::Variant<Glib::ustring>::create(target));
    return item;
}

}  // namespace

AuctionContextMenu::AuctionContextMenu() {
    set_has_arrow(false);
    set_halign(Gtk::Align::START);
}

Glib::RefPtr<Gio::Menu> AuctionContextMenu::model(const Uuid& id) {
    const std::string idText = id.toString();
    auto open = Gio::Menu::create();
    open->append_item(entry("Open in Browser", auction_actions::kOpen, idText));

    auto statuses = Gio::Menu::create();
    for (AuctionStatus status : kAllAuctionStatuses)
    {
        auto item = entry(Glib::ustring(std::string(rawValue(status))), auction_actions::kSetStatus,
                          auction_actions::setStatusTarget(id, status));
        item->set_icon(Gio::ThemedIcon::create(std::string(auction_symbols::statusIcon(status))));
        statuses->append_item(item);
    }
    auto middle = Gio::Menu::create();
    middle->append_submenu("Set Status", statuses);
    middle->append_item(entry("Copy URL", auction_actions::kCopyUrl, idText));

    auto remove = Gio::Menu::create();
    remove->append_item(entry("Remove", auction_actions::kRemove, idText));

    auto menu = Gio::Menu::create();
    menu->append_section(open);
    menu->append_section(middle);
    menu->append_section(remove);
    return menu;
}

void AuctionContextMenu::popupFor(const Uuid& id, double x, double y) {
    set_menu_model(model(id));
    Gdk::Rectangle point(static_cast<int>(x), static_cast<int>(y), 1, 1);
    set_pointing_to(point);
    popup();
}

}  // namespace sarvik
