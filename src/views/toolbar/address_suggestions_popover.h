#pragma once

#include "core/browser_state.h"
#include "core/scoped_connection.h"
#include "stores/address_suggestions.h"
#include "stores/address_suggestion_index.h"
#include "views/common/record_object.h"

#include <giomm/liststore.h>
#include <gtkmm/entry.h>
#include <gtkmm/eventcontrollerfocus.h>
#include <gtkmm/eventcontrollerkey.h>
#include <gtkmm/listview.h>
#include <gtkmm/popover.h>
#include <gtkmm/signallistitemfactory.h>
#include <gtkmm/singleselection.h>

#include <optional>
#include <string>
#include <vector>

namespace sarvik {

// The list of suggestions under the address field while the user types: up to
// eight favorites and history entries, each with its title and address (a star
// marks favorites). It never takes the focus, so typing goes on in the field.
// Down and Up move the selection (Down from the field selects the first row,
// Up from the first goes back to the field); Enter or a click opens the chosen
// address; Escape, leaving the field, a navigation or a tab switch closes it.
// Without a selection Enter is left to the field.
class AddressSuggestionsPopover : public Gtk::Popover {
public:
    // Shown under `anchor`; keys are read from `entry` before it sees them.
    AddressSuggestionsPopover(BrowserState& state, const BrowserDataStore& store, Gtk::Widget& anchor,
                              Gtk::Entry& entry);
    ~AddressSuggestionsPopover() override;

    // The user typed `text`: the list shows its suggestions, or closes when there are none.
    void showFor(const std::string& text);
    void close();

    bool isOpen() const { return get_visible(); }
    std::vector<AddressSuggestion> shown() const;
    std::optional<guint> selectedRow() const;
    Gtk::ListView& list() { return m_list; }

private:
    bool onKey(guint key);
    void moveSelection(bool down);
    void open(guint position);
    void setupRow(const Glib::RefPtr<Gtk::ListItem>& listItem);
    void bindRow(const Glib::RefPtr<Gtk::ListItem>& listItem);

    BrowserState& m_state;
    AddressSuggestions m_suggestions;
    Gtk::Widget& m_anchor;
    Gtk::Entry& m_entry;
    Glib::RefPtr<Gio::ListStore<RecordObject<AddressSuggestion>>> m_model;
    Glib::RefPtr<Gtk::SingleSelection> m_selection;
    Glib::RefPtr<Gtk::SignalListItemFactory> m_factory;
    Gtk::ListView m_list;
    Glib::RefPtr<Gtk::EventControllerKey> m_keys;
    Glib::RefPtr<Gtk::EventControllerFocus> m_focus;
    ConnectionSet m_connections;
};

}  // namespace sarvik
