#pragma once

#include "core/browser_state.h"
#include "core/scoped_connection.h"

#include <gtkmm/box.h>
#include <gtkmm/entry.h>

namespace sarvik {

// TEMPORARY: stands where OrvelToolbarView goes until the toolbar lands; the
// integrator replaces it. Only an address field, bound to addressBarText,
// whose Return navigates.
class ToolbarPlaceholder : public Gtk::Box {
public:
    explicit ToolbarPlaceholder(BrowserState& browserState);

private:
    BrowserState& m_browserState;
    Gtk::Entry m_address;
    bool m_writingText = false;
    ConnectionSet m_connections;
};

}  // namespace sarvik
