#pragma once

#include "core/browser_state.h"
#include "core/scoped_connection.h"
#include "views/common/nav_button.h"

#include <gtkmm/box.h>

namespace sarvik {

// Back, forward and stop-or-reload for the active tab, at one button size.
// Back and forward are enabled only when the active tab exists and can go
// that way; the third button stops while the tab loads and reloads otherwise.
class NavigationControls : public Gtk::Box {
public:
    NavigationControls(BrowserState& state, int buttonSize, int spacing);

    NavButton& back() { return m_back; }
    NavButton& forward() { return m_forward; }
    NavButton& stopOrReload() { return m_stopOrReload; }

private:
    void refresh();
    bool activeTabIsLoading() const;

    BrowserState& m_state;
    NavButton m_back;
    NavButton m_forward;
    NavButton m_stopOrReload;
    ConnectionSet m_connections;
};

}  // namespace sarvik
