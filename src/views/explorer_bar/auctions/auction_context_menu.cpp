#include "views/explorer_bar/auctions/auction_context_menu.h"

#include "views/explorer_bar/auctions/auction_panel_actions.h"
#include "views/common/menu_label.h"

#include <gdkmm/rectangle.h>
#include <glibmm/variant.h>

namespace sarvik {
namespace {

// The menu's own group: its status entry is a radio, its state the item's status.
constexpr const char* kMenuGroup = "auction-menu";
constexpr const char* kStatusAction = "status";

Glib::RefPtr<Gio::MenuItem> entry(std::string_view label, const std::string& action, const std::string& target) {
    auto item = Gio::MenuItem::create(literalMenuLabel(label), "");
    item->set_action_and_target(action, Glib::Variant<Glib::ustring>::create(target));
    return item;
}

}  // namespace

AuctionContextMenu::AuctionContextMenu()
    : m_actions(Gio::SimpleActionGroup::create()),
      m_status(Gio::SimpleAction::create(kStatusAction, Glib::VARIANT_TYPE_STRING,
                                         Glib::Variant<Glib::ustring>::create(""))) {
    set_has_arrow(false);
    set_halign(Gtk::Align::START);
    // The action belongs to this menu and goes with it.
    m_status->signal_activate().connect(sigc::mem_fun(*this, &AuctionContextMenu::setStatus));
    m_actions->add_action(m_status);
    insert_action_group(kMenuGroup, m_actions);
}

Glib::RefPtr<Gio::Menu> AuctionContextMenu::model(const Uuid& id) {
    const std::string idText = id.toString();
    auto open = Gio::Menu::create();
    open->append_item(entry("Open in Browser", auction_actions::detailed(auction_actions::kOpen), idText));

    auto statuses = Gio::Menu::create();
    for (AuctionStatus status : kAllAuctionStatuses) {
        const std::string raw(rawValue(status));
        statuses->append_item(entry(raw, std::string(kMenuGroup) + "." + kStatusAction, raw));
    }
    auto middle = Gio::Menu::create();
    middle->append_item(entry("Edit\u2026", auction_actions::detailed(auction_actions::kEdit), idText));
    middle->append_submenu("Set Status", statuses);
    middle->append_item(entry("Copy URL", auction_actions::detailed(auction_actions::kCopyUrl), idText));

    auto remove = Gio::Menu::create();
    remove->append_item(entry("Remove", auction_actions::detailed(auction_actions::kRemove), idText));

    auto menu = Gio::Menu::create();
    menu->append_section(open);
    menu->append_section(middle);
    menu->append_section(remove);
    return menu;
}

void AuctionContextMenu::popupFor(const Uuid& id, AuctionStatus status, double x, double y) {
    m_id = id;
    m_status->set_state(Glib::Variant<Glib::ustring>::create(std::string(rawValue(status))));
    set_menu_model(model(id));
    Gdk::Rectangle point(static_cast<int>(x), static_cast<int>(y), 1, 1);
    set_pointing_to(point);
    popup();
}

// Choosing the status the item has already still sets it (and stamps the item).
void AuctionContextMenu::setStatus(const Glib::VariantBase& status) {
    const auto raw = Glib::VariantBase::cast_dynamic<Glib::Variant<Glib::ustring>>(status).get();
    const auto chosen = auctionStatusFromRaw(raw.raw());
    if (!chosen) return;
    activate_action(auction_actions::detailed(auction_actions::kSetStatus),
                    Glib::Variant<Glib::ustring>::create(auction_actions::setStatusTarget(m_id, *chosen)));
}

}  // namespace sarvik
