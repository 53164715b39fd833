#pragma once

#include "core/browser_state.h"
#include "stores/auction_store.h"
#include "views/status_bar_items.h"

#include <gtkmm/box.h>

#include <memory>

namespace sarvik {

class DownloadManager;
class DownloadStatus;

// The bar along the window's bottom edge: load state, then (right-aligned)
// the ending-soon badge, the tab count, the zoom badge and the theme swatch.
class StatusBar : public Gtk::Box {
public:
    StatusBar(BrowserState& browserState, AuctionStore& auctionStore);
    ~StatusBar() override;

    // Adds the downloads' progress and list (before the badges).
    void showDownloads(DownloadManager& manager);
    DownloadStatus* downloadStatus() { return m_downloadStatus.get(); }

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
    std::unique_ptr<DownloadStatus> m_downloadStatus;
};

}  // namespace sarvik
