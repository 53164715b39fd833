#include "support/display/browser_window_harness.h"

#include "support/display/ui_driver.h"
#include "web/web_view_host_test_access.h"

namespace sarvik::testing {

BrowserWindowHarness::BrowserWindowHarness(DownloadManager* downloads) {
    serve("/home", "Home");
    state.homePage = server.url("/home");
    window = std::make_unique<MainWindow>(state, auctions, folder.path(), downloads);
    testApplication()->add_window(*window);
    window->present();
}

BrowserWindowHarness::~BrowserWindowHarness() {
    if (window) testApplication()->remove_window(*window);
    window.reset();
    drainMainLoop();
}

std::string BrowserWindowHarness::page(const std::string& title, const std::string& body) {
    return "<!doctype html><html><head><title>" + title + "</title></head><body>" + body + "</body></html>";
}

void BrowserWindowHarness::serve(const std::string& path, const std::string& title, const std::string& body) {
    server.serve(path, page(title, body));
}

WebKitWebView* BrowserWindowHarness::view() {
    WebViewHost* shown = host();
    return shown ? WebViewHostTestAccess::webView(*shown) : nullptr;
}

bool BrowserWindowHarness::shows(const Uuid& tab) {
    return runMainLoopUntil([&] { return host() && host()->tabId() == tab; });
}

std::string BrowserWindowHarness::activeAddress() const {
    const auto tab = state.activeTab();
    return tab && tab->url ? tab->url->absoluteString() : std::string();
}

bool BrowserWindowHarness::loaded(const Uuid& tab, const std::string& title) {
    return runMainLoopUntil([&] {
        const BrowserTab* found = state.findTab(tab);
        return found && found->title == title && !found->isLoading;
    });
}

std::optional<Uuid> BrowserWindowHarness::openTab(const std::string& path, const std::string& title) {
    state.newTab(Url::parse(server.url(path)));
    const Uuid opened = state.activeTabId;
    if (!loaded(opened, title)) return std::nullopt;
    return opened;
}

void BrowserWindowHarness::post(std::string_view name, std::optional<std::string> object) {
    NotificationCenter::defaultCenter().post(name, std::move(object));
}

}  // namespace sarvik::testing
