#include "views/explorer_bar/auctions/auction_site_symbol.h"

#include "views/explorer_bar/auctions/auction_symbols.h"

namespace sarvik {

AuctionSiteSymbol::AuctionSiteSymbol(AuctionSite site) {
    set_name("auction-site-symbol");
    set_valign(Gtk::Align::CENTER);
    m_sign.add_css_class("auction-site-sign");
    append(m_sign);
    append(m_icon);
    setSite(site);
}

void AuctionSiteSymbol::setSite(AuctionSite site) {
    const auto icon = auction_symbols::siteIcon(site);
    m_icon.set_visible(!icon.empty());
    m_sign.set_visible(icon.empty());
    if (icon.empty())
        m_sign.set_text(Glib::ustring(std::string(currencySign(site))));
    else
        m_icon.set_from_icon_name(std::string(icon));
}

}  // namespace sarvik
