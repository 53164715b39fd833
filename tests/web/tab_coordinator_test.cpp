#include "web/tab_coordinator.h"

#include "support/fake_clock.h"
#include "support/temporary_directory.h"

#include <glibmm/main.h>
#include <gtest/gtest.h>

#include <vector>

namespace sarvik {
namespace {

void drainMainLoop() {
    auto context = Glib::MainContext::get_default();
    while (context->pending()) context->iteration(false);
}

class TabCoordinatorTest : public ::testing::Test {
protected:
    const BrowserTab& tab() const { return *state.findTab(tabId); }
    Url url(const char* text) const { return *Url::parse(text); }

    testing::TemporaryDirectory folder;
    testing::FakeClock clock;
    BrowserState state;
    BrowserDataStore store{folder.path(), clock};
    Uuid tabId = state.activeTabId;
    TabCoordinator coordinator{state, store, tabId};
};

TEST_F(TabCoordinatorTest, FirstLoadIsTheTabAddressThenTheHomePageThenNothing) {
    EXPECT_EQ(coordinator.firstLoadUrl(), Url::parse(kDefaultHomePage));
    state.homePage = "not a url";
    EXPECT_EQ(coordinator.firstLoadUrl(), std::nullopt);
    state.updateTab(tabId, [&](BrowserTab& t) { t.url = url("http://127.0.0.1/page"); });
    EXPECT_EQ(coordinator.firstLoadUrl(), url("http://127.0.0.1/page"));
}

TEST_F(TabCoordinatorTest, ACommandIsOnlyForTheActiveTabsHost) {
    EXPECT_EQ(coordinator.commandToExecute(), std::nullopt);
    state.navigationCommand = NavigationCommand::reload();
    EXPECT_EQ(coordinator.commandToExecute(), NavigationCommand::reload());
    state.newTab();
    EXPECT_EQ(coordinator.commandToExecute(), std::nullopt);
    EXPECT_EQ(state.navigationCommand.get(), NavigationCommand::reload()) << "stays pending for the active host";
}

TEST_F(TabCoordinatorTest, EachCommandRunsOnceInTheHostOfTheTabItWasIssuedFor) {
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
    EXPECT_EQ(run.size(), 3u) << "issued while another tab is active";
    std::vector<NavigationCommand> runInNewTab;
    TabCoordinator newTabs{state, store, state.activeTabId};
    newTabs.executeCommands([&](const NavigationCommand& command) { runInNewTab.push_back(command); });
    EXPECT_EQ(runInNewTab, std::vector{NavigationCommand::goForward()}) << "pending when its host was built";
    state.selectTab(tabId);
    EXPECT_EQ(run.size(), 3u) << "a command stays with the tab it was issued for";
}

TEST_F(TabCoordinatorTest, ObservationsWriteTheTabRecord) {
    coordinator.progressChanged(0.4);
    coordinator.loadingChanged(true);
    coordinator.backForwardChanged(true, false);
    coordinator.titleChanged("Page");
    EXPECT_DOUBLE_EQ(tab().estimatedProgress, 0.4);
    EXPECT_TRUE(tab().isLoading);
    EXPECT_TRUE(tab().canGoBack);
    EXPECT_FALSE(tab().canGoForward);
    EXPECT_EQ(tab().title, "Page");
}

TEST_F(TabCoordinatorTest, AnEmptyOrMissingTitleKeepsThePreviousOne) {
    coordinator.titleChanged("First");
    coordinator.titleChanged("");
    coordinator.titleChanged(std::nullopt);
    EXPECT_EQ(tab().title, "First");
}

TEST_F(TabCoordinatorTest, TheAddressFollowsOnlyTheActiveTab) {
    coordinator.urlChanged("http://127.0.0.1/a");
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
}

TEST_F(TabCoordinatorTest, ACoordinatorWhoseTabIsGoneWritesNoRecord) {
    state.newTab();
    const Uuid other = state.activeTabId;
    TabCoordinator orphan(state, store, Uuid::random());
    orphan.titleChanged("Ghost");
    orphan.navigationStarted();
    for (const auto& t : state.tabs.get()) EXPECT_NE(t.title, "Ghost");
    EXPECT_FALSE(state.findTab(other)->isLoading);
}

TEST_F(TabCoordinatorTest, StartFinishAndFailureSetLoadingAndProgress) {
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
    EXPECT_FALSE(tab().isLoading);
    EXPECT_EQ(tab().estimatedProgress, 1.0);
    EXPECT_TRUE(tab().canGoBack);
    EXPECT_TRUE(tab().canGoForward);
}

TEST_F(TabCoordinatorTest, FinishedPagesAreRecordedUnlessBlankOrWithoutAddress) {
    coordinator.navigationFinished({false, false, "about:blank", "Blank"});
    coordinator.navigationFinished({false, false, std::nullopt, "No address"});
    coordinator.navigationFinished({false, false, "", "Empty"});
    EXPECT_TRUE(store.history()->empty());
    coordinator.navigationFinished({false, false, "http://127.0.0.1/titled", "Titled"});
    ASSERT_EQ(store.history()->size(), 1u);
    EXPECT_EQ(store.history()->front().title, "Titled");
}

TEST_F(TabCoordinatorTest, AVisitWhoseTitleArrivesAfterTheFinishIsRecordedOnceWithIt) {
    for (const std::optional<std::string>& atFinish : {std::optional<std::string>(), std::optional<std::string>("")}) {
        store.clearHistory();
        coordinator.navigationFinished({false, false, "http://127.0.0.1/late", atFinish});
        coordinator.titleChanged("");
        EXPECT_TRUE(store.history()->empty());
        coordinator.titleChanged("Late");
        coordinator.titleChanged("Later still");
        ASSERT_EQ(store.history()->size(), 1u);
        EXPECT_EQ(store.history()->front().title, "Late");
        EXPECT_EQ(store.history()->front().visitCount, 1);
    }
}

TEST_F(TabCoordinatorTest, APageWithoutTitleIsRecordedWithAnEmptyOneWhenTheWaitEnds) {
    coordinator.navigationFinished({false, false, "http://127.0.0.1/untitled", std::nullopt});
    coordinator.navigationStarted();
    coordinator.titleChanged("Next page");
    ASSERT_EQ(store.history()->size(), 1u);
    EXPECT_EQ(store.history()->front().title, "") << "the next page's title is not this page's";

    coordinator.navigationFinished({false, false, "http://127.0.0.1/empty-title", ""});
    EXPECT_TRUE(coordinator.isAwaitingTitle());
    coordinator.titleWaitOver();
    ASSERT_EQ(store.history()->size(), 2u);
    EXPECT_EQ(store.history()->back().title, "");
}

TEST_F(TabCoordinatorTest, CtrlOrMiddleClickOnALinkOpensANewActiveTab) {
    const NavigationAction ctrlClick{true, true, 1, "http://127.0.0.1/linked"};
    EXPECT_EQ(coordinator.decidePolicy(ctrlClick), PolicyAnswer::cancel);
    ASSERT_EQ(state.tabs->size(), 2u);
    EXPECT_EQ(state.activeTab()->url, url("http://127.0.0.1/linked"));

    const NavigationAction middleClick{true, false, 2, "http://127.0.0.1/middle"};
    EXPECT_EQ(coordinator.decidePolicy(middleClick), PolicyAnswer::cancel);
    EXPECT_EQ(state.tabs->size(), 3u);
}

TEST_F(TabCoordinatorTest, OtherNavigationsGoAhead) {
    EXPECT_EQ(coordinator.decidePolicy({true, false, 1, "http://127.0.0.1/plain"}), PolicyAnswer::allow);
    EXPECT_EQ(coordinator.decidePolicy({false, true, 0, "http://127.0.0.1/typed"}), PolicyAnswer::allow);
    EXPECT_EQ(coordinator.decidePolicy({true, true, 1, std::nullopt}), PolicyAnswer::allow);
    EXPECT_EQ(state.tabs->size(), 1u);
}

TEST_F(TabCoordinatorTest, NewWindowRequestsTargetTheirAddress) {
    EXPECT_EQ(TabCoordinator::newWindowTarget("http://127.0.0.1/popup"), url("http://127.0.0.1/popup"));
    EXPECT_EQ(TabCoordinator::newWindowTarget(std::nullopt), std::nullopt);
}

}  // namespace
}  // namespace sarvik
