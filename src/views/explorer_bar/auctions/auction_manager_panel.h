#pragma once

#include "core/browser_state.h"
#include "core/date.h"
#include "core/scoped_connection.h"
#include "stores/auction_store.h"
#include "views/explorer_bar/auctions/auction_add_form.h"
#include "views/explorer_bar/auctions/auction_empty_state.h"
#include "stores/auction_item.h"
#include "views/common/record_object.h"
#include "views/explorer_bar/auctions/auction_manager_header.h"

#include <giomm/liststore.h>
#include <giomm/simpleactiongroup.h>
#include <gtkmm/box.h>
#include <gtkmm/listview.h>
#include <gtkmm/scrolledwindow.h>
#include <gtkmm/separator.h>
#include <gtkmm/signallistitemfactory.h>
#include <gtkmm/stack.h>

#include <optional>

namespace sarvik {

// The Auction Manager panel of the explorer bar: the tracked auctions in two
// groups ("Active" and "Ended"), the add form, and the row actions "Open in
// Browser", "Edit…" (the add form filled in with the item), "Set Status",
// "Copy URL" and "Remove" (the Gio actions under "auction.", which rows and
// menus activate). Every value shown comes from
// the store; the panel changes the store only through its operations and the
// browser only through navigate().
//
// The list is virtual: a Gtk::ListView over a model refilled whenever the
// store publishes. Time-dependent parts (time texts, last-hour tint, pulsing
// dot, badge) are re-evaluated whenever the store or the browser state
// publishes (at most once a second), and also every 15 seconds, so a
// countdown never stands still.
// Created when its explorer-bar tab is chosen; its own state (group, form)
// starts afresh each time. Main thread only.
class AuctionManagerPanel : public Gtk::Box {
public:
    AuctionManagerPanel(BrowserState& state, AuctionStore& store);
    ~AuctionManagerPanel() override;

    bool isAddingItem() const { return m_isAddingItem; }
    void setAddingItem(bool isAdding);
    bool isShowingEndedItems() const { return m_isShowingEndedItems; }
    void setShowingEndedItems(bool isEnded);

    AuctionManagerHeader& header() { return m_header; }
    AuctionAddForm& addForm() { return m_form; }
    AuctionEmptyState& emptyState() { return m_empty; }
    Gtk::ListView& listView() { return m_list; }
    // The list shown, in its order.
    Glib::RefPtr<Gio::ListModel> listModel() const { return m_model; }

private:
    void installActions();
    void addAction(std::string_view name, void (AuctionManagerPanel::*handler)(const Glib::ustring&));
    void buildList();
    void onSetup(const Glib::RefPtr<Gtk::ListItem>& listItem);
    void onBind(const Glib::RefPtr<Gtk::ListItem>& listItem);
    void reloadList();
    void refreshTimes();
    void scheduleTimeRefresh();
    void showContent();
    void onTrack(const AuctionFields& values);
    void onCancel();
    std::optional<AuctionItem> findItem(const Glib::ustring& idText) const;
    void openItem(const Glib::ustring& idText);
    void editItem(const Glib::ustring& idText);
    void setItemStatus(const Glib::ustring& target);
    void copyItemUrl(const Glib::ustring& idText);
    void removeItem(const Glib::ustring& idText);

    BrowserState& m_state;
    AuctionStore& m_store;
    bool m_isAddingItem = false;
    bool m_isShowingEndedItems = false;
    std::optional<Uuid> m_editingId;  // the item the open form edits; none while it adds
    Date m_now;

    AuctionManagerHeader m_header;
    Gtk::Separator m_divider{Gtk::Orientation::HORIZONTAL};
    Gtk::Stack m_content;
    Gtk::ScrolledWindow m_formScroll;
    AuctionAddForm m_form;
    AuctionEmptyState m_empty;
    Gtk::ScrolledWindow m_listScroll;
    Glib::RefPtr<Gio::ListStore<RecordObject<AuctionItem>>> m_model;
    Glib::RefPtr<Gtk::SignalListItemFactory> m_factory;
    Gtk::ListView m_list;
    Glib::RefPtr<Gio::SimpleActionGroup> m_actions;

    ScopedConnection m_storeObservation;
    ScopedConnection m_stateObservation;
    ScopedConnection m_pendingTimeRefresh;
    ScopedConnection m_clockRefresh;
};

}  // namespace sarvik
