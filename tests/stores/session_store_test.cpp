#include "stores/session_store.h"

#include "support/file_helpers.h"
#include "support/temporary_directory.h"

#include <glib.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <string>

namespace sarvik {
namespace {

namespace fs = std::filesystem;

void drainMainLoop() {
    while (g_main_context_iteration(nullptr, FALSE)) {
    }
}

std::string sessionText(const std::string& urls, bool endedCleanly) {
    return "{\"tabs\":[" + urls + "],\"activePosition\":0,\"endedCleanly\":" + (endedCleanly ? "true" : "false") + "}";
}

TEST(SessionStoreTest, ALastRunIsOfferedAfterACrashOpenedWhenChosenAndADamagedFileKeptAside) {
    const std::string page = "{\"title\":\"A\",\"url\":\"https://a.example/\"}";
    const std::string home = "{\"title\":\"Home\",\"url\":\"https://home.example/\"}";
    const struct {
        const char* name;
        std::optional<std::string> text;  // none: no file
        StartPages choice;
        SessionStart start;
        bool keptAside = false;
    } table[] = {
        {"first start", std::nullopt, StartPages::lastTabs, SessionStart::nothing},
        {"crash", sessionText(home + "," + page, false), StartPages::homePage, SessionStart::offer},
        {"crash, last tabs chosen", sessionText(page, false), StartPages::lastTabs, SessionStart::restore},
        {"quit", sessionText(page, true), StartPages::homePage, SessionStart::nothing},
        {"quit, last tabs chosen", sessionText(page, true), StartPages::lastTabs, SessionStart::restore},
        {"crash on the home page alone", sessionText(home + ",{\"title\":\"\",\"url\":null}", false),
         StartPages::lastTabs, SessionStart::nothing},
        {"damaged", "{\"tabs\":[" + page, StartPages::lastTabs, SessionStart::nothing, true},
        {"active tab out of range", "{\"tabs\":[" + page + "],\"activePosition\":1,\"endedCleanly\":false}",
         StartPages::lastTabs, SessionStart::nothing, true},
    };
    for (const auto& row : table) {
        testing::TemporaryDirectory folder;
        const fs::path file = folder / "session.json";
        if (row.text) testing::writeFile(file, *row.text);
        BrowserState state;
        state.homePage = std::string("https://home.example");  // as typed; kept as "https://home.example/"
        state.startPages = row.choice;
        SessionStore session(state, folder.path());
        EXPECT_EQ(session.start(), row.start) << row.name;
        state.newTab(Url::parse("https://b.example/"));
        drainMainLoop();
        EXPECT_NE(testing::readFile(file).find("https://b.example/"), std::string::npos) << row.name;
        EXPECT_EQ(fs::exists(folder / "session.json.damaged-1"), row.keptAside) << row.name;
    }
}

TEST(SessionStoreTest, RestoredTabsReplaceAnUntouchedStartTabOnTheHomePage) {
    testing::TemporaryDirectory folder;
    testing::writeFile(folder / "session.json",
                       sessionText("{\"title\":\"A\",\"url\":\"https://a.example/\"}", false));
    BrowserState state;
    state.homePage = std::string("https://home.example");
    state.updateTab(state.activeTabId, [](BrowserTab& tab) { tab.url = Url::parse("https://home.example/"); });
    SessionStore session(state, folder.path());
    session.restoreLastSession();
    ASSERT_EQ(state.tabs->size(), 1u);
    EXPECT_EQ(state.tabs->front().url, Url::parse("https://a.example/"));
}

}  // namespace
}  // namespace sarvik
