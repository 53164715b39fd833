#pragma once

#include "core/browser_state.h"
#include "core/scoped_connection.h"
#include "stores/browser_data_store.h"
#include "views/toolbar/address_suggestions_popover.h"

#include <gtkmm/box.h>
#include <gtkmm/entry.h>
#include <gtkmm/eventcontrollerfocus.h>
#include <gtkmm/eventcontrollerkey.h>
#include <gtkmm/image.h>

#include <memory>

namespace sarvik {

// The address field: a security symbol (green lock for an https page, globe
// otherwise) and a frameless entry bound both ways to addressBarText. Each
// keystroke is written at once; a change from elsewhere replaces the text
// (an echo of our own keystroke does not, so the cursor stays put). Return
// navigates to the current addressBarText; Escape puts back the active tab's
// address. Once offered a store, typing also shows the suggestion list under
// the field (AddressSuggestionsPopover).
class AddressField : public Gtk::Box {
public:
    explicit AddressField(BrowserState& state);

    Gtk::Entry& entry() { return m_entry; }
    void focusAndSelectAll();
    bool showsSecureSymbol() const { return m_secure; }
    void offerSuggestions(const BrowserDataStore& store);
    // Null until offerSuggestions().
    AddressSuggestionsPopover* suggestions() { return m_suggestions.get(); }

private:
    void showAddressText();
    void showSecurity();
    void restoreActiveAddress();

    BrowserState& m_state;
    Gtk::Image m_security;
    Gtk::Entry m_entry;
    Glib::RefPtr<Gtk::EventControllerKey> m_keys;
    Glib::RefPtr<Gtk::EventControllerFocus> m_focus;
    bool m_secure = false;
    bool m_writingEntry = false;
    // The user has typed since the field took focus: a page's address
    // arriving meanwhile (a new tab loading its home page) leaves the typing alone.
    bool m_edited = false;
    std::unique_ptr<AddressSuggestionsPopover> m_suggestions;
    ConnectionSet m_connections;
};

}  // namespace sarvik
