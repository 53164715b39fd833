#include "views/preferences/preferences_fixture.h"
#include "support/display/widget_search.h"

#include "support/display/loopback_web_view.h"
#include "support/loopback_http_server.h"
#include "support/file_helpers.h"
#include "views/preferences/preferences_privacy_page.h"

#include <filesystem>
#include <map>
#include <optional>
#include <string>

namespace sarvik {
namespace {

namespace fs = std::filesystem;
using testing::findButton;
using testing::findLabel;

class PreferencesPrivacyTest : public testing::PreferencesFixture {
protected:
    // Presses a clearing button and waits until the engine has finished.
    void clearWith(const char* label, WebsiteDataKind expected) {
        std::optional<WebsiteDataKind> finished;
        ScopedConnection watching =
            m_view->privacyPage().signalClearingFinished().connect([&](WebsiteDataKind kind) { finished = kind; });
        ASSERT_TRUE(testing::click(findButton(m_view->privacyPage(), label))) << label;
        ASSERT_TRUE(testing::runMainLoopUntil([&] { return finished.has_value(); })) << label;
        EXPECT_EQ(finished, expected);
    }

    // Every file under the data folder with its content.
    std::map<fs::path, std::string> dataFiles() const {
        std::map<fs::path, std::string> files;
        for (const auto& entry : fs::recursive_directory_iterator(m_dataDir.path()))
            if (entry.is_regular_file()) files[entry.path()] = testing::readFile(entry.path());
        return files;
    }
};

TEST_F(PreferencesPrivacyTest, ShowsTheThreeButtonsAndTheInformationLines) {
    openView();
    showPage(PreferencesTab::privacy);
    auto& page = m_view->privacyPage();
    EXPECT_NE(findButton(page, "Clear Cookies"), nullptr);
    EXPECT_NE(findButton(page, "Clear Cache"), nullptr);
    EXPECT_NE(findButton(page, "Clear All Browsing Data"), nullptr);
    EXPECT_NE(findLabel(page, "SarvikBrowser uses WebKit (WebKitGTK) for rendering."), nullptr);
    EXPECT_NE(findLabel(page, "Cookies and cache are managed by the system WebKit framework."), nullptr);
}

TEST_F(PreferencesPrivacyTest, ClearCookiesMeansTheNextRequestCarriesNoCookie) {
    testing::LoopbackHttpServer server;
    server.respond("/login", {200, "text/html", {{"Set-Cookie", "session=opaque-42; Path=/"}}, "<p>in</p>"});
    server.respond("/page", {200, "text/html", {{"Cache-Control", "no-store"}}, "<p>page</p>"});
    testing::LoopbackWebView web;
    ASSERT_TRUE(web.load(server.url("/login")));
    ASSERT_TRUE(web.load(server.url("/page")));
    ASSERT_EQ(server.requestsFor("/page").back().header("cookie"), "session=opaque-42");

    openView();
    showPage(PreferencesTab::privacy);
    clearWith("Clear Cookies", WebsiteDataKind::cookies);

    ASSERT_TRUE(web.load(server.url("/page")));
    const auto pages = server.requestsFor("/page");
    ASSERT_EQ(pages.size(), 2u);
    EXPECT_EQ(pages.back().header("cookie"), "");
}

TEST_F(PreferencesPrivacyTest, ClearingLeavesTheBrowsersOwnFilesAlone) {
    testing::writeFile(m_dataDir / "bookmarks.json", R"([{"title":"Example"}])");
    testing::writeFile(m_dataDir / "history.json", R"([{"title":"Visited"}])");
    testing::writeFile(m_dataDir / "scrapbook.json", R"({"items":[],"folders":[]})");
    fs::create_directories(m_dataDir / "Scrapbook");
    testing::writeFile(m_dataDir / "Scrapbook" / "6F9619FF-8B86-D011-B42D-00C04FC964FF.webarchive", "MIME archive");
    m_auctions.addItem("Camera", "https://auctions.example/1", AuctionSite::ebay, 120,
                       m_clock.now().addingSeconds(600), std::nullopt);
    const auto before = dataFiles();
    ASSERT_EQ(before.size(), 5u);

    openView();
    showPage(PreferencesTab::privacy);
    clearWith("Clear Cache", WebsiteDataKind::cache);
    EXPECT_EQ(dataFiles(), before);
    clearWith("Clear All Browsing Data", WebsiteDataKind::all);
    EXPECT_EQ(dataFiles(), before);
    EXPECT_EQ(m_auctions.items()->size(), 1u);
}

TEST_F(PreferencesPrivacyTest, AClearingThatEndsAfterTheViewIsGoneReportsNowhere) {
    openView();
    showPage(PreferencesTab::privacy);
    ASSERT_TRUE(testing::click(findButton(m_view->privacyPage(), "Clear All Browsing Data")));
    m_window.reset();  // the sheet closed while the engine works
    // A clearing queued behind it shows when the engine is through with the first.
    bool later = false;
    clearWebsiteData(WebsiteDataKind::cookies, [&](bool) { later = true; });
    EXPECT_TRUE(testing::runMainLoopUntil([&] { return later; }));
}

}  // namespace
}  // namespace sarvik
