#include "web/web_view_host.h"

#include "core/scoped_connection.h"
#include "support/display/gtk_test_environment.h"
#include "support/display/web_view_script.h"
#include "web/error_page.h"
#include "support/loopback_http_server.h"
#include "support/temporary_directory.h"

#include <gtkmm/button.h>
#include <gtkmm/entry.h>
#include <gtkmm/label.h>
#include <gtkmm/window.h>
#include "web/web_view_host_test_access.h"

#include <gtest/gtest.h>
#include <webkit/webkit.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace sarvik {
namespace {

using testing::runMainLoopUntil;

std::string page(const std::string& title, const std::string& body = "") {
    return "<!doctype html><html><head><title>" + title + "</title></head><body>" + body + "</body></html>";
}

// A link that fills the whole page, so a click anywhere in the view hits it.
std::string fullPageLink(const std::string& title, const std::string& href, const std::string& target = "") {
    return page(title, "<a id=l href='" + href + "'" + (target.empty() ? "" : " target='" + target + "'") +
                           " style='display:block;position:fixed;inset:0'>link</a>");
}

class WebViewHostDisplayTest : public ::testing::Test {
protected:
    void SetUp() override {
        server.serve("/home", page("Home"));
        server.serve("/second", page("Second"));
        server.serve("/untitled", "<!doctype html><html><body>no title</body></html>");
        state.homePage = server.url("/home");
        window.set_default_size(640, 480);
    }

    void TearDown() override {
        window.unset_child();
        host.reset();
        testing::drainMainLoop();
    }

    void showHost(const Uuid& tabId) {
        window.unset_child();
        host = std::make_unique<WebViewHost>(state, store, tabId);
        window.set_child(*host);
        window.present();
    }

    const BrowserTab& tab(const Uuid& id) const { return *state.findTab(id); }

    bool waitForTitle(const Uuid& id, const std::string& title) {
        return runMainLoopUntil([&] {
            const BrowserTab* t = state.findTab(id);
            return t && t->title == title && !t->isLoading && t->estimatedProgress == 1.0;
        });
    }

    // Visits in all, whether the store merges repeated addresses or not.
    std::int64_t visitCount() const {
        std::int64_t count = 0;
        for (const auto& item : store.history().get()) count += item.visitCount;
        return count;
    }

    bool historyHas(const std::string& url) const {
        const auto& items = store.history().get();
        return std::any_of(items.begin(), items.end(), [&](const HistoryItem& i) { return i.url == url; });
    }

    // Real pointer input on the page, the way a user clicks.
    static void clickPage(const char* modifiers, int button) {
        const std::string command = std::string("xdotool mousemove 320 240 ") +
                                    (modifiers ? std::string("keydown ") + modifiers + " " : "") + "click " +
                                    std::to_string(button) + (modifiers ? std::string(" keyup ") + modifiers : "");
        ASSERT_EQ(std::system(command.c_str()), 0);
    }

    testing::LoopbackHttpServer server;
    testing::TemporaryDirectory folder;
    BrowserState state;
    BrowserDataStore store{folder.path()};
    Uuid firstTab = state.activeTabId;
    Gtk::Window window;
    std::unique_ptr<WebViewHost> host;
};

TEST_F(WebViewHostDisplayTest, TheHomePageLoadsAndReachesTheTabAndHistory) {
    showHost(firstTab);
    ASSERT_TRUE(waitForTitle(firstTab, "Home"));
    EXPECT_TRUE(runMainLoopUntil([&] { return tab(firstTab).url == Url::parse(server.url("/home")); }));
    EXPECT_EQ(state.addressBarText.get(), server.url("/home"));
    EXPECT_TRUE(runMainLoopUntil([&] { return historyHas(server.url("/home")); }));
    EXPECT_FALSE(tab(firstTab).canGoBack);
}

TEST_F(WebViewHostDisplayTest, ALoadCommandRunsOnceIsClearedAndCanBeIssuedAgain) {
    showHost(firstTab);
    ASSERT_TRUE(waitForTitle(firstTab, "Home"));
    state.navigate(server.url("/second"));
    ASSERT_TRUE(waitForTitle(firstTab, "Second"));
    EXPECT_FALSE(state.navigationCommand->has_value());
    EXPECT_EQ(server.requestCount("/second"), 1);
    EXPECT_TRUE(runMainLoopUntil([&] { return historyHas(server.url("/second")); }));
    EXPECT_TRUE(runMainLoopUntil([&] { return tab(firstTab).canGoBack; }));

    state.navigate(server.url("/second"));
    EXPECT_TRUE(runMainLoopUntil([&] { return server.requestCount("/second") == 2; }));
}

TEST_F(WebViewHostDisplayTest, BackAndForwardCommandsMoveThroughTheTabsHistory) {
    showHost(firstTab);
    ASSERT_TRUE(waitForTitle(firstTab, "Home"));
    state.navigate(server.url("/second"));
    ASSERT_TRUE(waitForTitle(firstTab, "Second"));
    state.navigationCommand = NavigationCommand::goBack();
    ASSERT_TRUE(waitForTitle(firstTab, "Home"));
    EXPECT_TRUE(runMainLoopUntil([&] { return tab(firstTab).canGoForward && !tab(firstTab).canGoBack; }));
    state.navigationCommand = NavigationCommand::goForward();
    EXPECT_TRUE(waitForTitle(firstTab, "Second"));
}

TEST_F(WebViewHostDisplayTest, ReloadAsksTheServerAgain) {
    showHost(firstTab);
    ASSERT_TRUE(waitForTitle(firstTab, "Home"));
    state.navigationCommand = NavigationCommand::reload();
    EXPECT_TRUE(runMainLoopUntil([&] { return server.requestCount("/home") == 2 && !tab(firstTab).isLoading; }));
}

TEST_F(WebViewHostDisplayTest, StopEndsASlowLoadWithoutAVisitOrAnErrorPage) {
    showHost(firstTab);
    ASSERT_TRUE(waitForTitle(firstTab, "Home"));
    ASSERT_TRUE(runMainLoopUntil([&] { return historyHas(server.url("/home")); }));
    server.serveSlowly("/slow", page("Slow"), std::chrono::seconds(30));
    state.navigate(server.url("/slow"));
    ASSERT_TRUE(runMainLoopUntil([&] { return server.requestCount("/slow") == 1 && tab(firstTab).isLoading; }));
    state.navigationCommand = NavigationCommand::stop();
    EXPECT_TRUE(runMainLoopUntil([&] { return !tab(firstTab).isLoading; }));
    testing::drainMainLoop();
    EXPECT_FALSE(historyHas(server.url("/slow")));
    EXPECT_EQ(visitCount(), 1);
    EXPECT_EQ(tab(firstTab).title, "Home");
    EXPECT_FALSE(tab(firstTab).loadError) << "a stopped load is no failure to show";
}

TEST_F(WebViewHostDisplayTest, AFailedLoadShowsAnErrorPageUnderItsAddressAndTryAgainLoadsIt) {
    showHost(firstTab);
    ASSERT_TRUE(waitForTitle(firstTab, "Home"));
    ASSERT_TRUE(runMainLoopUntil([&] { return historyHas(server.url("/home")); }));
    testing::HttpResponse dropped;
    dropped.dropConnection = true;
    server.respond("/flaky", dropped);
    state.navigate(server.url("/flaky"));
    ASSERT_TRUE(waitForTitle(firstTab, kErrorPageTitle));
    EXPECT_TRUE(tab(firstTab).loadError && !tab(firstTab).loadError->empty());
    EXPECT_EQ(state.addressBarText.get(), server.url("/flaky")) << "the address stays the failed one";
    testing::drainMainLoop();
    EXPECT_EQ(visitCount(), 1) << "neither the failure nor its error page is a visit";

    server.serve("/flaky", page("Back Up"));
    ASSERT_EQ(testing::evaluateInPage(WebViewHostTestAccess::webView(*host), "document.getElementById('try-again').click(); 1"), "1");
    ASSERT_TRUE(waitForTitle(firstTab, "Back Up"));
    EXPECT_FALSE(tab(firstTab).loadError);
    EXPECT_TRUE(runMainLoopUntil([&] { return historyHas(server.url("/flaky")); }));
}

TEST_F(WebViewHostDisplayTest, OneZoomForEveryTab) {
    showHost(firstTab);
    ASSERT_TRUE(waitForTitle(firstTab, "Home"));
    state.zoomIn();
    state.newTab();
    WebViewHost second(state, store, state.activeTabId);
    EXPECT_DOUBLE_EQ(webkit_web_view_get_zoom_level(WebViewHostTestAccess::webView(second)), 1.1) << "a new tab starts at the zoom";
    state.zoomIn();
    EXPECT_TRUE(runMainLoopUntil([&] { return std::abs(webkit_web_view_get_zoom_level(WebViewHostTestAccess::webView(*host)) - 1.2) < 1e-9; }))
        << "a background tab follows the zoom too";
}

TEST_F(WebViewHostDisplayTest, ACommandForAnotherTabStaysPending) {
    showHost(firstTab);
    ASSERT_TRUE(waitForTitle(firstTab, "Home"));
    state.newTab();
    state.navigationCommand = NavigationCommand::load(*Url::parse(server.url("/second")));
    testing::drainMainLoop();
    EXPECT_TRUE(state.navigationCommand->has_value());
    EXPECT_EQ(server.requestCount("/second"), 0);
    EXPECT_EQ(tab(firstTab).title, "Home");
}

TEST_F(WebViewHostDisplayTest, TwoCommandsInOneTurnOfTheMainLoopBothRun) {
    showHost(firstTab);
    ASSERT_TRUE(waitForTitle(firstTab, "Home"));
    state.zoomIn();
    state.zoomIn();
    EXPECT_TRUE(runMainLoopUntil([&] { return std::abs(webkit_web_view_get_zoom_level(WebViewHostTestAccess::webView(*host)) - 1.2) < 1e-9; }));
}

TEST_F(WebViewHostDisplayTest, ZoomCommandsReachTheView) {
    showHost(firstTab);
    ASSERT_TRUE(waitForTitle(firstTab, "Home"));
    state.zoomIn();
    EXPECT_TRUE(runMainLoopUntil([&] { return std::abs(webkit_web_view_get_zoom_level(WebViewHostTestAccess::webView(*host)) - 1.1) < 1e-9; }));
    EXPECT_TRUE(runMainLoopUntil([&] { return !state.navigationCommand->has_value(); }));
    state.resetZoom();
    EXPECT_TRUE(runMainLoopUntil([&] { return webkit_web_view_get_zoom_level(WebViewHostTestAccess::webView(*host)) == 1.0; }));
}

TEST_F(WebViewHostDisplayTest, ABlankPageIsNotRecordedAndAnUntitledOneIsWithAnEmptyTitle) {
    state.homePage = "about:blank";
    showHost(firstTab);
    ASSERT_TRUE(runMainLoopUntil([&] { return tab(firstTab).estimatedProgress == 1.0 && !tab(firstTab).isLoading; }));
    state.navigate(server.url("/untitled"));
    ASSERT_TRUE(runMainLoopUntil([&] { return historyHas(server.url("/untitled")); }));
    ASSERT_EQ(store.history()->size(), 1u);
    EXPECT_EQ(store.history()->front().title, "");
}

TEST_F(WebViewHostDisplayTest, EveryPageOfATabIsRecordedWithItsTitle) {
    server.serve("/a", page("Page A", "<a id=next href='/b'>next</a>"));
    server.serve("/b", page("Page B", "<a id=next href='/c'>next</a>"));
    server.serve("/c", page("Page C"));
    state.homePage = server.url("/a");
    showHost(firstTab);
    ASSERT_TRUE(waitForTitle(firstTab, "Page A"));
    for (const char* title : {"Page B", "Page C"}) {
        ASSERT_TRUE(testing::evaluateInPage(WebViewHostTestAccess::webView(*host), "document.getElementById('next').click(); 1"));
        ASSERT_TRUE(waitForTitle(firstTab, title));
    }
    state.navigationCommand = NavigationCommand::goBack();
    ASSERT_TRUE(waitForTitle(firstTab, "Page B"));
    ASSERT_TRUE(runMainLoopUntil([&] { return store.history()->size() == 3 && visitCount() == 4; }));
    for (const auto& item : store.history().get()) EXPECT_FALSE(item.title.empty()) << item.url;
}

TEST_F(WebViewHostDisplayTest, AnUnparsableHomePageLeavesTheViewBlank) {
    state.homePage = "not a url";
    showHost(firstTab);
    testing::drainMainLoop();
    EXPECT_EQ(webkit_web_view_get_uri(WebViewHostTestAccess::webView(*host)), nullptr);
    EXPECT_EQ(tab(firstTab).title, "New Tab");
}

// Real pages link to queries with brackets and bars, which the engine keeps as written.
constexpr const char* kOddQuery = "/second?f[x]=1|2&family=Roboto|Open+Sans";

TEST_F(WebViewHostDisplayTest, CtrlClickOpensTheLinkInANewActiveTabAndKeepsThePage) {
    server.serve("/links", fullPageLink("Links", kOddQuery));
    state.homePage = server.url("/links");
    showHost(firstTab);
    ASSERT_TRUE(waitForTitle(firstTab, "Links"));
    clickPage("ctrl", 1);
    ASSERT_TRUE(runMainLoopUntil([&] { return state.tabs->size() == 2; }));
    EXPECT_NE(state.activeTabId.get(), firstTab);
    EXPECT_EQ(state.activeTab()->url, Url::parse(server.url(kOddQuery)));
    testing::drainMainLoop();
    EXPECT_EQ(tab(firstTab).title, "Links");
    EXPECT_EQ(server.requestCount(kOddQuery), 0) << "the new tab's own host loads it";
}

TEST_F(WebViewHostDisplayTest, AFollowedLinkWithAnOddQueryIsShownAndRecorded) {
    server.serve("/links", fullPageLink("Links", kOddQuery));
    state.homePage = server.url("/links");
    showHost(firstTab);
    ASSERT_TRUE(waitForTitle(firstTab, "Links"));
    clickPage(nullptr, 1);
    ASSERT_TRUE(waitForTitle(firstTab, "Second"));
    EXPECT_EQ(state.addressBarText.get(), server.url(kOddQuery));
    EXPECT_TRUE(runMainLoopUntil([&] { return historyHas(server.url(kOddQuery)); }));
}

TEST_F(WebViewHostDisplayTest, MiddleClickOpensTheLinkInANewTab) {
    server.serve("/links", fullPageLink("Links", "/second"));
    state.homePage = server.url("/links");
    showHost(firstTab);
    ASSERT_TRUE(waitForTitle(firstTab, "Links"));
    clickPage(nullptr, 2);
    ASSERT_TRUE(runMainLoopUntil([&] { return state.tabs->size() == 2; }));
    EXPECT_EQ(tab(firstTab).title, "Links");
}

TEST_F(WebViewHostDisplayTest, ALinkToANewWindowReplacesThePage) {
    server.serve("/blank-target", fullPageLink("Opener", kOddQuery, "_blank"));
    state.homePage = server.url("/blank-target");
    showHost(firstTab);
    ASSERT_TRUE(waitForTitle(firstTab, "Opener"));
    clickPage(nullptr, 1);
    ASSERT_TRUE(waitForTitle(firstTab, "Second"));
    EXPECT_EQ(state.tabs->size(), 1u);
}

TEST_F(WebViewHostDisplayTest, ThePageTitleTracksScriptChangesButNotEmptyOnes) {
    server.serve("/retitle", page("Before", "<script>setTimeout(()=>{document.title='After';"
                                            "setTimeout(()=>{document.title=''},50)},50)</script>"));
    state.homePage = server.url("/retitle");
    showHost(firstTab);
    ASSERT_TRUE(runMainLoopUntil([&] { return tab(firstTab).title == "After"; }));
    ASSERT_TRUE(runMainLoopUntil([&] {
        const char* title = webkit_web_view_get_title(WebViewHostTestAccess::webView(*host));
        return title && std::string(title).empty();
    }));
    testing::drainMainLoop();
    EXPECT_EQ(tab(firstTab).title, "After");
}

}  // namespace
}  // namespace sarvik
