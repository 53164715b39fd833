#pragma once

#include "app/settings_keeper.h"
#include "core/browser_state.h"
#include "core/notification_center.h"
#include "stores/auction_store.h"
#include "stores/download_list.h"
#include "stores/session_store.h"
#include "support/loopback_http_server.h"
#include "support/temporary_directory.h"
#include "views/common/theme_stylesheet.h"
#include "views/window/main_window.h"
#include "web/download_manager.h"

#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

typedef struct _WebKitWebView WebKitWebView;

namespace sarvik::testing {

// A download manager saving into "Downloads" in a folder of its own: a base ahead of the harness, given to it.
struct DownloadFolder {
    TemporaryDirectory around;
    DownloadList list;
    std::unique_ptr<DownloadManager> manager = std::make_unique<DownloadManager>(list, around / "Downloads");
};

struct RunOptions {
    DownloadManager* downloads = nullptr;  // the window shows its downloads
    std::filesystem::path settingsFile{};  // none: no settings are read or kept
    FileLayer* files = nullptr;            // the settings' files; the system's when none
    bool keepsSession = false;             // a session store keeps the tabs in the data folder
};

// One run of the browser as the application starts it, on a data folder that may outlive it, so that a second
// run on the folder is a restart: the state with its first start's home page, then the settings and the session
// store, then a real main window, with the themes' stylesheet installed. The window joins the test
// application, so menu commands and their keys reach it.
class BrowserRun {
public:
    BrowserRun(const std::filesystem::path& data, const std::string& homePage, RunOptions options = {});
    ~BrowserRun();
    BrowserRun(const BrowserRun&) = delete;
    BrowserRun& operator=(const BrowserRun&) = delete;

    ContentView& content() { return window->contentView(); }
    WebViewHost* host() { return content().webArea().host(); }  // the active tab's, if shown
    WebKitWebView* view();
    std::string activeAddress() const;

    // Whether within the usual wait the web area shows the tab's own view; the tab reaches the title and
    // stops loading.
    bool shows(const Uuid& tab);
    bool loaded(const Uuid& tab, const std::string& title);
    bool activeLoaded(const std::string& title) { return loaded(state.activeTabId, title); }

    BrowserState state;
    std::unique_ptr<SettingsKeeper> keeper;
    ThemeStylesheet stylesheet{state, Gdk::Display::get_default()};
    AuctionStore auctions;
    std::unique_ptr<SessionStore> session;
    std::unique_ptr<MainWindow> window;
};

// Where a harness's pages and data live: a base ahead of its run.
struct LoopbackSite {
    LoopbackHttpServer server;
    TemporaryDirectory folder;
};

// A browser run on a data folder of its own, with a loopback server for the pages a test serves. The first
// tab opens "/home" (titled "Home"). Given a download manager, the window shows its downloads.
class BrowserWindowHarness : public LoopbackSite, public BrowserRun {
public:
    explicit BrowserWindowHarness(DownloadManager* downloads = nullptr);

    static std::string page(const std::string& title, const std::string& body = "");  // "<!doctype html>..."
    void serve(const std::string& path, const std::string& title, const std::string& body = "");
    static void post(std::string_view name, std::optional<std::string> object = std::nullopt);

    // A new active tab opened on the path reaches the title: its id, or none.
    std::optional<Uuid> openTab(const std::string& path, const std::string& title);
};

}  // namespace sarvik::testing
