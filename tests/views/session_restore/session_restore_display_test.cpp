#include "support/display/browser_window_harness.h"
#include "support/display/ui_driver.h"
#include "support/file_helpers.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>

namespace sarvik {
namespace {

namespace fs = std::filesystem;
using namespace testing;

// A run that ends without endCleanly() is a crash or a kill: what the session store wrote while it ran is all
// the next run finds.
struct KeptRun : BrowserRun {
    KeptRun(const fs::path& data, const std::string& home) : BrowserRun(data, home, {.keepsSession = true}) {}
    SessionRestoreBar& bar() { return *content().sessionRestoreBar(); }
    std::vector<std::string> titles() const {
        std::vector<std::string> all;
        for (const auto& tab : state.tabs.get()) all.push_back(tab.title);
        return all;
    }
};

TEST(SessionRestoreDisplayTest, TabsOfARunThatDidNotQuitAreOfferedAndEachLoadsWhenFirstShown) {
    LoopbackHttpServer server;
    for (const char* name : {"Home", "A", "B", "C"})
        server.serve(std::string("/") + name, BrowserWindowHarness::page(name));
    TemporaryDirectory data;
    const fs::path file = data / "session.json";
    {
        KeptRun killed(data.path(), server.url("/Home"));
        EXPECT_FALSE(isShown(killed.bar())) << "nothing kept on a first start";
        ASSERT_TRUE(killed.activeLoaded("Home"));
        killed.state.navigate(server.url("/A"));
        ASSERT_TRUE(killed.activeLoaded("A"));
        for (const char* name : {"B", "C"}) {
            killed.state.newTab(Url::parse(server.url(std::string("/") + name)));
            ASSERT_TRUE(killed.activeLoaded(name));
        }
        killed.state.selectTabBeside(-1);
        ASSERT_TRUE(killed.activeLoaded("B"));
        drainMainLoop();
        const std::string kept = readFile(file);
        for (const char* name : {"/A", "/B", "/C"}) EXPECT_NE(kept.find(server.url(name)), std::string::npos) << kept;
        EXPECT_NE(kept.find("\"endedCleanly\":false"), std::string::npos) << kept;
    }
    const auto requests = [&] {
        return std::vector{server.requestCount("/A"), server.requestCount("/B"), server.requestCount("/C")};
    };
    ASSERT_EQ(requests(), (std::vector{1, 1, 1}));
    {
        KeptRun next(data.path(), server.url("/Home"));
        ASSERT_TRUE(next.activeLoaded("Home"));
        ASSERT_TRUE(isShown(next.bar()));
        drainMainLoop();
        saveScreenshotIfRequested(*next.window, "main-window-restore-bar");
        EXPECT_NE(readFile(file).find(server.url("/C")), std::string::npos) << "kept on disk while on offer";
        ASSERT_TRUE(click(&next.bar().restoreButton()));
        EXPECT_FALSE(isShown(next.bar()));
        EXPECT_EQ(next.titles(), (std::vector<std::string>{"A", "B", "C"})) << "the untouched start tab gave way";
        EXPECT_EQ(next.state.activeTab()->url, Url::parse(server.url("/B")));
        ASSERT_TRUE(next.activeLoaded("B"));
        EXPECT_EQ(requests(), (std::vector{1, 2, 1})) << "only the active tab loaded";
        next.state.selectTabBeside(1);
        EXPECT_TRUE(runMainLoopUntil([&] { return requests() == std::vector{1, 2, 2}; })) << "C, once shown";
        ASSERT_TRUE(next.activeLoaded("C"));
        next.state.selectTabBeside(-1);
        ASSERT_TRUE(next.activeLoaded("B"));
        EXPECT_EQ(requests(), (std::vector{1, 2, 2})) << "a tab shown once keeps its page";
        next.session->endCleanly();
        EXPECT_NE(readFile(file).find("\"endedCleanly\":true"), std::string::npos);
    }
    {
        KeptRun afterQuit(data.path(), server.url("/Home"));
        ASSERT_TRUE(afterQuit.activeLoaded("Home"));
        EXPECT_FALSE(isShown(afterQuit.bar())) << "a normal quit offers nothing";
        EXPECT_EQ(afterQuit.state.tabs->size(), 1u);
        afterQuit.state.newTab(Url::parse(server.url("/A")));
        ASSERT_TRUE(afterQuit.activeLoaded("A"));
    }
    {
        KeptRun forgetting(data.path(), server.url("/Home"));
        ASSERT_TRUE(forgetting.activeLoaded("Home"));
        ASSERT_TRUE(isShown(forgetting.bar())) << "the last run ended without a quit";
        ASSERT_TRUE(click(&forgetting.bar().closeButton()));
        EXPECT_FALSE(isShown(forgetting.bar()));
        EXPECT_EQ(forgetting.titles(), std::vector<std::string>{"Home"});
        EXPECT_EQ(readFile(file).find(server.url("/A")), std::string::npos) << "forgotten on disk too";
    }
    KeptRun afterForgetting(data.path(), server.url("/Home"));
    ASSERT_TRUE(afterForgetting.activeLoaded("Home"));
    EXPECT_FALSE(isShown(afterForgetting.bar())) << "the home page alone is nothing to offer";
    EXPECT_EQ(afterForgetting.state.tabs->size(), 1u);
}

}  // namespace
}  // namespace sarvik
