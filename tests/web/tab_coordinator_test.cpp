#include "web/tab_coordinator.h"

#include "support/fake_clock.h"
#include "support/temporary_directory.h"

#include <glibmm/main.h>
#include <gtest/gtest.h>

#include <vector>

namespace sarvik {
namespace {

void drainMainLoop() {
    while (Glib::MainContext::get_default()->pending()) Glib::MainContext::get_default()->iteration(false);
}

class TabCoordinatorTest : public ::testing::Test {
protected:
    const BrowserTab& tab() const { return *state.findTab(tabId); }
    static Url url(const char* text) { return *Url::parse(text); }
    const std::vector<HistoryItem>& history() const { return store.history().get(); }
    testing::TemporaryDirectory folder;
    testing::FakeClock clock;
    BrowserState state;
    BrowserDataStore store{folder.path(), clock};
    Uuid tabId = state.activeTabId;
    TabCoordinator coordinator{state, store, tabId};
};

TEST_F(TabCoordinatorTest, FirstLoadIsTheTabAddressThenTheHomePageThenNothing) {
    EXPECT_EQ(coordinator.firstLoadUrl(), Url::parse(kDefaultHomePage));
    for (const char* unusable : {"not a url", ""}) {
        state.homePage = unusable;
        EXPECT_EQ(coordinator.firstLoadUrl(), std::nullopt) << unusable;
    }
    state.updateTab(tabId, [&](BrowserTab& t) { t.url = url("http://127.0.0.1/page"); });
    EXPECT_EQ(coordinator.firstLoadUrl(), url("http://127.0.0.1/page"));
}

TEST_F(TabCoordinatorTest, EachCommandRunsOnceInTheHostOfTheTabItWasIssuedFor) {
    EXPECT_EQ(coordinator.commandToExecute(), std::nullopt);
    std::vector<NavigationCommand> run;
    coordinator.executeCommands([&](const NavigationCommand& command) { run.push_back(command); });
    state.navigationCommand = NavigationCommand::reload();
    state.addressBarText = "another change";
    EXPECT_EQ(run, std::vector{NavigationCommand::reload()});
    drainMainLoop();
    EXPECT_EQ(state.navigationCommand.get(), std::nullopt) << "reset once taken";
    state.navigationCommand = NavigationCommand::stop();
    state.navigationCommand = NavigationCommand::goBack();  // two in one turn: both run
    EXPECT_EQ(run.size(), 3u);
    drainMainLoop();
    state.newTab();
    state.navigationCommand = NavigationCommand::goForward();
    EXPECT_EQ(coordinator.commandToExecute(), std::nullopt) << "only for the active tab's host";
    EXPECT_EQ(run.size(), 3u);
    std::vector<NavigationCommand> runInNewTab;
    TabCoordinator newTabs{state, store, state.activeTabId};
    EXPECT_EQ(newTabs.commandToExecute(), NavigationCommand::goForward());
    newTabs.executeCommands([&](const NavigationCommand& command) { runInNewTab.push_back(command); });
    EXPECT_EQ(runInNewTab, std::vector{NavigationCommand::goForward()}) << "pending when its host was built";
    state.selectTab(tabId);
    EXPECT_EQ(run.size(), 3u) << "a command stays with the tab it was issued for";
}

TEST_F(TabCoordinatorTest, ObservationsWriteTheActiveTabsRecordAndAddress) {
    coordinator.progressChanged(0.4);
    coordinator.loadingChanged(true);
    coordinator.backForwardChanged(true, false);
    coordinator.titleChanged("Page");
    coordinator.titleChanged("");
    coordinator.titleChanged(std::nullopt);
    coordinator.urlChanged("http://127.0.0.1/a");
    EXPECT_DOUBLE_EQ(tab().estimatedProgress, 0.4);
    EXPECT_TRUE(tab().isLoading && tab().canGoBack && !tab().canGoForward);
    EXPECT_EQ(tab().title, "Page") << "an empty or missing title keeps the last one";
    EXPECT_EQ(tab().url, url("http://127.0.0.1/a"));
    EXPECT_EQ(state.addressBarText.get(), "http://127.0.0.1/a");
    state.newTab();
    coordinator.urlChanged("http://127.0.0.1/b");
    EXPECT_EQ(tab().url, url("http://127.0.0.1/b"));
    EXPECT_EQ(state.addressBarText.get(), "") << "a background tab leaves the address field alone";
    state.selectTab(tabId);
    coordinator.urlChanged(std::nullopt);
    EXPECT_EQ(tab().url, std::nullopt);
    EXPECT_EQ(state.addressBarText.get(), "");
    TabCoordinator orphan(state, store, Uuid::random());
    orphan.titleChanged("Ghost");
    orphan.navigationStarted();
    for (const auto& t : state.tabs.get()) EXPECT_NE(t.title, "Ghost") << "its tab is gone";
    EXPECT_FALSE(state.tabs->back().isLoading);
}

TEST_F(TabCoordinatorTest, StartFinishAndFailureSetLoadingProgressAndError) {
    coordinator.progressChanged(0.5);
    coordinator.navigationStarted();
    EXPECT_TRUE(tab().isLoading);
    EXPECT_EQ(tab().estimatedProgress, 0.0);
    coordinator.progressChanged(0.7);
    coordinator.navigationFailed("Could not connect");
    EXPECT_EQ(tab().loadError, "Could not connect");
    EXPECT_FALSE(tab().isLoading);
    EXPECT_EQ(tab().estimatedProgress, 0.7) << "a failure keeps the last progress";
    coordinator.navigationStarted();
    EXPECT_FALSE(tab().loadError) << "the next load clears the failure";
    coordinator.navigationFinished({true, true, "http://127.0.0.1/x", "X"});
    EXPECT_TRUE(!tab().isLoading && tab().canGoBack && tab().canGoForward);
    EXPECT_EQ(tab().estimatedProgress, 1.0);
}

TEST_F(TabCoordinatorTest, FinishedPagesAreRecordedOnceWithTheTitleTheySettleOn) {
    for (const char* blank : {"about:blank", "", static_cast<const char*>(nullptr)})
        coordinator.navigationFinished({false, false, blank ? std::optional<std::string>(blank) : std::nullopt, "B"});
    EXPECT_TRUE(history().empty()) << "blank pages and pages without an address";
    coordinator.navigationFinished({false, false, "http://127.0.0.1/titled", "Titled"});
    ASSERT_EQ(history().size(), 1u);
    EXPECT_EQ(history().front().title, "Titled");
    for (const std::optional<std::string>& atFinish : {std::optional<std::string>(), std::optional<std::string>("")}) {
        store.clearHistory();
        coordinator.navigationFinished({false, false, "http://127.0.0.1/late", atFinish});
        coordinator.titleChanged("");
        EXPECT_TRUE(history().empty());
        coordinator.titleChanged("Late");
        ASSERT_EQ(history().size(), 1u);
        EXPECT_EQ(history().front().title, "Late");
        coordinator.titleChanged("Later still");
        coordinator.titleChanged("");
        EXPECT_EQ(history().front().title, "Later still") << "a title the engine reported in pieces";
        EXPECT_EQ(history().front().visitCount, 1);
        coordinator.titleWaitOver();
        coordinator.titleChanged("Retitled by a script long after");
        EXPECT_EQ(history().front().title, "Later still");
    }
    // A page that moved itself to another address keeps the first entry's title.
    coordinator.navigationFinished({false, false, "http://127.0.0.1/app", "App"});
    coordinator.urlChanged("http://127.0.0.1/app#inbox");
    coordinator.titleChanged("Inbox");
    EXPECT_EQ(history().back().title, "App");
    // Without a title, once the next page starts or the wait ends, with an empty one.
    store.clearHistory();
    coordinator.navigationFinished({false, false, "http://127.0.0.1/untitled", std::nullopt});
    coordinator.navigationStarted();
    coordinator.titleChanged("Next page");
    ASSERT_EQ(history().size(), 1u);
    EXPECT_EQ(history().front().title, "") << "the next page's title is not this page's";
    coordinator.navigationFinished({false, false, "http://127.0.0.1/empty-title", ""});
    EXPECT_TRUE(coordinator.isAwaitingTitle());
    coordinator.titleWaitOver();
    ASSERT_EQ(history().size(), 2u);
    EXPECT_EQ(history().back().title, "");
    // Pages the page went to itself count only if still shown when the wait ends.
    store.clearHistory();
    for (const char* loop : {"http://127.0.0.1/loop?1", "http://127.0.0.1/loop?2"}) {
        coordinator.navigationStarted(NavigationOrigin::page);
        coordinator.navigationFinished({false, false, loop, "Loop"});
    }
    coordinator.navigationStarted(NavigationOrigin::page);
    coordinator.navigationFinished({false, false, "http://127.0.0.1/landed", std::nullopt});
    coordinator.titleChanged("Landed");
    EXPECT_TRUE(history().empty());
    coordinator.titleWaitOver();
    ASSERT_EQ(history().size(), 1u);
    EXPECT_EQ(history().front().title, "Landed");
}

TEST_F(TabCoordinatorTest, OnlyCtrlOrMiddleClickedLinksOpenANewActiveTab) {
    const struct {
        NavigationAction action;
        PolicyAnswer answer;
        std::size_t tabs;
    } table[] = {{{true, false, 1, "http://127.0.0.1/plain"}, PolicyAnswer::allow, 1},
                 {{false, true, 0, "http://127.0.0.1/typed"}, PolicyAnswer::allow, 1},
                 {{true, true, 1, std::nullopt}, PolicyAnswer::allow, 1},
                 {{true, true, 1, "http://127.0.0.1/linked"}, PolicyAnswer::cancel, 2},
                 {{true, false, 2, "http://127.0.0.1/middle"}, PolicyAnswer::cancel, 3}};
    for (const auto& row : table) {
        EXPECT_EQ(coordinator.decidePolicy(row.action), row.answer) << row.action.uri.value_or("-");
        ASSERT_EQ(state.tabs->size(), row.tabs);
        if (row.answer == PolicyAnswer::cancel) { EXPECT_EQ(state.activeTab()->url, url(row.action.uri->c_str())); }
    }
    EXPECT_EQ(TabCoordinator::newWindowTarget("http://127.0.0.1/popup"), url("http://127.0.0.1/popup"));
    EXPECT_EQ(TabCoordinator::newWindowTarget(std::nullopt), std::nullopt);
}

}  // namespace
}  // namespace sarvik
