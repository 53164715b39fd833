#include "web/web_view_host.h"

#include "support/display/browser_window_harness.h"
#include "support/display/ui_driver.h"
#include "support/loopback_http_server.h"
#include "support/temporary_directory.h"
#include "web/error_page.h"
#include "web/web_view_host_test_access.h"

#include <glibmm/main.h>
#include <gtkmm/button.h>
#include <gtkmm/checkbutton.h>
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

using testing::findDescendant;
using testing::runMainLoopUntil;

using Harness = testing::BrowserWindowHarness;

// A link that fills the whole page, so a click anywhere in the view hits it.
std::string fullPageLink(const std::string& title, const std::string& href, const std::string& target = "") {
    return Harness::page(title, "<a href='" + href + "' target='" + target + "' style='display:block;position:fixed;inset:0'>l</a>");
}

// Real pages link to queries with brackets and bars, which the engine keeps as written.
constexpr const char* kOddQuery = "/second?f[x]=1|2&family=Roboto|Open+Sans";
constexpr const char* kFlood = "for(let i=0;i<100;i++)window.open('/popup','_blank');";

class WebViewHostDisplayTest : public ::testing::Test {
protected:
    void SetUp() override {
        server.serve("/home", Harness::page("Home"));
        server.serve("/second", Harness::page("Second"));
        server.serve("/popup", Harness::page("Popup"));
        state.homePage = server.url("/home");
        window.set_default_size(640, 480);
    }
    void TearDown() override {
        window.unset_child();
        host.reset();
        testing::drainMainLoop();
    }
    void show() {
        host = std::make_unique<WebViewHost>(state, store, firstTab);
        window.set_child(*host);
        window.present();
    }
    WebKitWebView* view() const { return WebViewHostTestAccess::webView(*host); }
    const BrowserTab& tab() const { return *state.findTab(firstTab); }
    bool loaded(const std::string& title) {
        return runMainLoopUntil([&] { return tab().title == title && !tab().isLoading && tab().estimatedProgress == 1.0; });
    }
    bool zoomIs(WebKitWebView* v, double zoom) {
        return runMainLoopUntil([&] { return std::abs(webkit_web_view_get_zoom_level(v) - zoom) < 1e-9; });
    }
    bool clickLink() { return testing::evaluateInPage(view(), "document.getElementById('next').click(); 1") == "1"; }
    // Real pointer input on the page, the way a user clicks.
    static int clickPage(const std::string& keys = "click 1") {
        return std::system(("xdotool mousemove 320 240 " + keys).c_str());
    }
    // The page runs `script` once loaded and shows its answer as the title.
    void ask(const std::string& script) {
        server.serve("/ask", "<!doctype html><title>Asking</title><script>addEventListener('load',()=>setTimeout(()=>{" +
                                 script + "},0))</script>");
        state.homePage = server.url("/ask");
        show();
    }
    static std::string text(Gtk::Window& panel, const char* name) {
        auto* label = dynamic_cast<Gtk::Label*>(findDescendant(panel, name));
        return label && label->get_visible() && label->get_parent() ? std::string(label->get_text()) : "(none)";
    }
    // The panel showing `shown` as its message or its text (each step asks something new).
    static Gtk::Window* panelShowing(const std::string& shown) {
        Gtk::Window* panel = nullptr;
        runMainLoopUntil([&] {
            panel = testing::findWindow("javascript-panel");
            return panel && (text(*panel, "javascript-panel-informative") == shown ||
                             text(*panel, "javascript-panel-message") == shown);
        });
        return panel;
    }
    static void press(Gtk::Window& panel, const std::string& name) {
        auto* button = dynamic_cast<Gtk::Button*>(findDescendant(panel, "javascript-panel-" + name));
        ASSERT_NE(button, nullptr) << name;
        button->activate();
    }
    bool titleIs(const std::string& title) {
        return runMainLoopUntil([&] { return state.activeTab()->title == title; });
    }
    // Visits in all, whether the store merges repeated addresses or not.
    std::int64_t visits() const {
        std::int64_t count = 0;
        for (const auto& item : store.history().get()) count += item.visitCount;
        return count;
    }
    bool recorded(const std::string& path) const {
        const auto& items = store.history().get();
        return std::any_of(items.begin(), items.end(), [&](const HistoryItem& i) { return i.url == server.url(path); });
    }
    testing::LoopbackHttpServer server;
    testing::TemporaryDirectory folder;
    BrowserState state;
    BrowserDataStore store{folder.path()};
    Uuid firstTab = state.activeTabId;
    Gtk::Window window;
    std::unique_ptr<WebViewHost> host;
};

TEST_F(WebViewHostDisplayTest, ATabBrowsesBackAndForthReloadsStopsFailsAndRetries) {
    server.serve("/a", Harness::page("Page A", "<a id=next href='/b'>next</a>"));
    server.serve("/b", Harness::page("Page B", std::string("<a id=next href='") + kOddQuery + "'>next</a>"));
    state.homePage = server.url("/a");
    show();
    ASSERT_TRUE(loaded("Page A"));
    EXPECT_EQ(tab().url, Url::parse(server.url("/a")));
    EXPECT_EQ(state.addressBarText.get(), server.url("/a"));
    EXPECT_FALSE(tab().canGoBack);
    ASSERT_TRUE(clickLink());
    ASSERT_TRUE(loaded("Page B"));
    EXPECT_TRUE(tab().canGoBack);
    ASSERT_TRUE(clickLink());
    ASSERT_TRUE(loaded("Second"));
    EXPECT_EQ(state.addressBarText.get(), server.url(kOddQuery));
    EXPECT_TRUE(recorded(kOddQuery));
    state.navigationCommand = NavigationCommand::goBack();
    ASSERT_TRUE(loaded("Page B"));
    EXPECT_TRUE(runMainLoopUntil([&] { return store.history()->size() == 3 && visits() == 4; }))
        << "going back is a visit too";
    for (const auto& item : store.history().get()) EXPECT_FALSE(item.title.empty()) << item.url;
    state.navigationCommand = NavigationCommand::goBack();
    ASSERT_TRUE(loaded("Page A"));
    EXPECT_TRUE(tab().canGoForward && !tab().canGoBack);
    state.navigationCommand = NavigationCommand::goForward();
    ASSERT_TRUE(loaded("Page B"));
    // A load command runs once, is cleared, and can be issued again.
    state.navigate(server.url("/second"));
    ASSERT_TRUE(loaded("Second"));
    EXPECT_FALSE(state.navigationCommand->has_value());
    EXPECT_EQ(server.requestCount("/second"), 1);
    state.navigate(server.url("/second"));
    ASSERT_TRUE(runMainLoopUntil([&] { return server.requestCount("/second") == 2 && !tab().isLoading; }));
    state.navigationCommand = NavigationCommand::reload();
    ASSERT_TRUE(runMainLoopUntil([&] { return server.requestCount("/second") == 3 && !tab().isLoading; }));
    ASSERT_TRUE(runMainLoopUntil([&] { return visits() == 9; })) << "each load and each reload is a visit";
    // Stopping a slow load leaves no visit and no error page.
    const auto before = visits();
    server.serveSlowly("/slow", Harness::page("Slow"), std::chrono::seconds(30));
    state.navigate(server.url("/slow"));
    ASSERT_TRUE(runMainLoopUntil([&] { return server.requestCount("/slow") == 1 && tab().isLoading; }));
    state.navigationCommand = NavigationCommand::stop();
    ASSERT_TRUE(runMainLoopUntil([&] { return !tab().isLoading; }));
    testing::drainMainLoop();
    EXPECT_FALSE(recorded("/slow"));
    EXPECT_EQ(tab().title, "Second");
    EXPECT_FALSE(tab().loadError) << "a stopped load is no failure to show";
    // A failed load shows the error page under its own address; Try Again loads it.
    testing::HttpResponse dropped;
    dropped.dropConnection = true;
    server.respond("/flaky", dropped);
    state.navigate(server.url("/flaky"));
    ASSERT_TRUE(loaded(kErrorPageTitle));
    EXPECT_TRUE(tab().loadError && !tab().loadError->empty());
    EXPECT_EQ(state.addressBarText.get(), server.url("/flaky"));
    testing::drainMainLoop();
    EXPECT_EQ(visits(), before) << "neither a stop, a failure nor its error page is a visit";
    server.serve("/flaky", Harness::page("Back Up"));
    ASSERT_EQ(testing::evaluateInPage(view(), "document.getElementById('try-again').click(); 1"), "1");
    ASSERT_TRUE(loaded("Back Up"));
    EXPECT_FALSE(tab().loadError);
    EXPECT_TRUE(recorded("/flaky"));
    // The title follows the page's script, but not to an empty one.
    server.serve("/retitle", Harness::page("Before", "<script>setTimeout(()=>{document.title='After';"
                                            "setTimeout(()=>{document.title=''},50)},50)</script>"));
    state.navigate(server.url("/retitle"));
    ASSERT_TRUE(runMainLoopUntil([&] { return tab().title == "After"; }));
    ASSERT_TRUE(runMainLoopUntil([&] {
        const char* title = webkit_web_view_get_title(view());
        return title && std::string(title).empty();
    }));
    testing::drainMainLoop();
    EXPECT_EQ(tab().title, "After");
}

TEST_F(WebViewHostDisplayTest, ABadHomePageStaysBlankABlankPageIsNotRecordedAndAnUntitledOneIs) {
    state.homePage = "not a url";
    show();
    testing::drainMainLoop();
    EXPECT_EQ(webkit_web_view_get_uri(view()), nullptr);
    EXPECT_EQ(tab().title, "New Tab");
    state.navigationCommand = NavigationCommand::load(*Url::parse("about:blank"));
    ASSERT_TRUE(runMainLoopUntil([&] { return webkit_web_view_get_uri(view()) && !tab().isLoading; }));
    server.serve("/untitled", "<!doctype html><html><body>no title</body></html>");
    state.navigate(server.url("/untitled"));
    ASSERT_TRUE(runMainLoopUntil([&] { return recorded("/untitled"); }));
    ASSERT_EQ(store.history()->size(), 1u);
    EXPECT_EQ(store.history()->front().title, "");
}

TEST_F(WebViewHostDisplayTest, CommandsWaitForTheirTabButTheZoomReachesEveryTab) {
    show();
    ASSERT_TRUE(loaded("Home"));
    state.zoomIn();
    state.zoomIn();  // two in one turn of the main loop: both run
    EXPECT_TRUE(zoomIs(view(), 1.2));
    EXPECT_TRUE(runMainLoopUntil([&] { return !state.navigationCommand->has_value(); }));
    state.resetZoom();
    EXPECT_TRUE(zoomIs(view(), 1.0));
    state.zoomIn();
    ASSERT_TRUE(zoomIs(view(), 1.1));
    state.newTab();  // in the same turn: clearing the zoom command taken must not clear this load

    state.navigationCommand = NavigationCommand::load(*Url::parse(server.url("/second")));
    testing::drainMainLoop();
    EXPECT_TRUE(state.navigationCommand->has_value()) << "pending for the new tab's host";
    EXPECT_EQ(server.requestCount("/second"), 0);
    EXPECT_EQ(tab().title, "Home");
    WebViewHost second(state, store, state.activeTabId);
    EXPECT_DOUBLE_EQ(webkit_web_view_get_zoom_level(WebViewHostTestAccess::webView(second)), 1.1);
    EXPECT_TRUE(runMainLoopUntil([&] { return server.requestCount("/second") == 1; }));
    state.zoomIn();
    EXPECT_TRUE(zoomIs(view(), 1.2)) << "a background tab follows the zoom too";
}

TEST_F(WebViewHostDisplayTest, CtrlAndMiddleClickOpenTheLinkInANewTabAndKeepThePage) {
    server.serve("/links", fullPageLink("Links", kOddQuery));
    state.homePage = server.url("/links");
    show();
    ASSERT_TRUE(loaded("Links"));
    ASSERT_EQ(clickPage("keydown ctrl click 1 keyup ctrl"), 0);
    ASSERT_TRUE(runMainLoopUntil([&] { return state.tabs->size() == 2; }));
    EXPECT_NE(state.activeTabId.get(), firstTab);
    EXPECT_EQ(state.activeTab()->url, Url::parse(server.url(kOddQuery)));
    ASSERT_EQ(clickPage("click 2"), 0);
    ASSERT_TRUE(runMainLoopUntil([&] { return state.tabs->size() == 3; }));
    testing::drainMainLoop();
    EXPECT_EQ(tab().title, "Links");
    EXPECT_EQ(server.requestCount(kOddQuery), 0) << "the new tabs' own hosts load it";
}

TEST_F(WebViewHostDisplayTest, NewWindowsOpenNothingUnlessClickedAndThenReplaceThePageOnce) {
    server.serve("/on-load", Harness::page("Flooding", std::string("<script>") + kFlood +
                                                  "setTimeout(()=>{document.title='Flooded'},100)</script>"));
    server.serve("/on-click", Harness::page("Clicking", std::string("<div style='position:fixed;inset:0' onclick=\"") + kFlood +
                                                   "\">click</div>"));
    server.serve("/blank-target", fullPageLink("Opener", kOddQuery, "_blank"));
    state.homePage = server.url("/on-load");
    show();
    ASSERT_TRUE(loaded("Flooded"));
    testing::drainMainLoop();
    EXPECT_EQ(tab().title, "Flooded") << "the page stays";
    // A later load of our own: whatever the page had queued has run by the time it shows.
    state.navigate(server.url("/on-click"));
    ASSERT_TRUE(loaded("Clicking"));
    EXPECT_EQ(server.requestCount("/popup"), 0) << "a window the user did not ask for is not followed";
    ASSERT_EQ(clickPage(), 0);
    ASSERT_TRUE(loaded("Popup"));
    state.navigate(server.url("/blank-target"));
    ASSERT_TRUE(loaded("Opener"));
    EXPECT_EQ(server.requestCount("/popup"), 1) << "a hundred opens from one click navigate once";
    ASSERT_EQ(clickPage(), 0);
    ASSERT_TRUE(loaded("Second"));
    EXPECT_EQ(state.addressBarText.get(), server.url(kOddQuery));
    EXPECT_EQ(state.tabs->size(), 1u);
}

TEST_F(WebViewHostDisplayTest, AlertsConfirmsAndPromptsGetTheAnswersGivenByButtonOrKey) {
    struct Step {
        const char* shown;
        const char* field;   // the prompt's text as offered; none for other panels
        const char* answer;  // a button, a real key, or "=text" typed and OK'd
    };
    const Step steps[] = {{"Hello there", nullptr, "ok"}, {"Sure?", nullptr, "ok"},     {"Really?", nullptr, "cancel"},
                          {"First?", nullptr, "Return"},  {"Second?", nullptr, "Escape"}, {"Third", nullptr, "Escape"},
                          {"Your name?", "Ann", "=Bob"},  {"Nick?", "", "cancel"},       {"Fourth?", "", "Escape"}};
    ask("const a=[(alert('Hello there'),'done'),confirm('Sure?'),confirm('Really?'),confirm('First?'),"
         "confirm('Second?'),(alert('Third'),'closed'),prompt('Your name?','Ann'),String(prompt('Nick?')),"
         "String(prompt('Fourth?'))];document.title='answer:'+a.join();");
    Gtk::Window* alert = panelShowing("Hello there");
    ASSERT_NE(alert, nullptr);
    EXPECT_EQ(text(*alert, "javascript-panel-message"), "JavaScript Alert");
    EXPECT_EQ(text(*alert, "javascript-panel-origin"), "http://127.0.0.1:" + std::to_string(server.port()));
    EXPECT_EQ(findDescendant(*alert, "javascript-panel-cancel"), nullptr) << "OK only";
    EXPECT_TRUE(alert->get_modal());
    for (const auto& [shown, field, answer] : steps) {
        Gtk::Window* panel = panelShowing(shown);
        ASSERT_NE(panel, nullptr) << shown;
        auto* entry = dynamic_cast<Gtk::Entry*>(findDescendant(*panel, "javascript-panel-field"));
        ASSERT_EQ(entry != nullptr, field != nullptr) << shown;
        if (field) { EXPECT_EQ(entry->get_text(), field); }
        if (std::string(shown) == "Sure?") { EXPECT_EQ(text(*panel, "javascript-panel-message"), "Confirm"); }
        const std::string how = answer;
        if (how == "ok" || how == "cancel") {
            press(*panel, how);
        } else if (how[0] == '=') {
            entry->set_text(how.substr(1));
            press(*panel, "ok");
        } else {
            const std::string keys = "xdotool search --name '^" + panel->get_title() + "$' windowfocus --sync key " + how;
            ASSERT_EQ(std::system(keys.c_str()), 0);
        }
    }
    EXPECT_TRUE(titleIs("answer:done,true,false,true,false,closed,Bob,null,null"));
}

// The third panel in a row offers to stop the page; once stopped, its next thousand
// alerts, a confirm and a prompt are answered at once, until it is reloaded.
TEST_F(WebViewHostDisplayTest, AFloodingPageCanBeStoppedUntilItIsReloadedAndAHostGoingClosesItsPanel) {
    ask("let n=0;for(let i=0;i<1000;i++){alert('again '+i);n++;}"
         "const c=confirm('Sure?');const p=prompt('Name?','Ann');document.title='done:'+n+':'+c+':'+p;");
    for (int shown = 1; shown <= 3; ++shown) {
        Gtk::Window* panel = panelShowing("again " + std::to_string(shown - 1));
        ASSERT_NE(panel, nullptr) << "panel " << shown;
        auto* stop = dynamic_cast<Gtk::CheckButton*>(findDescendant(*panel, "javascript-panel-stop"));
        if (shown < 3) {
            EXPECT_EQ(stop, nullptr) << "no offer on panel " << shown;
        } else {
            ASSERT_NE(stop, nullptr);
            EXPECT_EQ(stop->get_label(), "Prevent this page from creating more dialogs");
            EXPECT_FALSE(stop->get_active());
            stop->set_active(true);
        }
        // Clicked at once (activating a button clicks it only after a short press animation).
        g_signal_emit_by_name(findDescendant(*panel, "javascript-panel-ok")->gobj(), "clicked");
        ASSERT_FALSE(panel->get_visible());
    }
    int ticks = 0;
    auto ticker = Glib::signal_timeout().connect([&] { return ++ticks, true; }, 10);
    const bool finished = runMainLoopUntil([&] { return state.activeTab()->title.rfind("done:", 0) == 0; });
    ticker.disconnect();
    ASSERT_TRUE(finished);
    EXPECT_EQ(state.activeTab()->title, "done:1000:false:null") << "alerts returned, confirm false, prompt none";
    EXPECT_GT(ticks, 0) << "the main loop ran while the page was answered";
    EXPECT_EQ(testing::findWindow("javascript-panel"), nullptr);
    state.navigationCommand = NavigationCommand::reload();
    Gtk::Window* panel = panelShowing("again 0");
    ASSERT_NE(panel, nullptr) << "the reloaded page may ask again";
    EXPECT_EQ(findDescendant(*panel, "javascript-panel-stop"), nullptr);
    // A host that goes while asking answers the page and closes the panel.
    window.unset_child();
    host.reset();
    testing::drainMainLoop();
    EXPECT_EQ(testing::findWindow("javascript-panel"), nullptr);
}

}  // namespace
}  // namespace sarvik
