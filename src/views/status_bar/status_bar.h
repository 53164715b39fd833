#pragma once

#include "core/browser_state.h"
#include "stores/auction_store.h"
#include "views/status_bar/status_bar_items.h"

#include <gtkmm/box.h>

#include <vector>

namespace sarvik {

// The bar along the window's bottom edge: load state, then (right-aligned)
// the ending-soon badge, the tab count, the zoom badge and the theme swatch.
class StatusBar : public Gtk::Box {
public:
    StatusBar(BrowserState& browserState, AuctionStore& auctionStore);
    ~StatusBar() override;

    // Places an item the window composes (the downloads) before the badges,
    // until the bar goes; the caller keeps it alive that long.
    void addItem(Gtk::Widget& item);

    const LoadStateIndicator& loadState() const { return m_loadState; }
    AuctionBadge& auctionBadge() { return m_auctionBadge; }
    const TabCountLabel& tabCount() const { return m_tabCount; }
    const ZoomBadge& zoomBadge() const { return m_zoomBadge; }
    const ThemeSwatch& themeSwatch() const { return m_themeSwatch; }

private:
    LoadStateIndicator m_loadState;
    Gtk::Box m_space;
    AuctionBadge m_auctionBadge;
    TabCountLabel m_tabCount;
    ZoomBadge m_zoomBadge;
    ThemeSwatch m_themeSwatch;
    std::vector<Gtk::Widget*> m_items;
};

}  // namespace sarvik
