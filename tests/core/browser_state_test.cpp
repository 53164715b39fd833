#include "core/browser_state.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <vector>

namespace sarvik {
namespace {

std::string loadedUrl(const BrowserState& state) {
    const auto& command = state.navigationCommand.get();
    if (!command) return "<none>";
    const auto* load = std::get_if<NavigationCommand::Load>(&command->action);
    return load ? load->url.absoluteString() : "<not a load>";
}

double zoomFactor(const BrowserState& state) {
    const auto& command = state.navigationCommand.get();
    if (!command) return -1;
    const auto* zoom = std::get_if<NavigationCommand::Zoom>(&command->action);
    return zoom ? zoom->factor : -1;
}

Url url(const char* text) { return *Url::parse(text); }

TEST(BrowserStateTest, FreshStateHasOneActiveNewTabAndDefaults) {
    BrowserState state;
    ASSERT_EQ(state.tabs->size(), 1u);
    const BrowserTab& tab = state.tabs->front();
    EXPECT_EQ(tab.title, "New Tab");
    EXPECT_FALSE(tab.url);
    EXPECT_FALSE(tab.isLoading || tab.canGoBack || tab.canGoForward);
    EXPECT_EQ(tab.estimatedProgress, 0.0);
    EXPECT_EQ(state.activeTabId.get(), tab.id);
    EXPECT_EQ(state.addressBarText.get(), "");
    EXPECT_TRUE(state.isExplorerBarVisible.get());
    EXPECT_EQ(state.selectedExplorerTab.get(), ExplorerBarTab::favorites);
    EXPECT_FALSE(state.isToolbarCollapsed.get());
    EXPECT_EQ(state.colorTheme.get(), OrvelColorTheme::blueberry);
    EXPECT_EQ(state.pageZoom.get(), 1.0);
    EXPECT_EQ(state.homePage.get(), "https://www.google.com");
    EXPECT_EQ(state.searchEngine.get(), "https://www.google.com/search?q=");
    EXPECT_FALSE(state.navigationCommand->has_value());
    ASSERT_TRUE(state.activeTab());
    EXPECT_EQ(state.activeTab()->id, tab.id);
}

TEST(BrowserStateTest, AssignmentNotifiesEvenWhenTheValueIsEqual) {
    BrowserState state;
    int fieldChanges = 0, anyChanges = 0;
    ScopedConnection field = state.isExplorerBarVisible.changed().connect([&] { ++fieldChanges; });
    ScopedConnection any = state.anyChanged().connect([&] { ++anyChanges; });
    state.isExplorerBarVisible = true;
    state.isExplorerBarVisible = true;
    EXPECT_EQ(fieldChanges, 2);
    EXPECT_EQ(anyChanges, 2);
    field.disconnect();
    state.isExplorerBarVisible = false;
    EXPECT_EQ(fieldChanges, 2);
    EXPECT_EQ(anyChanges, 3);
    std::string seen;
    ScopedConnection c = state.addressBarText.changed().connect([&] { seen = state.addressBarText; });
    state.addressBarText = "typed";
    EXPECT_EQ(seen, "typed") << "observers see the new value";
}

TEST(BrowserStateTest, NavigateResolvesAddressesAndSearches) {
    struct Case {
        const char* typed;
        const char* expected;
    };
    const Case cases[] = {
        {"a.b", "https://a.b"},
        {"http://example.com/x", "http://example.com/x"},
        {"https://example.com", "https://example.com"},
        {"  \n example.org \t\n", "https://example.org"},
        {"hello world", "https://www.google.com/search?q=hello%20world"},
        {"what is 3.5", "https://www.google.com/search?q=what%20is%203.5"},
        {"localhost", "http://localhost"},
        {"localhost:8103", "http://localhost:8103"},
        {"http://localhost:8103/", "http://localhost:8103/"},
        {"127.0.0.1:8103/x.html", "http://127.0.0.1:8103/x.html"},
        {"[::1]:8080/", "http://[::1]:8080/"},
        {"intranet:8080", "http://intranet:8080"},
        {"example.com:8443/a?b=c", "http://example.com:8443/a?b=c"},
        {"192.168.1.1", "http://192.168.1.1"},
        {"file:///tmp/a.html", "file:///tmp/a.html"},
        {"https://x.example/?f[x]=1|2", "https://x.example/?f[x]=1|2"},
        {"about:blank", "about:blank"},
        {"10:30", "https://www.google.com/search?q=10:30"},
        {"ratio:1:2", "https://www.google.com/search?q=ratio:1:2"},
        {"a&b=c", "https://www.google.com/search?q=a&b=c"},
        {"c#", "https://www.google.com/search?q=c%23"},
        {"", "https://www.google.com/search?q="},
        {"   ", "https://www.google.com/search?q="},
        {"caf\xC3\xA9", "https://www.google.com/search?q=caf%C3%A9"},
        {"HTTP://x.y", "HTTP://x.y"},
        {"b\xC3\xBC\x63her.example", "https://xn--bcher-kva.example"},  // bücher.example, in its ASCII form
        {"https://m\xC3\xBCnchen.example/stra\xC3\x9F" "e?q=\xC3\xA4", "https://xn--mnchen-3ya.example/stra%C3%9Fe?q=%C3%A4"},
        {"exa\tmple.com", "<none>"},  // a tab is no space: an address, which cannot parse
        {"https://[bad.host", "<none>"},
    };
    for (const auto& c : cases) {
        BrowserState state;
        state.navigate(c.typed);
        EXPECT_EQ(loadedUrl(state), c.expected) << "typed: " << c.typed;
    }
    BrowserState state;
    state.addressBarText = "example.com";
    state.searchEngine = "https://duckduckgo.com/?q=";
    state.navigate("two words");
    EXPECT_EQ(loadedUrl(state), "https://duckduckgo.com/?q=two%20words");
    EXPECT_EQ(state.addressBarText.get(), "example.com") << "navigating leaves the text and tabs alone";
    EXPECT_FALSE(state.tabs->front().url);
}

TEST(BrowserStateTest, StoredAddressesLoadAsTheyAreWhenTheyParse) {
    const std::pair<const char*, const char*> cases[] = {
        {"http://localhost:8080/", "http://localhost:8080/"},
        {"file:///usr/share/doc/index.html", "file:///usr/share/doc/index.html"},
        {"scrapbook://0F8FAD5B-D9CB-469F-A165-70867728950E", "scrapbook://0F8FAD5B-D9CB-469F-A165-70867728950E"},
        {"example.com/a", "https://example.com/a"},  // not a URL: the address rule decides
    };
    for (const auto& [stored, loaded] : cases) {
        BrowserState state;
        state.openAddress(stored);
        EXPECT_EQ(loadedUrl(state), loaded);
    }
}

TEST(BrowserStateTest, ZoomInCapsAtThreeAndKeepsIssuingCommands) {
    BrowserState state;
    for (int i = 0; i < 19; ++i) state.zoomIn();
    EXPECT_LT(state.pageZoom.get(), 3.0);
    state.zoomIn();
    EXPECT_EQ(state.pageZoom.get(), 3.0);
    state.navigationCommand = std::nullopt;
    state.zoomIn();
    EXPECT_EQ(state.pageZoom.get(), 3.0);
    EXPECT_EQ(zoomFactor(state), 3.0);
    state.resetZoom();
    EXPECT_EQ(state.pageZoom.get(), 1.0);
    EXPECT_EQ(*state.navigationCommand.get(), NavigationCommand::zoom(1.0));
}

TEST(BrowserStateTest, ZoomStepsStayOnHundredths) {
    BrowserState state;
    std::vector<double> seen;
    for (int i = 0; i < 7; ++i) {
        state.zoomOut();
        seen.push_back(state.pageZoom.get());
    }
    EXPECT_EQ(seen, (std::vector<double>{0.9, 0.8, 0.7, 0.6, 0.5, 0.4, 0.3}));
    EXPECT_EQ(zoomFactor(state), 0.3);
    for (int i = 0; i < 27; ++i) {
        state.zoomIn();
        EXPECT_EQ(state.pageZoom.get(), std::round(state.pageZoom.get() * 100) / 100) << "after " << i + 1 << " steps in";
    }
    EXPECT_EQ(state.pageZoom.get(), 3.0);
    state.resetZoom();
    state.zoomOut();
    for (int i = 0; i < 17; ++i) state.zoomIn();
    EXPECT_EQ(state.pageZoom.get(), 2.6) << "0.9 + 17 steps is 2.6, not 2.5999...";
}

TEST(BrowserStateTest, NewTabAppendsActivatesAndShowsItsAddress) {
    BrowserState state;
    state.addressBarText = "old";
    state.newTab(url("https://example.com/page"));
    ASSERT_EQ(state.tabs->size(), 2u);
    EXPECT_EQ(state.activeTabId.get(), state.tabs->back().id);
    EXPECT_EQ(state.addressBarText.get(), "https://example.com/page");
    EXPECT_FALSE(state.navigationCommand->has_value());
    state.newTab();
    EXPECT_EQ(state.addressBarText.get(), "");
    EXPECT_EQ(state.tabs->back().title, "New Tab");
    BrowserState single;
    single.closeTab(single.activeTabId);
    EXPECT_EQ(single.tabs->size(), 1u) << "the only tab stays";
    state.closeTab(Uuid::random());
    EXPECT_EQ(state.tabs->size(), 3u);
}

TEST(BrowserStateTest, ClosingTheActiveTabActivatesItsNeighbour) {
    BrowserState state;
    state.tabs.modify([](auto& tabs) { tabs.front().url = url("https://a.example"); });
    const Uuid a = state.tabs->front().id;
    state.newTab(url("https://b.example"));
    const Uuid b = state.activeTabId;
    state.newTab(url("https://c.example"));
    const Uuid c = state.activeTabId;

    state.closeTab(c);  // the last one: the new last tab becomes active
    EXPECT_EQ(state.activeTabId.get(), b);
    EXPECT_EQ(state.addressBarText.get(), "https://b.example");

    state.newTab(url("https://c.example"));
    state.selectTab(a);
    state.closeTab(a);  // the first one: the tab that moved into its place
    EXPECT_EQ(state.activeTabId.get(), b);
    EXPECT_EQ(state.addressBarText.get(), "https://b.example");

    state.addressBarText = "being typed";
    state.closeTab(state.tabs->back().id);  // inactive: the active tab and the text stay
    EXPECT_EQ(state.activeTabId.get(), b);
    EXPECT_EQ(state.addressBarText.get(), "being typed");
}

TEST(BrowserStateTest, SelectTabShowsTheTabsAddressOrKeepsTextForUnknownIds) {
    BrowserState state;
    const Uuid a = state.activeTabId;
    state.newTab(url("https://b.example"));
    state.selectTab(a);
    EXPECT_EQ(state.addressBarText.get(), "");
    state.addressBarText = "kept";
    const Uuid stranger = Uuid::random();
    state.selectTab(stranger);
    EXPECT_EQ(state.activeTabId.get(), stranger);
    EXPECT_EQ(state.addressBarText.get(), "kept");
    EXPECT_FALSE(state.activeTab());
}

// Four tabs, the last active: each step from the one before selects the expected position.
TEST(BrowserStateTest, TabsAreSelectedBesideRoundTheEndsOrByPosition) {
    BrowserState state;
    for (const char* address : {"https://b.example", "https://c.example", "https://d.example"}) state.newTab(url(address));
    const auto position = [&] {
        const auto& tabs = state.tabs.get();
        for (std::size_t i = 0; i < tabs.size(); ++i)
            if (tabs[i].id == state.activeTabId.get()) return static_cast<int>(i);
        return -1;
    };
    const std::vector<std::pair<std::function<void()>, int>> steps{
        {[&] { state.selectTabBeside(1); }, 0},  {[&] { state.selectTabBeside(-1); }, 3},
        {[&] { state.selectTabBeside(-2); }, 1}, {[&] { state.selectTabBeside(9); }, 2},
        {[&] { state.selectTabAt(0); }, 0},      {[&] { state.selectTabAt(4); }, 0},
        {[&] { state.selectTabAt(3); }, 3},
    };
    for (std::size_t i = 0; i < steps.size(); ++i) {
        steps[i].first();
        EXPECT_EQ(position(), steps[i].second) << "step " << i;
    }
    EXPECT_EQ(state.addressBarText.get(), "https://d.example");

    // Moving the active tab keeps it active, stops at the ends and says where it went.
    std::vector<std::size_t> movedTo;
    ScopedConnection c = state.tabListChanged().connect([&](const TabListChange& change) {
        for (const auto& move : change.moved) movedTo.push_back(move.position);
    });
    const Uuid moving = state.activeTabId;
    for (const int step : {-1, -5, -1, 2}) state.moveActiveTab(step);
    EXPECT_EQ(movedTo, (std::vector<std::size_t>{2, 0, 2}));
    EXPECT_EQ(state.activeTabId.get(), moving);
    EXPECT_EQ(position(), 2);
    EXPECT_EQ(state.tabs->at(3).url, url("https://c.example"));
}

TEST(BrowserStateTest, EachTabListOperationEmitsOneRecordOfWhatItDidOnceItIsDone) {
    BrowserState state;
    const Uuid a = state.activeTabId;
    std::vector<TabListChange> changes;
    std::vector<std::size_t> sizesSeen;
    ScopedConnection c = state.tabListChanged().connect([&](const TabListChange& change) {
        changes.push_back(change);
        sizesSeen.push_back(state.tabs->size());
        if (change.activeTabId) {
            EXPECT_EQ(state.activeTabId.get(), *change.activeTabId) << "emitted after the fields";
        }
    });
    state.newTab(url("https://b.example"));
    const Uuid b = state.activeTabId;
    state.selectTab(a);
    state.selectTab(a);                 // no change: no record
    state.updateTab(a, [](BrowserTab& tab) { tab.title = "A"; });  // fields only: no record
    state.closeTab(b);                  // inactive: no new active id
    state.closeTab(a);                  // the only tab stays
    state.closeTab(Uuid::random());
    state.newTab();
    state.closeTab(state.activeTabId);  // active: its neighbour becomes active

    ASSERT_EQ(changes.size(), 5u);
    ASSERT_EQ(changes[0].inserted.size(), 1u);
    EXPECT_EQ(changes[0].inserted[0].position, 1u);
    EXPECT_EQ(changes[0].inserted[0].tab.url, url("https://b.example"));
    EXPECT_TRUE(changes[0].removed.empty());
    EXPECT_EQ(changes[0].activeTabId, b);
    EXPECT_TRUE(changes[1].inserted.empty() && changes[1].removed.empty());
    EXPECT_EQ(changes[1].activeTabId, a);
    ASSERT_EQ(changes[2].removed.size(), 1u);
    EXPECT_EQ(changes[2].removed[0].id, b);
    EXPECT_FALSE(changes[2].activeTabId);
    EXPECT_EQ(changes[4].removed.size(), 1u);
    EXPECT_EQ(changes[4].activeTabId, a);
    EXPECT_EQ(changes[4].removed[0].id, changes[3].inserted[0].tab.id);
    EXPECT_EQ(sizesSeen, (std::vector<std::size_t>{2, 2, 1, 2, 1}));
}

TEST(BrowserStateTest, UpdateTabWritesOnlyExistingTabs) {
    BrowserState state;
    const Uuid id = state.activeTabId;
    int changes = 0;
    ScopedConnection c = state.tabs.changed().connect([&] { ++changes; });
    EXPECT_TRUE(state.updateTab(id, [](BrowserTab& t) { t.title = "Loaded"; }));
    EXPECT_EQ(state.tabs->front().title, "Loaded");
    EXPECT_FALSE(state.updateTab(Uuid::random(), [](BrowserTab& t) { t.title = "x"; }));
    EXPECT_EQ(changes, 1);
}

TEST(BrowserStateTest, TabsAreEqualByIdentityAndCommandsByValue) {
    BrowserTab a = BrowserTab::make();
    BrowserTab b = a;
    b.title = "Other";
    EXPECT_EQ(a, b);
    EXPECT_NE(a, BrowserTab::make());
    EXPECT_EQ(NavigationCommand::load(url("https://x.example")), NavigationCommand::load(url("https://x.example")));
    EXPECT_NE(NavigationCommand::load(url("https://x.example")), NavigationCommand::load(url("https://y.example")));
    EXPECT_NE(NavigationCommand::zoom(1.0), NavigationCommand::zoom(1.1));
    EXPECT_NE(NavigationCommand::goBack(), NavigationCommand::goForward());
}

TEST(ExplorerBarTabTest, RawValuesRoundTripInDeclarationOrder) {
    EXPECT_EQ(rawValue(kAllExplorerBarTabs.front()), "Favorites");
    EXPECT_EQ(rawValue(kAllExplorerBarTabs.back()), "Auction Manager");
    for (auto tab : kAllExplorerBarTabs) EXPECT_EQ(explorerBarTabFromRawValue(rawValue(tab)), tab);
    EXPECT_FALSE(explorerBarTabFromRawValue("favorites"));
}

}  // namespace
}  // namespace sarvik
