#include "views/status_bar/status_bar.h"

namespace sarvik {

StatusBar::StatusBar(BrowserState& browserState, AuctionStore& auctionStore)
    : Gtk::Box(Gtk::Orientation::HORIZONTAL, 8),
      m_loadState(browserState),
      m_auctionBadge(browserState, auctionStore),
      m_tabCount(browserState),
      m_zoomBadge(browserState),
      m_themeSwatch(browserState) {
    set_name("status-bar");
    add_css_class("orvel-status-bar");
    set_valign(Gtk::Align::CENTER);
    m_space.set_hexpand(true);
    append(m_loadState);
    append(m_space);
    append(m_auctionBadge);
    append(m_tabCount);
    append(m_zoomBadge);
    append(m_themeSwatch);
}

StatusBar::~StatusBar() {
    for (Gtk::Widget* item : m_items) remove(*item);
}

void StatusBar::addItem(Gtk::Widget& item) {
    m_items.push_back(&item);
    insert_child_after(item, m_space);
}

}  // namespace sarvik
