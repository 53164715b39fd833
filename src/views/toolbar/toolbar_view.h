#pragma once

#include "core/browser_state.h"
#include "core/scoped_connection.h"
#include "views/common/orvel_progress_bar.h"
#include "views/toolbar/collapsed_toolbar.h"
#include "views/toolbar/expanded_toolbar.h"
#include "views/toolbar/form_switcher.h"

#include <gtkmm/box.h>

namespace sarvik {

// The strip at the top of the main window: the expanded or the collapsed form
// over the progress row, which is present only while the active tab loads.
// The forms crossfade ease-in-out whenever isToolbarCollapsed changes: over
// 0.25 s from the toolbar's own collapse and expand buttons, over 0.2 s when
// the window's "Toggle Toolbar" command (or anything else) flips it. Owns no
// data: every part observes the shared BrowserState and redraws only itself.
class OrvelToolbarView : public Gtk::Box {
public:
    explicit OrvelToolbarView(BrowserState& state);

    ExpandedToolbar& expanded() { return m_expanded; }
    CollapsedToolbar& collapsed() { return m_collapsed; }
    OrvelProgressBar& progressBar() { return m_progressBar; }
    const Gtk::Box& progressRow() const { return m_progressRow; }
    const FormSwitcher& forms() const { return m_forms; }

    // Puts the cursor in the address field with its text selected, expanding
    // a collapsed toolbar first, so what the user types next never lands in the page.
    bool focusAddressField();

private:
    void setCollapsedFromButton(bool collapsed);
    void showForm();
    void showProgress();
    void noteOpenedTab();
    void focusFieldOfANewBlankTab();

    BrowserState& m_state;
    ExpandedToolbar m_expanded;
    CollapsedToolbar m_collapsed;
    FormSwitcher m_forms{m_expanded, m_collapsed};
    FormSwitchOrigin m_nextSwitchOrigin = FormSwitchOrigin::menuCommand;
    Gtk::Box m_progressRow{Gtk::Orientation::HORIZONTAL, 0};
    OrvelProgressBar m_progressBar;
    std::size_t m_tabCount = 0;
    std::optional<Uuid> m_openedTab;
    ConnectionSet m_connections;
};

}  // namespace sarvik
