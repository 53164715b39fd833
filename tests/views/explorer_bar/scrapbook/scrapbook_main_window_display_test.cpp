#include "support/display/browser_window_harness.h"

#include "core/notification_center.h"
#include "core/notification_names.h"
#include "core/saved_page_address.h"
#include "support/display/gtk_test_environment.h"
#include "support/display/web_view_script.h"
#include "views/explorer_bar/scrapbook/scrapbook_panel.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace sarvik {
namespace {

using testing::evaluateInPage;
using testing::runMainLoopUntil;

class ScrapbookMainWindowTest : public ::testing::Test {
protected:
    ScrapbookStore& store() { return browser.content().scrapbookStore(); }
    ScrapbookPanel& panel() { return *dynamic_cast<ScrapbookPanel*>(browser.content().explorerBar()->panel()); }
    std::optional<std::string> pageText() { return evaluateInPage(browser.view(), "document.getElementById('text').textContent"); }
    bool shows(const std::string& address) {
        return runMainLoopUntil([&] {
            const auto tab = browser.state.activeTab();
            return tab && tab->url && tab->url->absoluteString() == address && !tab->isLoading;
        });
    }
    void serve(const std::string& title, const std::string& words, int pictureWidth) {
        browser.serve("/page", title, "<p id=text>" + words + "</p><img id=pic src='/pic.png'>");
        browser.server.serve("/pic.png", testing::pngImage(pictureWidth, 13), "image/png");
    }
    // Presses Save and waits for its result; the panel shows its progress meanwhile.
    void save() {
        g_signal_emit_by_name(panel().header().saveButton().gobj(), "clicked");
        EXPECT_TRUE(panel().isSaving());
        EXPECT_FALSE(panel().header().saveButton().get_sensitive());
        EXPECT_EQ(panel().header().saveButton().get_child(), &panel().header().spinner());
        ASSERT_TRUE(runMainLoopUntil([&] { return panel().saveSuccess().has_value(); }));
        EXPECT_EQ(panel().saveSuccess(), true);
        EXPECT_TRUE(panel().header().saveButton().get_sensitive());
        EXPECT_TRUE(panel().header().resultIcon().has_css_class("success"));
        EXPECT_TRUE(panel().header().resultRevealer().get_reveal_child());
    }

    testing::BrowserWindowHarness browser;
};

TEST_F(ScrapbookMainWindowTest, ThePanelSavesTheActiveTabAndOpensItWithoutTheServer) {
    serve("Kept", "Saved words", 41);
    browser.state.navigate(browser.server.url("/page"));
    ASSERT_TRUE(browser.activeLoaded("Kept"));
    ASSERT_TRUE(runMainLoopUntil([&] { return evaluateInPage(browser.view(), "document.images[0].naturalWidth") == "41"; }));
    // An archive without bytes changes nothing.
    NotificationCenter::defaultCenter().post(notifications::kLoadScrapbookArchive, std::nullopt, {{"url", "x"}});
    testing::drainMainLoop();
    EXPECT_FALSE(browser.state.navigationCommand.get());

    browser.state.isExplorerBarVisible = true;
    browser.state.selectedExplorerTab = ExplorerBarTab::scrapbook;
    testing::drainMainLoop();
    ASSERT_NE(browser.content().explorerBar(), nullptr);
    EXPECT_FALSE(panel().header().resultRevealer().get_reveal_child());
    save();
    ASSERT_EQ(store().items()->size(), 1u);
    const ScrapbookItem item = store().items()->front();
    EXPECT_EQ(item.title, "Kept");
    EXPECT_EQ(item.url, browser.server.url("/page"));
    EXPECT_EQ(item.archiveFilename, item.id.toString() + ".webarchive");
    EXPECT_TRUE(std::filesystem::is_regular_file(store().archiveDir() / item.archiveFilename));
    EXPECT_TRUE(runMainLoopUntil([&] { return !panel().saveSuccess(); }, std::chrono::seconds(5))) << "the result goes";
    EXPECT_FALSE(panel().header().resultRevealer().get_reveal_child());

    serve("Changed", "Live words", 7);  // from here on only the archive has the saved page
    panel().openItem(item.id);
    ASSERT_TRUE(shows(savedPageAddress(item.id)));
    EXPECT_EQ(pageText(), "Saved words");
    EXPECT_EQ(evaluateInPage(browser.view(), "document.getElementById('pic').naturalWidth"), "41");
    for (const HistoryItem& visit : browser.content().dataStore().history().get())
        EXPECT_FALSE(isSavedPageAddress(visit.url)) << visit.url;

    // Saved again from its offline copy, it keeps the address it came from,
    // and its own address opens it as a favorite or a typed address would.
    save();
    ASSERT_EQ(store().items()->size(), 2u);
    const ScrapbookItem again = store().items()->back();
    EXPECT_EQ(again.url, item.url);
    browser.state.navigate(savedPageAddress(again.id));
    ASSERT_TRUE(shows(savedPageAddress(again.id)));
    EXPECT_EQ(pageText(), "Saved words");

    browser.state.navigate(item.url);
    EXPECT_TRUE(browser.activeLoaded("Changed"));
    // Another explorer-bar tab chosen during a save leaves the save to the store.
    g_signal_emit_by_name(panel().header().saveButton().gobj(), "clicked");
    ASSERT_TRUE(panel().isSaving());
    browser.state.selectedExplorerTab = ExplorerBarTab::favorites;
    EXPECT_TRUE(runMainLoopUntil([&] { return store().items()->size() == 3; }));
}

}  // namespace
}  // namespace sarvik
