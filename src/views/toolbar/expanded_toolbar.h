#pragma once

#include "core/browser_state.h"
#include "views/toolbar/address_field.h"
#include "views/common/nav_button.h"
#include "views/toolbar/navigation_controls.h"
#include "views/toolbar/tab_strip.h"

#include <gtkmm/box.h>
#include <gtkmm/separator.h>

namespace sarvik {

// The full toolbar: collapse, back/forward/stop-or-reload, home, the address
// field, the explorer-bar shortcuts and preferences in one row, and the tab
// strip under it while two or more tabs are open.
class ExpandedToolbar : public Gtk::Box {
public:
    explicit ExpandedToolbar(BrowserState& state);

    AddressField& addressField() { return m_addressField; }
    TabStrip& tabStrip() { return m_tabStrip; }
    // Its click is answered by the toolbar, which times the switch of forms.
    NavButton& collapseButton() { return m_collapse; }

private:
    void showPanel(ExplorerBarTab panel);
    Gtk::Separator& divider(int index);

    BrowserState& m_state;
    Gtk::Box m_mainRow{Gtk::Orientation::HORIZONTAL, 6};
    NavButton m_collapse;
    NavigationControls m_navigation;
    NavButton m_home;
    AddressField m_addressField;
    NavButton m_favorites;
    NavButton m_scrapbook;
    NavButton m_auction;
    NavButton m_preferences;
    Gtk::Separator m_dividers[3];
    TabStrip m_tabStrip;
};

}  // namespace sarvik
