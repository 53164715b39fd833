#pragma once

#include "core/browser_state.h"
#include "core/scoped_connection.h"
#include "stores/browser_data_store.h"
#include "views/explorer_bar/history/history_row_model.h"

#include <gtkmm/box.h>
#include <gtkmm/button.h>
#include <gtkmm/entry.h>
#include <gtkmm/image.h>
#include <gtkmm/label.h>
#include <gtkmm/listview.h>
#include <gtkmm/messagedialog.h>
#include <gtkmm/scrolledwindow.h>

#include <unicode/datefmt.h>

#include <memory>

namespace sarvik {

// The History panel: a search field, "Clear All" with its confirmation, and
// the history newest first (under day headers) or the search results, in one
// virtualised list. Its search text and confirmation live only as long as the
// panel; it follows every change of the store's history.
class HistoryPanel : public Gtk::Box {
public:
    HistoryPanel(BrowserState& state, BrowserDataStore& store);
    ~HistoryPanel() override;

    Gtk::Entry& searchField() { return m_searchField; }
    Gtk::Button& clearSearchButton() { return m_clearSearch; }
    Gtk::Button& clearAllButton() { return m_clearAll; }
    Gtk::ListView& listView() { return m_list; }
    std::size_t rowCount() const { return m_rows.size(); }
    HistoryRow rowAt(std::size_t position) const { return m_rows.rowAt(position); }
    // The clear-history confirmation while it is shown.
    Gtk::MessageDialog* clearConfirmation() { return m_confirmation.get(); }
    Gtk::Widget& emptyState() { return m_emptyHistory; }
    Gtk::Widget& noResultsState() { return m_noResults; }

private:
    void buildSearchBox();
    void buildButtonRow();
    void buildList();
    void buildEmptyStates();
    void refresh();
    void askToClear();
    void answerClear(int response);
    bool cancelClear();
    void activateRow(guint position);

    BrowserState& m_state;
    BrowserDataStore& m_store;
    std::unique_ptr<icu::DateFormat> m_timeFormat;
    HistoryRowModel m_rows;
    Gtk::Box m_searchBox{Gtk::Orientation::HORIZONTAL, 4};
    Gtk::Image m_searchIcon;
    Gtk::Entry m_searchField;
    Gtk::Button m_clearSearch;
    Gtk::Box m_buttonRow{Gtk::Orientation::HORIZONTAL, 6};
    Gtk::Button m_clearAll;
    Gtk::ScrolledWindow m_scroller;
    Gtk::ListView m_list;
    Gtk::Box m_emptyHistory{Gtk::Orientation::VERTICAL, 12};
    Gtk::Box m_noResults{Gtk::Orientation::VERTICAL, 8};
    std::unique_ptr<Gtk::MessageDialog> m_confirmation;
    ConnectionSet m_connections;
};

}  // namespace sarvik
