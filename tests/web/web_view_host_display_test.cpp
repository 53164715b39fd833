#include "web/web_view_host.h"

#include "core/scoped_connection.h"
#include "support/display/gtk_test_environment.h"
#include "support/loopback_http_server.h"
#include "support/temporary_directory.h"

#include <gtkmm/button.h>
#include <gtkmm/entry.h>
#include <gtkmm/label.h>
#include <gtkmm/window.h>
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

TEST_F(WebViewHostDisplayTest, StopEndsASlowLoadWithoutAVisit) {
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
}

TEST_F(WebViewHostDisplayTest, AFailedLoadOnlyEndsLoadingAndRecordsNothing) {
    showHost(firstTab);
    ASSERT_TRUE(waitForTitle(firstTab, "Home"));
    ASSERT_TRUE(runMainLoopUntil([&] { return historyHas(server.url("/home")); }));
    // Nothing listens on port 1 of the loopback address: the connection is refused.
    // A refused connection can start and end loading within one turn of the main
    // loop, so every change of the tab list is watched, not only its final state.
    bool sawLoading = false;
    ScopedConnection watch =
        state.tabs.changed().connect([&] { sawLoading = sawLoading || tab(firstTab).isLoading; });
    state.navigate("http://127.0.0.1:1/refused");
    ASSERT_TRUE(runMainLoopUntil([&] { return sawLoading && !tab(firstTab).isLoading; }));
    testing::drainMainLoop();
    EXPECT_EQ(visitCount(), 1);
    EXPECT_EQ(tab(firstTab).title, "Home") << "no error page replaced the title";
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
    EXPECT_TRUE(runMainLoopUntil([&] { return std::abs(webkit_web_view_get_zoom_level(host->webView()) - 1.2) < 1e-9; }));
}

TEST_F(WebViewHostDisplayTest, ZoomCommandsReachTheView) {
    showHost(firstTab);
    ASSERT_TRUE(waitForTitle(firstTab, "Home"));
    state.zoomIn();
    EXPECT_TRUE(runMainLoopUntil([&] { return std::abs(webkit_web_view_get_zoom_level(host->webView()) - 1.1) < 1e-9; }));
    EXPECT_TRUE(runMainLoopUntil([&] { return !state.navigationCommand->has_value(); }));
    state.resetZoom();
    EXPECT_TRUE(runMainLoopUntil([&] { return webkit_web_view_get_zoom_level(host->webView()) == 1.0; }));
}

TEST_F(WebViewHostDisplayTest, BlankAndUntitledPagesAreNotRecorded) {
    state.homePage = "about:blank";
    showHost(firstTab);
    ASSERT_TRUE(runMainLoopUntil([&] { return tab(firstTab).estimatedProgress == 1.0 && !tab(firstTab).isLoading; }));
    state.navigate(server.url("/untitled"));
    ASSERT_TRUE(runMainLoopUntil([&] { return server.requestCount("/untitled") == 1 && !tab(firstTab).isLoading &&
                                               tab(firstTab).estimatedProgress == 1.0; }));
    state.navigate(server.url("/second"));
    ASSERT_TRUE(waitForTitle(firstTab, "Second"));
    ASSERT_TRUE(runMainLoopUntil([&] { return historyHas(server.url("/second")); }));
    ASSERT_EQ(store.history()->size(), 1u) << "only the titled page";
    EXPECT_EQ(store.history()->front().url, server.url("/second"));
}

TEST_F(WebViewHostDisplayTest, AnUnparsableHomePageLeavesTheViewBlank) {
    state.homePage = "not a url";
    showHost(firstTab);
    testing::drainMainLoop();
    EXPECT_EQ(webkit_web_view_get_uri(host->webView()), nullptr);
    EXPECT_EQ(tab(firstTab).title, "New Tab");
}

TEST_F(WebViewHostDisplayTest, CtrlClickOpensTheLinkInANewActiveTabAndKeepsThePage) {
    server.serve("/links", fullPageLink("Links", "/second"));
    state.homePage = server.url("/links");
    showHost(firstTab);
    ASSERT_TRUE(waitForTitle(firstTab, "Links"));
    clickPage("ctrl", 1);
    ASSERT_TRUE(runMainLoopUntil([&] { return state.tabs->size() == 2; }));
    EXPECT_NE(state.activeTabId.get(), firstTab);
    EXPECT_EQ(state.activeTab()->url, Url::parse(server.url("/second")));
    testing::drainMainLoop();
    EXPECT_EQ(tab(firstTab).title, "Links");
    EXPECT_EQ(server.requestCount("/second"), 0) << "the new tab's own host loads it";
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
    server.serve("/blank-target", fullPageLink("Opener", "/second", "_blank"));
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
        const char* title = webkit_web_view_get_title(host->webView());
        return title && std::string(title).empty();
    }));
    testing::drainMainLoop();
    EXPECT_EQ(tab(firstTab).title, "After");
}

}  // namespace
}  // namespace sarvik
