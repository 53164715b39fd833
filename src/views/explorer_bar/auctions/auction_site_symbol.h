#pragma once

#include "stores/auction_item.h"

#include <gtkmm/box.h>
#include <gtkmm/image.h>
#include <gtkmm/label.h>

namespace sarvik {

// The small symbol of an auction site: its currency sign in a filled circle,
// or an icon for the sites that have no sign of their own.
class AuctionSiteSymbol : public Gtk::Box {
public:
    explicit AuctionSiteSymbol(AuctionSite site = AuctionSite::yahooAuctions);

    void setSite(AuctionSite site);

private:
    Gtk::Label m_sign;
    Gtk::Image m_icon;
};

}  // namespace sarvik
