#pragma once

#include "core/browser_state.h"
#include "core/scoped_connection.h"
#include "views/common/nav_button.h"
#include "views/toolbar/navigation_controls.h"
#include "views/common/width_limited_label.h"

#include <gtkmm/box.h>

namespace sarvik {

// The slim toolbar: expand, back/forward/stop-or-reload and the active tab's
// title on the right.
class CollapsedToolbar : public Gtk::Box {
public:
    static constexpr int kMaximumTitleWidth = 300;

    explicit CollapsedToolbar(BrowserState& state);

    const Gtk::Label& title() const { return m_title; }
    // Its click is answered by the toolbar, which times the switch of forms.
    NavButton& expandButton() { return m_expand; }

private:
    void showTitle();

    BrowserState& m_state;
    NavButton m_expand;
    NavigationControls m_navigation;
    Gtk::Box m_space;
    WidthLimitedLabel m_title{kMaximumTitleWidth};
    ConnectionSet m_connections;
};

}  // namespace sarvik
