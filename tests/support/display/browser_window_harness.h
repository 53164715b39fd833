#pragma once

#include "core/browser_state.h"
#include "core/notification_center.h"
#include "stores/auction_store.h"
#include "stores/download_list.h"
#include "support/loopback_http_server.h"
#include "support/temporary_directory.h"
#include "views/common/theme_stylesheet.h"
#include "views/window/main_window.h"
#include "web/download_manager.h"

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
    DownloadManager manager{list, around / "Downloads"};
};

// A real main window on its own state, auction store and data folder, with a loopback server for the
// pages a test serves and the themes' stylesheet installed. The first tab opens "/home" (titled "Home").
// The window joins the test application, so menu commands and their keys reach it. Given a download
// manager, the window shows its downloads.
class BrowserWindowHarness {
public:
    explicit BrowserWindowHarness(DownloadManager* downloads = nullptr);
    ~BrowserWindowHarness();
    BrowserWindowHarness(const BrowserWindowHarness&) = delete;
    BrowserWindowHarness& operator=(const BrowserWindowHarness&) = delete;

    static std::string page(const std::string& title, const std::string& body = "");  // "<!doctype html>..."
    void serve(const std::string& path, const std::string& title, const std::string& body = "");
    static void post(std::string_view name, std::optional<std::string> object = std::nullopt);

    ContentView& content() { return window->contentView(); }
    WebViewHost* host() { return content().webArea().host(); }  // the active tab's, if shown
    WebKitWebView* view();
    std::string activeAddress() const;

    // Whether within the usual wait the web area shows the tab's own view; the tab reaches the title and
    // stops loading; a new active tab opened on the path does (its id, or none).
    bool shows(const Uuid& tab);
    bool loaded(const Uuid& tab, const std::string& title);
    bool activeLoaded(const std::string& title) { return loaded(state.activeTabId, title); }
    std::optional<Uuid> openTab(const std::string& path, const std::string& title);

    LoopbackHttpServer server;
    TemporaryDirectory folder;
    BrowserState state;
    ThemeStylesheet stylesheet{state, Gdk::Display::get_default()};
    AuctionStore auctions{folder.path()};
    std::unique_ptr<MainWindow> window;
};

}  // namespace sarvik::testing
