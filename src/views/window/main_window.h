#pragma once

#include "core/browser_state.h"
#include "stores/auction_store.h"
#include "views/window/content_view.h"
#include "views/explorer_bar/favorites/favorites_file_commands.h"
#include "views/explorer_bar/scrapbook/scrapbook_archive_opener.h"
#include "views/window/page_commands.h"
#include "views/window/page_key_router.h"
#include "views/window/window_commands.h"

#include <gtkmm/applicationwindow.h>

#include <filesystem>

namespace sarvik {

class DownloadManager;
class SessionStore;

// The browser window: no title text, the toolbar at the top edge as its
// title bar, the content view inside, and the answers to the menu
// notifications for as long as the window lives. The window's title (never
// drawn, but shown by task switchers and window lists) follows the active tab.
// Given the application's download manager, its status bar shows the downloads; given the session
// store, the tabs of a run that did not quit are offered above the page.
class MainWindow : public Gtk::ApplicationWindow {
public:
    MainWindow(BrowserState& browserState, AuctionStore& auctionStore,
               std::filesystem::path dataDirectory = defaultDataDirectory(), DownloadManager* downloads = nullptr,
               SessionStore* session = nullptr);

    ContentView& contentView() { return m_contentView; }
    FavoritesFileCommands& favoritesFileCommands() { return m_favoritesFileCommands; }
    PageCommands& pageCommands() { return m_pageCommands; }

private:
    void followActiveTabTitle();

    std::vector<WindowCommand> commandTable();
    void presentPreferencesSheet();
    void addAddressFieldShortcuts();
    void addTabShortcuts();

    BrowserState& m_browserState;
    AuctionStore& m_auctionStore;
    ContentView m_contentView;
    ScrapbookArchiveOpener m_scrapbookArchiveOpener;
    FavoritesFileCommands m_favoritesFileCommands;
    PageCommands m_pageCommands;
    PageKeyRouter m_pageKeys;
    WindowCommands m_commands;
    ConnectionSet m_connections;
};

}  // namespace sarvik
