#pragma once

#include "core/browser_state.h"
#include "core/notification_center.h"
#include "stores/auction_store.h"
#include "support/loopback_http_server.h"
#include "support/temporary_directory.h"
#include "views/common/theme_stylesheet.h"
#include "views/window/main_window.h"

#include <memory>
#include <optional>
#include <string>
#include <string_view>

typedef struct _WebKitWebView WebKitWebView;

namespace sarvik::testing {

// A real main window on its own state, auction store and data folder, with a
// loopback server for the pages a test serves. The first tab opens "/home"
// (titled "Home"). The window joins the test application, so menu commands and
// their keys reach it, and leaves it when the harness goes. The themes' stylesheet
// is installed as the application installs it; given a download manager, the
// window shows its downloads.
class BrowserWindowHarness {
public:
    explicit BrowserWindowHarness(DownloadManager* downloads = nullptr);
    ~BrowserWindowHarness();
    BrowserWindowHarness(const BrowserWindowHarness&) = delete;
    BrowserWindowHarness& operator=(const BrowserWindowHarness&) = delete;

    // "<!doctype html>" with the title and the body.
    static std::string page(const std::string& title, const std::string& body = "");
    void serve(const std::string& path, const std::string& title, const std::string& body = "");

    ContentView& content() { return window->contentView(); }
    // The active tab's host and its engine view (none while no tab is shown).
    WebViewHost* host() { return content().webArea().host(); }
    WebKitWebView* view();
    // Whether the web area comes to show this tab's own view within the usual wait.
    bool shows(const Uuid& tab);
    std::string activeAddress() const;

    // Whether the tab reaches the title and stops loading within the usual wait.
    bool loaded(const Uuid& tab, const std::string& title);
    bool activeLoaded(const std::string& title) { return loaded(state.activeTabId, title); }
    // Opens the path in a new active tab and waits for its title; the tab's id, or none when it did not load.
    std::optional<Uuid> openTab(const std::string& path, const std::string& title);

    static void post(std::string_view name, std::optional<std::string> object = std::nullopt);

    LoopbackHttpServer server;
    TemporaryDirectory folder;
    BrowserState state;
    ThemeStylesheet stylesheet{state, Gdk::Display::get_default()};
    AuctionStore auctions{folder.path()};
    std::unique_ptr<MainWindow> window;
};

}  // namespace sarvik::testing
