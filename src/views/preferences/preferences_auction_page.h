#pragma once

#include "core/scoped_connection.h"
#include "stores/auction_store.h"
#include "views/preferences/preferences_page.h"

#include <gtkmm/checkbutton.h>
#include <gtkmm/dropdown.h>
#include <gtkmm/label.h>

#include <cstdint>

namespace sarvik {

// The Auction Manager page: the auto-refresh toggle, the refresh-interval
// picker (shown only while auto refresh is on) and the auction counts. Each
// change is written into the store and then restarts its refresh timer; nothing
// here saves the auctions file. The picker's interval is the page's own edit
// state, loaded from the store when the page is built.
class PreferencesAuctionPage : public PreferencesPage {
public:
    explicit PreferencesAuctionPage(AuctionStore& store);

    std::int64_t refreshInterval() const { return m_refreshInterval; }

private:
    void buildAutoRefreshSection();
    void buildStatisticsSection();
    Gtk::Label* addStatisticRow(Gtk::Box& content, const char* label, const char* valueClass);
    void showAutoRefresh();
    void showStatistics();
    void onAutoRefreshToggled();
    void onIntervalChosen();

    AuctionStore& m_store;
    std::int64_t m_refreshInterval = 5;
    bool m_isShowingState = false;  // set while the page itself moves its controls
    Gtk::CheckButton* m_autoRefreshToggle = nullptr;
    Gtk::Box* m_intervalRow = nullptr;
    Gtk::DropDown* m_intervalPicker = nullptr;
    Gtk::Label* m_trackedCount = nullptr;
    Gtk::Label* m_activeCount = nullptr;
    Gtk::Label* m_endingSoonCount = nullptr;
    ConnectionSet m_connections;
};

}  // namespace sarvik
