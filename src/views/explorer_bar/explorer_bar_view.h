#pragma once

#include "core/browser_state.h"
#include "core/scoped_connection.h"
#include "stores/auction_store.h"
#include "stores/browser_data_store.h"
#include "stores/page_archiver.h"
#include "stores/scrapbook_store.h"
#include "views/common/ending_soon_refresh.h"
#include "views/common/fixed_width_bin.h"

#include <gtkmm/box.h>
#include <gtkmm/button.h>
#include <gtkmm/label.h>

#include <array>
#include <functional>
#include <memory>
#include <optional>

namespace sarvik {

// The explorer bar: a side bar exactly 250 pixels wide with a header (the
// panel's title, the ending-soon badge, a close button and one tab button per
// panel, all five in sight: their titles go to tooltips where they cannot fit) over
// the selected panel. The bar keeps no state of its own: the selected panel
// and visibility live in the browser state. A panel is made when its tab is
// selected and dropped when another is, so its own view state starts afresh.
class ExplorerBarView : public FixedWidthBin {
public:
    static constexpr int kWidth = 250;

    // The active tab's page, as the Scrapbook panel saves it; none without one.
    using ActivePage = std::function<std::unique_ptr<PageArchiver>()>;

    ExplorerBarView(BrowserState& state, BrowserDataStore& dataStore, ScrapbookStore& scrapbookStore,
                    AuctionStore& auctionStore, ActivePage activePage = {});
    ~ExplorerBarView() override;

    Gtk::Label& title() { return m_title; }
    Gtk::Label& endingSoonBadge() { return m_badge; }
    Gtk::Button& closeButton() { return m_close; }
    Gtk::Button& tabButton(ExplorerBarTab tab) { return *m_tabButtons[static_cast<std::size_t>(tab)]; }
    Gtk::Widget& auctionDot() { return *m_auctionDot; }
    Gtk::Widget& tabStrip() { return m_tabStrip; }
    // The panel now shown, and which tab it belongs to.
    Gtk::Widget* panel() { return m_panel.get(); }
    std::optional<ExplorerBarTab> panelTab() const { return m_panelTab; }

private:
    void buildHeader();
    void buildTabStrip(Gtk::Box& header);
    Gtk::Button* makeTabButton(ExplorerBarTab tab);
    void fitTabTitles();
    std::unique_ptr<Gtk::Widget> makePanel(ExplorerBarTab tab);
    void showSelectedPanel();
    void showEndingSoon();

    BrowserState& m_state;
    BrowserDataStore& m_dataStore;
    ScrapbookStore& m_scrapbookStore;
    AuctionStore& m_auctionStore;
    ActivePage m_activePage;
    Gtk::Box m_column{Gtk::Orientation::VERTICAL};
    Gtk::Label m_title;
    Gtk::Label m_badge;
    Gtk::Button m_close;
    Gtk::Box m_tabStrip{Gtk::Orientation::HORIZONTAL, 2};
    std::array<Gtk::Button*, kAllExplorerBarTabs.size()> m_tabButtons{};
    std::array<Gtk::Label*, kAllExplorerBarTabs.size()> m_tabTitles{};
    Gtk::Widget* m_auctionDot = nullptr;
    Gtk::Box m_panelArea{Gtk::Orientation::VERTICAL};
    std::unique_ptr<Gtk::Widget> m_panel;
    std::optional<ExplorerBarTab> m_panelTab;
    EndingSoonRefresh m_endingSoon;
    ConnectionSet m_connections;
};

}  // namespace sarvik
