#pragma once

#include "app/settings_keeper.h"
#include "core/browser_state.h"
#include "core/data_folder_lock.h"
#include "core/url.h"
#include "stores/auction_store.h"
#include "stores/download_list.h"
#include "stores/session_store.h"
#include "views/common/theme_stylesheet.h"
#include "views/preferences/preferences_window.h"
#include "web/download_manager.h"

#include <gtkmm/application.h>

#include <memory>
#include <vector>

namespace sarvik {

// The application: owns the one BrowserState, the one AuctionStore and the
// session's downloads that the whole program shares, creates them before the
// first window (the state with the saved settings), hands them to every window
// it opens, and installs the menu bar.
//
// One instance per session: a second `sarvik-browser ADDRESS...` hands its
// addresses to the running instance over the session bus and exits, so only
// one set of stores ever works on the data files. The shared objects are
// created at start-up of the primary instance only, and only when it holds the
// data folder's lock: without a session bus a second start is primary too.
class SarvikBrowserApp : public Gtk::Application {
public:
    static Glib::RefPtr<SarvikBrowserApp> create();

    BrowserState& sharedBrowserState() { return *m_sharedBrowserState; }
    AuctionStore& sharedAuctionStore() { return *m_sharedAuctionStore; }
    DownloadManager& sharedDownloads() { return *m_downloadManager; }
    // What the process exits with: GLib reports 0 for any command line that kept
    // a window open, including the one that says the data folder is taken.
    int exitStatus(int runResult) const { return dataFolderTaken() ? 1 : runResult; }
    // Built when first asked for: it is not needed to show the first page.
    PreferencesWindow& preferencesWindow();

protected:
    SarvikBrowserApp();
    void on_startup() override;
    void on_activate() override;
    void on_shutdown() override;
    int on_command_line(const Glib::RefPtr<Gio::ApplicationCommandLine>& commandLine) override;

private:
    bool lockDataFolder();
    bool dataFolderTaken() const;
    void showDataFolderTaken();
    void openAddresses(const std::vector<Url>& addresses, bool intoStartTab);
    bool openLastTabsIfChosen();

    std::unique_ptr<DataFolderLock> m_dataFolderLock;  // held for the process's life

    std::unique_ptr<BrowserState> m_sharedBrowserState;
    std::unique_ptr<SettingsKeeper> m_settings;  // after the state it saves, so it goes first
    std::unique_ptr<AuctionStore> m_sharedAuctionStore;
    std::unique_ptr<SessionStore> m_session;  // after the state it watches
    std::unique_ptr<ThemeStylesheet> m_stylesheet;
    DownloadList m_downloads;
    std::unique_ptr<DownloadManager> m_downloadManager;  // after the list it records into
    std::unique_ptr<PreferencesWindow> m_preferencesWindow;  // one instance, opened from the Window menu
};

}  // namespace sarvik
