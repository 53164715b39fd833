#pragma once

#include "core/browser_state.h"
#include "core/scoped_connection.h"
#include "stores/auction_store.h"

#include <gtkmm/window.h>

namespace sarvik {

class PreferencesView;

// The separate Preferences window: titled "Preferences", 560 by 420, showing
// a PreferencesView over the shared state. The application holds one and
// calls open() from its "Preferences" menu item. Closing only hides it; each
// open() after that builds a fresh view, so its edit state starts anew.
class PreferencesWindow : public Gtk::Window {
public:
    PreferencesWindow(BrowserState& state, AuctionStore& auctionStore);

    // Shows the window (building its view first when it was closed) and raises it.
    void open();

    // The view on show, or null while the window is closed.
    PreferencesView* view() const { return m_view; }

private:
    void onHidden();

    BrowserState& m_state;
    AuctionStore& m_auctionStore;
    PreferencesView* m_view = nullptr;
    // Last, so it ends first: the base window hides itself while it is destroyed.
    ScopedConnection m_hideConnection;
};

// The Preferences sheet: a modal window over a parent window, showing a new
// PreferencesView built for this opening, with a "Done" button; Escape closes
// it too. One sheet per parent at a time: presenting again while one is shown
// raises it. The sheet destroys itself when closed or when its parent goes.
class PreferencesSheet : public Gtk::Window {
public:
    static void present(Gtk::Window& parent, BrowserState& state, AuctionStore& auctionStore);

    // The sheet shown over `parent`, if any.
    static PreferencesSheet* shownOver(const Gtk::Window& parent);

    PreferencesSheet(Gtk::Window& parent, BrowserState& state, AuctionStore& auctionStore);
    ~PreferencesSheet() override;

    PreferencesView& view() const { return *m_view; }

private:
    void closeSoon();

    Gtk::Window* m_parent;
    PreferencesView* m_view = nullptr;
};

}  // namespace sarvik
