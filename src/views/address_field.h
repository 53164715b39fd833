#pragma once

#include "core/browser_state.h"
#include "core/scoped_connection.h"

#include <gtkmm/box.h>
#include <gtkmm/entry.h>
#include <gtkmm/eventcontrollerkey.h>
#include <gtkmm/image.h>

namespace sarvik {

// The address field: a security symbol (green lock for an https page, globe
// otherwise) and a frameless entry bound both ways to addressBarText. Each
// keystroke is written at once; a change from elsewhere replaces the text
// (an echo of our own keystroke does not, so the cursor stays put). Return
// navigates to the current addressBarText; Escape puts back the active tab's
// address.
class AddressField : public Gtk::Box {
public:
    explicit AddressField(BrowserState& state);

    Gtk::Entry& entry() { return m_entry; }
    void focusAndSelectAll();
    bool showsSecureSymbol() const { return m_secure; }

private:
    void showAddressText();
    void showSecurity();
    void restoreActiveAddress();

    BrowserState& m_state;
    Gtk::Image m_security;
    Gtk::Entry m_entry;
    Glib::RefPtr<Gtk::EventControllerKey> m_keys;
    bool m_secure = false;
    bool m_writingEntry = false;
    ConnectionSet m_connections;
};

}  // namespace sarvik
