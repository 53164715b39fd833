#include "views/window/main_window.h"

#include "core/notification_center.h"
#include "core/notification_names.h"
#include "support/display/gtk_test_environment.h"
#include "support/display/widget_screenshot.h"
#include "support/loopback_http_server.h"
#include "support/temporary_directory.h"
#include "views/common/theme_stylesheet.h"

#include "web/web_view_host_test_access.h"

#include <gtest/gtest.h>
#include <webkit/webkit.h>

namespace sarvik {
namespace {

using testing::runMainLoopUntil;
namespace names = notifications;

// "Apple" twelve times in mixed case, "pear" once, "plum" never.
std::string fruitPage() {
    std::string body = "<!doctype html><html><head><title>Fruit</title></head><body>";
    for (int i = 0; i < 12; ++i) body += std::string("<p>") + (i % 2 ? "apple" : "APPLE") + " number " + std::to_string(i) + "</p>";
    return body + "<p>pear</p></body></html>";
}

class FindBarDisplayTest : public ::testing::Test {
protected:
    void SetUp() override {
        server.serve("/fruit", fruitPage());
        server.serve("/other", "<!doctype html><title>Other</title><p>apple pear pear</p>");
        state.homePage = server.url("/fruit");
        window = std::make_unique<MainWindow>(state, auctions, folder.path());
        window->present();
        ASSERT_TRUE(loaded(state.activeTabId, "Fruit"));
    }

    void TearDown() override {
        window.reset();
        testing::drainMainLoop();
    }

    bool loaded(const Uuid& id, const std::string& title) {
        return runMainLoopUntil([&] {
            const BrowserTab* tab = state.findTab(id);
            return tab && tab->title == title && !tab->isLoading;
        });
    }
    FindBar& bar() { return window->contentView().findBar(); }
    std::string count() { return bar().countLabel().get_text(); }
    bool countReads(const std::string& text) {
        return runMainLoopUntil([&] { return count() == text; }, std::chrono::seconds(10));
    }
    static void click(Gtk::Button& button) { g_signal_emit_by_name(button.gobj(), "clicked"); }
    static void post(std::string_view name) { NotificationCenter::defaultCenter().post(name); }
    bool fieldHasFocus() {
        for (Gtk::Widget* w = window->get_focus(); w; w = w->get_parent())
            if (w == &bar().field()) return true;
        return false;
    }
    // The text of the paragraph holding the page's selection: the engine's current match.
    std::string selectedParagraph() {
        struct Result {
            bool done = false;
            std::string text;
        } result;
        webkit_web_view_evaluate_javascript(
            activeView(), "(() => { const s = window.getSelection(); return s.rangeCount ? s.anchorNode.parentNode.textContent : ''; })()",
            -1, nullptr, nullptr, nullptr,
            [](GObject* view, GAsyncResult* async, gpointer data) {
                auto* out = static_cast<Result*>(data);
                if (JSCValue* value = webkit_web_view_evaluate_javascript_finish(WEBKIT_WEB_VIEW(view), async, nullptr)) {
                    gchar* text = jsc_value_to_string(value);
                    out->text = text;
                    g_free(text);
                    g_object_unref(value);
                }
                out->done = true;
            },
            &result);
        runMainLoopUntil([&] { return result.done; });
        return result.text;
    }
    WebKitWebView* activeView() { return WebViewHostTestAccess::webView(*window->contentView().webArea().host()); }

    testing::LoopbackHttpServer server;
    testing::TemporaryDirectory folder;
    BrowserState state;
    ThemeStylesheet stylesheet{state, Gdk::Display::get_default()};
    AuctionStore auctions{folder.path()};
    std::unique_ptr<MainWindow> window;
};

TEST_F(FindBarDisplayTest, CountsMatchesIgnoringCaseAndStepsWithWrapAround) {
    EXPECT_FALSE(bar().isOpen());
    post(names::kFindInPage);
    ASSERT_TRUE(bar().isOpen());
    EXPECT_TRUE(runMainLoopUntil([&] { return fieldHasFocus(); }));

    bar().field().set_text("apple");
    ASSERT_TRUE(countReads("1 of 12")) << count();
    EXPECT_EQ(selectedParagraph(), "APPLE number 0");
    g_signal_emit_by_name(bar().field().gobj(), "activate");  // Enter
    ASSERT_TRUE(countReads("2 of 12")) << count();
    post(names::kFindNext);  // Ctrl+G
    ASSERT_TRUE(countReads("3 of 12")) << count();
    EXPECT_TRUE(runMainLoopUntil([&] { return selectedParagraph() == "APPLE number 2"; })) << selectedParagraph();
    click(bar().previousButton());
    click(bar().previousButton());
    ASSERT_TRUE(countReads("1 of 12")) << count();
    post(names::kFindPrevious);
    ASSERT_TRUE(countReads("12 of 12")) << "back from the first wraps to the last";
    EXPECT_TRUE(runMainLoopUntil([&] { return selectedParagraph() == "apple number 11"; })) << selectedParagraph();
    click(bar().nextButton());
    ASSERT_TRUE(countReads("1 of 12")) << "on from the last wraps to the first";
    EXPECT_TRUE(runMainLoopUntil([&] { return selectedParagraph() == "APPLE number 0"; })) << selectedParagraph();
    ASSERT_TRUE(runMainLoopUntil([&] { return bar().get_child_revealed() && bar().get_height() > 0; }));
    testing::saveScreenshotIfRequested(*window, "find-bar");
}

TEST_F(FindBarDisplayTest, NoMatchesSaysSoAndMatchCaseNarrowsTheSearch) {
    post(names::kFindInPage);
    bar().field().set_text("plum");
    ASSERT_TRUE(countReads("No matches")) << count();
    EXPECT_FALSE(bar().nextButton().get_sensitive());
    bar().field().set_text("pear");
    ASSERT_TRUE(countReads("1 of 1")) << count();
    EXPECT_TRUE(bar().nextButton().get_sensitive());
    bar().field().set_text("APPLE");
    ASSERT_TRUE(countReads("1 of 12")) << count();
    bar().matchCaseSwitch().set_active(true);
    ASSERT_TRUE(countReads("1 of 6")) << count();
    bar().field().set_text("");
    EXPECT_TRUE(countReads(""));
}

TEST_F(FindBarDisplayTest, ClosingTheBarGivesTheKeyboardBackToThePage) {
    post(names::kFindInPage);
    bar().field().set_text("apple");
    ASSERT_TRUE(countReads("1 of 12"));
    ASSERT_TRUE(runMainLoopUntil([&] { return fieldHasFocus(); }));
    click(*dynamic_cast<Gtk::Button*>(testing::findDescendant(bar(), "find-close")));
    EXPECT_FALSE(bar().isOpen());
    EXPECT_EQ(count(), "");
    EXPECT_TRUE(runMainLoopUntil([&] { return window->get_focus() && window->get_focus()->gobj() == GTK_WIDGET(activeView()); }));

    // Opening again searches the same text once more, selected before the field takes the keyboard:
    // a cursor set blinking over no selection and then selected makes GTK warn.
    EXPECT_EQ(testing::selectedWhenFocused(bar().field(), [] { post(names::kFindInPage); }), true);
    EXPECT_TRUE(countReads("1 of 12"));
    EXPECT_EQ(bar().field().get_text(), "apple");
}

TEST_F(FindBarDisplayTest, TheSearchFollowsTheActiveTab) {
    const Uuid first = state.activeTabId;
    post(names::kFindInPage);
    bar().field().set_text("pear");
    ASSERT_TRUE(countReads("1 of 1"));
    WebViewHost* firstHost = window->contentView().webArea().host();

    state.newTab(Url::parse(server.url("/other")));
    ASSERT_TRUE(loaded(state.activeTabId, "Other"));
    ASSERT_TRUE(countReads("1 of 2")) << "the same text in the new page: " << count();
    ASSERT_NE(bar().finder(), nullptr);
    EXPECT_FALSE(firstHost->shows(*bar().finder()));

    state.selectTab(first);
    EXPECT_TRUE(countReads("1 of 1")) << count();
    EXPECT_TRUE(firstHost->shows(*bar().finder()));
}

TEST_F(FindBarDisplayTest, ANewPageIsSearchedAgain) {
    post(names::kFindInPage);
    bar().field().set_text("pear");
    ASSERT_TRUE(countReads("1 of 1"));
    state.navigate(server.url("/other"));
    ASSERT_TRUE(loaded(state.activeTabId, "Other"));
    EXPECT_TRUE(countReads("1 of 2")) << count();
}

}  // namespace
}  // namespace sarvik
