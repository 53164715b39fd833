#include "support/display/browser_window_harness.h"

#include "support/display/ui_driver.h"
#include "web/web_view_host_test_access.h"

namespace sarvik::testing {
namespace {

std::string servedHome(LoopbackHttpServer& server) {
    server.serve("/home", BrowserWindowHarness::page("Home"));
    return server.url("/home");
}

}  // namespace

BrowserRun::BrowserRun(const std::filesystem::path& data, const std::string& homePage, RunOptions options)
    : auctions(data) {
    state.homePage = homePage;
    if (!options.settingsFile.empty())
        keeper = std::make_unique<SettingsKeeper>(state, options.settingsFile,
                                                  options.files ? *options.files : FileLayer::system());
    if (options.keepsSession) session = std::make_unique<SessionStore>(state, data);
    window = std::make_unique<MainWindow>(state, auctions, data, options.downloads, session.get());
    testApplication()->add_window(*window);
    window->present();
}

BrowserRun::~BrowserRun() {
    if (window) testApplication()->remove_window(*window);
    window.reset();
    session.reset();
    keeper.reset();
    drainMainLoop();
}

WebKitWebView* BrowserRun::view() {
    WebViewHost* shown = host();
    return shown ? WebViewHostTestAccess::webView(*shown) : nullptr;
}

bool BrowserRun::shows(const Uuid& tab) {
    return runMainLoopUntil([&] { return host() && host()->tabId() == tab; });
}

std::string BrowserRun::activeAddress() const {
    const auto tab = state.activeTab();
    return tab && tab->url ? tab->url->absoluteString() : std::string();
}

bool BrowserRun::loaded(const Uuid& tab, const std::string& title) {
    return runMainLoopUntil([&] {
        const BrowserTab* found = state.findTab(tab);
        return found && found->title == title && !found->isLoading;
    });
}

BrowserWindowHarness::BrowserWindowHarness(DownloadManager* downloads)
    : BrowserRun(folder.path(), servedHome(server), {.downloads = downloads}) {}

std::string BrowserWindowHarness::page(const std::string& title, const std::string& body) {
    return "<!doctype html><html><head><title>" + title + "</title></head><body>" + body + "</body></html>";
}

void BrowserWindowHarness::serve(const std::string& path, const std::string& title, const std::string& body) {
    server.serve(path, page(title, body));
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
