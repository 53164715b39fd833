#include "core/closed_tab_history.h"

#include <gtest/gtest.h>

#include <string>

namespace sarvik {
namespace {

Url url(const std::string& text) { return *Url::parse(text); }

std::vector<std::string> texts(const ClosedTabHistory& history) {
    std::vector<std::string> result;
    for (const Url& address : history.addresses()) result.push_back(address.absoluteString());
    return result;
}

// Opens a tab at `address` and returns its id.
Uuid openTab(BrowserState& state, const std::string& address) {
    state.newTab(url(address));
    return state.activeTabId;
}

TEST(ClosedTabHistoryTest, ReopensTheLastClosedFirstAsANewActiveTab) {
    BrowserState state;
    ClosedTabHistory history(state);
    const Uuid a = openTab(state, "http://a.test/");
    const Uuid b = openTab(state, "http://b.test/");
    state.closeTab(a);
    state.closeTab(b);
    EXPECT_EQ(texts(history), (std::vector<std::string>{"http://b.test/", "http://a.test/"}));

    ASSERT_TRUE(history.reopenMostRecent());
    ASSERT_EQ(state.tabs->size(), 2u);
    EXPECT_EQ(state.activeTab()->url->absoluteString(), "http://b.test/");
    EXPECT_NE(state.activeTabId.get(), b) << "a new tab, not the old record";
    EXPECT_EQ(state.addressBarText.get(), "http://b.test/");

    ASSERT_TRUE(history.reopenMostRecent());
    EXPECT_EQ(state.activeTab()->url->absoluteString(), "http://a.test/");
    EXPECT_EQ(state.tabs->size(), 3u);

    EXPECT_FALSE(history.reopenMostRecent()) << "nothing left";
    EXPECT_EQ(state.tabs->size(), 3u);
}

TEST(ClosedTabHistoryTest, KeepsTheAddressTheTabHadWhenItClosed) {
    BrowserState state;
    ClosedTabHistory history(state);
    const Uuid tab = openTab(state, "http://first.test/");
    state.updateTab(tab, [](BrowserTab& t) { t.url = url("http://later.test/page"); });
    state.closeTab(tab);
    EXPECT_EQ(texts(history), std::vector<std::string>{"http://later.test/page"});
}

// Tabs without an address, selecting, retitling and the only tab (which cannot close) record nothing.
TEST(ClosedTabHistoryTest, OnlyClosedTabsWithAnAddressAreRecorded) {
    BrowserState state;
    ClosedTabHistory history(state);
    const Uuid blank = state.activeTabId;  // the first tab has no address yet
    const Uuid aboutBlank = openTab(state, "about:blank");
    const Uuid kept = openTab(state, "http://kept.test/");
    state.selectTab(blank);
    state.updateTab(kept, [](BrowserTab& t) { t.title = "K"; });
    state.closeTab(blank);
    state.closeTab(aboutBlank);
    EXPECT_TRUE(history.empty());
    EXPECT_FALSE(history.reopenMostRecent());
    EXPECT_EQ(state.tabs->size(), 1u);
    state.closeTab(kept);
    EXPECT_TRUE(history.empty());
}

TEST(ClosedTabHistoryTest, KeepsOnlyTheTwentyMostRecent) {
    BrowserState state;
    ClosedTabHistory history(state);
    for (int i = 0; i < 25; ++i) {
        const Uuid tab = openTab(state, "http://site" + std::to_string(i) + ".test/");
        state.closeTab(tab);
    }
    ASSERT_EQ(history.size(), ClosedTabHistory::kLimit);
    EXPECT_EQ(texts(history).front(), "http://site24.test/");
    EXPECT_EQ(texts(history).back(), "http://site5.test/");
    int reopened = 0;
    while (history.reopenMostRecent()) ++reopened;
    EXPECT_EQ(reopened, 20);
}

}  // namespace
}  // namespace sarvik
