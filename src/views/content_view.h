#pragma once

#include "core/browser_state.h"
#include "stores/auction_store.h"
#include "stores/browser_data_store.h"
#include "views/status_bar.h"
#include "views/toolbar_view.h"
#include "views/web_area.h"

#include <gtkmm/box.h>
#include <gtkmm/windowcontrols.h>
#include <gtkmm/windowhandle.h>

#include <filesystem>

namespace sarvik {

// The main window's content: the toolbar at the top edge (in a title-bar
// area that drags the window and carries its controls), then the middle band
// with the explorer bar's place and the web area, then the status bar. It
// owns the favorites-and-history store and hands each child what it needs.
class ContentView : public Gtk::Box {
public:
    ContentView(BrowserState& browserState, AuctionStore& auctionStore,
                std::filesystem::path dataDirectory = defaultDataDirectory());

    // The window sets this as its title bar.
    Gtk::Widget& titleBar() { return m_titleBar; }

    BrowserDataStore& dataStore() { return m_dataStore; }
    WebArea& webArea() { return m_webArea; }
    StatusBar& statusBar() { return m_statusBar; }
    OrvelToolbarView& toolbar() { return m_toolbar; }

private:
    BrowserState& m_browserState;
    AuctionStore& m_auctionStore;
    BrowserDataStore m_dataStore;

    Gtk::WindowHandle m_titleBar;
    Gtk::Box m_titleRow{Gtk::Orientation::HORIZONTAL, 0};
    OrvelToolbarView m_toolbar;
    Gtk::WindowControls m_windowControls{Gtk::PackType::END};

    Gtk::Box m_middleBand{Gtk::Orientation::HORIZONTAL, 0};
    // Where the explorer bar will stand, before the web area; it stays
    // empty and hidden until the explorer bar is built.
    Gtk::Box m_explorerBarPlace;
    WebArea m_webArea;
    StatusBar m_statusBar;
};

}  // namespace sarvik
