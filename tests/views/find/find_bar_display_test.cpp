#include "core/notification_names.h"
#include "support/display/browser_window_harness.h"
#include "support/display/ui_driver.h"

#include <gtest/gtest.h>
#include <webkit/webkit.h>

namespace sarvik {
namespace {

using testing::runMainLoopUntil;
namespace names = notifications;

class FindBarDisplayTest : public ::testing::Test, public testing::BrowserWindowHarness {
protected:
    void SetUp() override {
        // "Apple" twelve times in mixed case, "pear" once, "plum" never.
        std::string body;
        for (int i = 0; i < 12; ++i) body += std::string("<p>") + (i % 2 ? "apple" : "APPLE") + " number " + std::to_string(i) + "</p>";
        serve("/fruit", "Fruit", body + "<p>pear</p>");
        serve("/other", "Other", "<p>apple pear pear</p>");
        state.navigate(server.url("/fruit"));
        ASSERT_TRUE(activeLoaded("Fruit"));
    }
    FindBar& bar() { return content().findBar(); }
    std::string count() { return bar().countLabel().get_text(); }
    bool countReads(const std::string& text) {
        return runMainLoopUntil([&] { return count() == text; }, std::chrono::seconds(10));
    }
    // The paragraph holding the page's selection: the engine's current match.
    bool selected(const std::string& paragraph) {
        return runMainLoopUntil([&] {
            return testing::evaluateInPage(view(), "(() => { const s = window.getSelection(); return s.rangeCount ? "
                                                   "s.anchorNode.parentNode.textContent : ''; })()") == paragraph;
        });
    }
};

TEST_F(FindBarDisplayTest, CountsStepsWrapsAndFollowsTabsAndPages) {
    EXPECT_FALSE(bar().isOpen());
    post(names::kFindInPage);
    ASSERT_TRUE(bar().isOpen());
    EXPECT_TRUE(runMainLoopUntil([&] { return testing::hasFocusWithin(bar().field()); }));

    // Case is ignored until Match Case; Enter, Ctrl+G and the buttons step, wrapping at both ends.
    bar().field().set_text("apple");
    ASSERT_TRUE(countReads("1 of 12")) << count();
    EXPECT_TRUE(selected("APPLE number 0"));
    g_signal_emit_by_name(bar().field().gobj(), "activate");
    ASSERT_TRUE(countReads("2 of 12")) << count();
    post(names::kFindNext);
    ASSERT_TRUE(countReads("3 of 12")) << count();
    EXPECT_TRUE(selected("APPLE number 2"));
    testing::emitClicked(bar().previousButton());
    testing::emitClicked(bar().previousButton());
    ASSERT_TRUE(countReads("1 of 12")) << count();
    post(names::kFindPrevious);
    ASSERT_TRUE(countReads("12 of 12")) << "back from the first wraps to the last";
    EXPECT_TRUE(selected("apple number 11"));
    testing::emitClicked(bar().nextButton());
    ASSERT_TRUE(countReads("1 of 12")) << "on from the last wraps to the first";
    EXPECT_TRUE(selected("APPLE number 0"));
    ASSERT_TRUE(runMainLoopUntil([&] { return bar().get_child_revealed() && bar().get_height() > 0; }));
    testing::saveScreenshotIfRequested(*window, "find-bar");
    bar().matchCaseSwitch().set_active(true);
    ASSERT_TRUE(countReads("1 of 6")) << count();
    bar().matchCaseSwitch().set_active(false);
    bar().field().set_text("plum");
    ASSERT_TRUE(countReads("No matches")) << count();
    EXPECT_FALSE(bar().nextButton().get_sensitive());
    bar().field().set_text("");
    EXPECT_TRUE(countReads(""));

    // The search follows the active tab and each new page.
    const Uuid first = state.activeTabId;
    bar().field().set_text("pear");
    ASSERT_TRUE(countReads("1 of 1")) << count();
    EXPECT_TRUE(bar().nextButton().get_sensitive());
    WebViewHost* firstHost = host();
    ASSERT_TRUE(openTab("/other", "Other"));
    ASSERT_TRUE(countReads("1 of 2")) << "the same text in the new page: " << count();
    ASSERT_NE(bar().finder(), nullptr);
    EXPECT_FALSE(firstHost->shows(*bar().finder()));
    state.selectTab(first);
    EXPECT_TRUE(countReads("1 of 1")) << count();
    EXPECT_TRUE(firstHost->shows(*bar().finder()));
    state.navigate(server.url("/other"));
    ASSERT_TRUE(activeLoaded("Other"));
    EXPECT_TRUE(countReads("1 of 2")) << "a new page is searched again: " << count();

    // Closing gives the keyboard back to the page; opening again searches the same text, selected
    // before the field takes the keyboard.
    bar().field().grab_focus();
    ASSERT_TRUE(runMainLoopUntil([&] { return testing::hasFocusWithin(bar().field()); }));
    testing::emitClicked(testing::named(bar(), "find-close"));
    EXPECT_FALSE(bar().isOpen());
    EXPECT_EQ(count(), "");
    EXPECT_TRUE(runMainLoopUntil([&] { return window->get_focus() && window->get_focus()->gobj() == GTK_WIDGET(view()); }));
    EXPECT_EQ(testing::selectedWhenFocused(bar().field(), [] { post(names::kFindInPage); }), true);
    EXPECT_TRUE(countReads("1 of 2"));
    EXPECT_EQ(bar().field().get_text(), "pear");
}

}  // namespace
}  // namespace sarvik
