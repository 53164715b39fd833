#pragma once

#include "core/browser_state.h"
#include "stores/auction_store.h"
#include "stores/browser_data_store.h"
#include "stores/scrapbook_store.h"
#include "views/downloads/download_status.h"
#include "views/explorer_bar/explorer_bar_view.h"
#include "views/find/find_bar.h"
#include "views/status_bar/status_bar.h"
#include "views/session_restore/session_restore_bar.h"
#include "views/storage_notice/storage_notice_bar.h"
#include "views/toolbar/toolbar_view.h"
#include "views/window/web_area.h"

#include <gtkmm/box.h>
#include <gtkmm/revealer.h>
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
    ~ContentView() override;

    // The window sets this as its title bar.
    Gtk::Widget& titleBar() { return m_titleBar; }

    BrowserDataStore& dataStore() { return m_dataStore; }
    ScrapbookStore& scrapbookStore() { return m_scrapbookStore; }
    // The explorer bar while it is shown, or null.
    ExplorerBarView* explorerBar() { return m_explorerBar.get(); }
    WebArea& webArea() { return m_webArea; }
    FindBar& findBar() { return m_findBar; }
    StorageNoticeBar& storageNotice() { return m_storageNotice; }
    StatusBar& statusBar() { return m_statusBar; }
    // Adds the downloads' progress and list to the status bar, once.
    void showDownloads(DownloadManager& manager);
    DownloadStatus* downloadStatus() { return m_downloadStatus.get(); }
    // Adds the band that offers the tabs of last time, once.
    void offerSessionRestore(SessionStore& session);
    SessionRestoreBar* sessionRestoreBar() { return m_sessionRestore.get(); }
    OrvelToolbarView& toolbar() { return m_toolbar; }

private:
    void followExplorerBarVisibility();

    BrowserState& m_browserState;
    AuctionStore& m_auctionStore;
    BrowserDataStore m_dataStore;
    ScrapbookStore m_scrapbookStore;

    Gtk::WindowHandle m_titleBar;
    Gtk::Box m_titleRow{Gtk::Orientation::HORIZONTAL, 0};
    OrvelToolbarView m_toolbar;
    // Each shows its side of the desktop's button layout (gtk-decoration-layout) and follows its changes.
    Gtk::WindowControls m_startWindowControls{Gtk::PackType::START};
    Gtk::WindowControls m_endWindowControls{Gtk::PackType::END};

    Gtk::Box m_middleBand{Gtk::Orientation::HORIZONTAL, 0};
    // The explorer bar slides in before the web area while it is visible; it
    // is built when shown and released once it has slid out.
    Gtk::Revealer m_explorerBarPlace;
    std::unique_ptr<ExplorerBarView> m_explorerBar;
    WebArea m_webArea;
    // Under the toolbar, over the whole width of the middle band.
    FindBar m_findBar;
    StorageNoticeBar m_storageNotice{StorageProblems::shared()};
    std::unique_ptr<SessionRestoreBar> m_sessionRestore;
    // Declared before the status bar that shows it, so it outlives the bar.
    std::unique_ptr<DownloadStatus> m_downloadStatus;
    StatusBar m_statusBar;
    ConnectionSet m_connections;
};

}  // namespace sarvik
