#include "views/explorer_bar/auctions/auction_manager_header.h"

#include "views/explorer_bar/auctions/auction_symbols.h"

#include <string>

namespace sarvik {

AuctionManagerHeader::AuctionManagerHeader() : Gtk::Box(Gtk::Orientation::HORIZONTAL, 6) {
    set_name("auction-header");
    add_css_class("auction-header");
    buildSwitch();
    buildBadge();
    m_spacer.set_hexpand(true);
    append(m_spacer);

    m_refresh.set_name("auction-refresh");
    m_refresh.set_icon_name(std::string(auction_symbols::kRefresh));
    m_refresh.set_tooltip_text("Refresh");
    m_refresh.add_css_class("orvel-button");
    m_refresh.add_css_class("small");
    m_refresh.add_css_class("auction-refresh");
    m_refresh.signal_clicked().connect([this] { m_refreshClicked.emit(); });
    append(m_refresh);

    m_formButton.set_name("auction-form-toggle");
    m_formButton.add_css_class("auction-form-toggle");
    m_formButton.set_has_frame(false);
    m_formButton.signal_clicked().connect([this] { m_formToggled.emit(); });
    append(m_formButton);
    setFormOpen(false);
}

void AuctionManagerHeader::buildSwitch() {
    m_switch.set_name("auction-group-switch");
    m_switch.add_css_class("linked");
    m_switch.add_css_class("auction-segment");
    m_switch.set_size_request(-1, -1);
    m_active.set_name("auction-group-active");
    m_ended.set_name("auction-group-ended");
    m_ended.set_group(m_active);
    m_active.set_active(true);
    m_active.signal_toggled().connect([this] {
        if (m_active.get_active()) m_groupChosen.emit(false);
    });
    m_ended.signal_toggled().connect([this] {
        if (m_ended.get_active()) m_groupChosen.emit(true);
    });
    m_switch.append(m_active);
    m_switch.append(m_ended);
    append(m_switch);
}

void AuctionManagerHeader::buildBadge() {
    m_badge.set_name("auction-badge");
    m_badge.add_css_class("auction-badge");
    m_badge.set_valign(Gtk::Align::CENTER);
    m_badgeIcon.set_from_icon_name(std::string(auction_symbols::kWarning));
    m_badgeCount.set_name("auction-badge-count");
    m_badge.append(m_badgeIcon);
    m_badge.append(m_badgeCount);
    m_badge.set_visible(false);
    append(m_badge);
}

void AuctionManagerHeader::setEndingSoonCount(std::int64_t count) {
    m_badge.set_visible(count >= 1);
    m_badgeCount.set_text(std::to_string(count));
    m_badge.set_tooltip_text(std::to_string(count) + " ending within the hour");
}

void AuctionManagerHeader::setFormOpen(bool isOpen) {
    m_formButton.set_icon_name(std::string(isOpen ? auction_symbols::kClose : auction_symbols::kAdd));
    m_formButton.set_tooltip_text(isOpen ? "Close" : "Track an Auction");
}

void AuctionManagerHeader::setShowingEnded(bool isEnded) {
    (isEnded ? m_ended : m_active).set_active(true);
}

}  // namespace sarvik
