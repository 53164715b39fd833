#include "views/explorer_bar/auctions/auction_empty_state.h"

#include "views/explorer_bar/auctions/auction_symbols.h"

#include <string>

namespace sarvik {

AuctionEmptyState::AuctionEmptyState() : Gtk::Box(Gtk::Orientation::VERTICAL, 12) {
    set_name("auction-empty-state");
    add_css_class("auction-empty");
    set_valign(Gtk::Align::CENTER);
    set_halign(Gtk::Align::CENTER);
    set_vexpand(true);

    m_icon.set_from_icon_name(std::string(auction_symbols::kEmpty));
    m_icon.add_css_class("auction-empty-icon");
    m_title.set_name("auction-empty-title");
    m_title.add_css_class("auction-empty-title");
    m_subtitle.add_css_class("auction-empty-subtitle");
    m_subtitle.set_justify(Gtk::Justification::CENTER);

    auto* content = Gtk::make_managed<Gtk::Box>(Gtk::Orientation::HORIZONTAL, 4);
    auto* plus = Gtk::make_managed<Gtk::Image>();
    plus->set_from_icon_name(std::string(auction_symbols::kAdd));
    content->append(*plus);
    content->append(*Gtk::make_managed<Gtk::Label>("Track an Auction"));
    m_trackButton.set_child(*content);
    m_trackButton.set_name("auction-track-an-auction");
    m_trackButton.add_css_class("orvel-button");
    m_trackButton.add_css_class("small");
    m_trackButton.set_halign(Gtk::Align::CENTER);
    m_trackButton.signal_clicked().connect([this] { m_track.emit(); });

    append(m_icon);
    append(m_title);
    append(m_subtitle);
    append(m_trackButton);
    setShowingEnded(false);
}

void AuctionEmptyState::setShowingEnded(bool isEnded) {
    m_title.set_text(isEnded ? "No ended auctions" : "No active auctions");
}

}  // namespace sarvik
