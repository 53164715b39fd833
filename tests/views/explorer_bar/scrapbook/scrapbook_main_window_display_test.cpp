#include "views/window/main_window.h"

#include "core/notification_center.h"
#include "core/notification_names.h"
#include "core/saved_page_address.h"
#include "support/display/gtk_test_environment.h"
#include "support/display/web_view_script.h"
#include "support/loopback_http_server.h"
#include "support/temporary_directory.h"
#include "web/web_page_archiver.h"
#include "views/explorer_bar/scrapbook/scrapbook_panel.h"

#include "web/web_view_host_test_access.h"

#include <gtest/gtest.h>
#include <webkit/webkit.h>

#include <filesystem>
#include <memory>

namespace sarvik {
namespace {

using testing::evaluateInPage;
using testing::runMainLoopUntil;

const char* kPage = "<!doctype html><html><head><title>Kept</title></head>"
                    "<body><p id=text>Saved words</p><img id=pic src='/pic.png'></body></html>";

class ScrapbookMainWindowDisplayTest : public ::testing::Test {
protected:
    void SetUp() override {
        server = std::make_unique<testing::LoopbackHttpServer>();
        server->serve("/page", kPage);
        server->serve("/pic.png", testing::pngImage(41, 13), "image/png");
        state.homePage = server->url("/page");
        window = std::make_unique<MainWindow>(state, auctions, folder.path());
        window->present();
    }

    void TearDown() override {
        window.reset();
        testing::drainMainLoop();
    }

    WebKitWebView* activeView() { return WebViewHostTestAccess::webView(*window->contentView().webArea().host()); }
    ScrapbookStore& store() { return window->contentView().scrapbookStore(); }

    bool pageShown(const std::string& title) {
        return runMainLoopUntil([&] {
            const auto tab = state.activeTab();
            return tab && tab->title == title && !tab->isLoading;
        });
    }

    bool savedPageShown() {
        return runMainLoopUntil([&] {
            const auto tab = state.activeTab();
            return tab && tab->url && savedPageId(tab->url->absoluteString()) && !tab->isLoading;
        });
    }

    std::optional<bool> save(WebKitWebView* view) {
        std::optional<bool> added;
        WebPageArchiver archiver(view);
        store().savePage(archiver, "Kept", server ? server->url("/page") : "", [&](bool ok) { added = ok; });
        runMainLoopUntil([&] { return added.has_value(); });
        return added;
    }

    testing::TemporaryDirectory folder;
    std::unique_ptr<testing::LoopbackHttpServer> server;
    BrowserState state;
    AuctionStore auctions{folder.path()};
    std::unique_ptr<MainWindow> window;
};

TEST_F(ScrapbookMainWindowDisplayTest, ASavedPageOpensOfflineInTheActiveTabAndTheOriginalLoadsLive) {
    ASSERT_TRUE(pageShown("Kept"));
    ASSERT_TRUE(runMainLoopUntil([&] { return evaluateInPage(activeView(), "document.images[0].naturalWidth") == "41"; }));
    ASSERT_EQ(save(activeView()), true);
    ASSERT_EQ(store().items()->size(), 1u);
    const ScrapbookItem item = store().items()->front();
    EXPECT_EQ(item.archiveFilename, item.id.toString() + ".webarchive");
    EXPECT_TRUE(std::filesystem::exists(store().archiveDir() / item.archiveFilename));
    const std::string original = item.url;
    server.reset();  // offline from here on

    const auto bytes = store().readArchive(item);
    ASSERT_TRUE(bytes);
    NotificationCenter::defaultCenter().post(notifications::kLoadScrapbookArchive, std::nullopt,
                                             {{"data", *bytes}, {"url", item.url}, {"id", item.id.toString()}});
    ASSERT_TRUE(savedPageShown());
    EXPECT_EQ(state.activeTab()->url->absoluteString(), savedPageAddress(item.id));
    EXPECT_EQ(evaluateInPage(activeView(), "document.getElementById('text').textContent"), "Saved words");
    EXPECT_EQ(evaluateInPage(activeView(), "document.getElementById('pic').naturalWidth"), "41");
    for (const HistoryItem& visit : window->contentView().dataStore().history().get())
        EXPECT_FALSE(isSavedPageAddress(visit.url)) << visit.url;

    // The live page again, from a server that has come back on another port.
    testing::LoopbackHttpServer live;
    live.serve("/page", "<!doctype html><title>Live</title><p>live</p>");
    state.navigate(live.url("/page"));
    EXPECT_TRUE(pageShown("Live"));
}

TEST_F(ScrapbookMainWindowDisplayTest, ThePanelSavesTheActiveTabAndOpensItOffline) {
    ASSERT_TRUE(pageShown("Kept"));
    state.isExplorerBarVisible = true;
    state.selectedExplorerTab = ExplorerBarTab::scrapbook;
    testing::drainMainLoop();
    auto* bar = window->contentView().explorerBar();
    ASSERT_NE(bar, nullptr);
    auto* panel = dynamic_cast<ScrapbookPanel*>(bar->panel());
    ASSERT_NE(panel, nullptr);

    g_signal_emit_by_name(panel->header().saveButton().gobj(), "clicked");
    ASSERT_TRUE(runMainLoopUntil([&] { return panel->saveSuccess().has_value(); }, std::chrono::seconds(20)));
    ASSERT_EQ(panel->saveSuccess(), true);
    ASSERT_EQ(store().items()->size(), 1u);
    EXPECT_EQ(store().items()->front().title, "Kept");
    server.reset();

    panel->openItem(store().items()->front().id);
    ASSERT_TRUE(savedPageShown());
    EXPECT_EQ(evaluateInPage(activeView(), "document.getElementById('text').textContent"), "Saved words");

    // Saved again from its offline copy, it keeps the address it came from.
    g_signal_emit_by_name(panel->header().saveButton().gobj(), "clicked");
    ASSERT_TRUE(runMainLoopUntil([&] { return store().items()->size() == 2 && !panel->isSaving(); }));
    const ScrapbookItem again = store().items()->back();
    EXPECT_EQ(again.url, store().items()->front().url);

    // Its address opens it as a favorite or a typed address would, from the scrapbook alone.
    state.navigate(savedPageAddress(again.id));
    ASSERT_TRUE(runMainLoopUntil([&] {
        const auto tab = state.activeTab();
        return tab && tab->url && tab->url->absoluteString() == savedPageAddress(again.id) && !tab->isLoading;
    }));
    EXPECT_EQ(evaluateInPage(activeView(), "document.getElementById('text').textContent"), "Saved words");
}

TEST_F(ScrapbookMainWindowDisplayTest, AFailedSaveAddsNothing) {
    ASSERT_TRUE(pageShown("Kept"));
    auto* closed = WEBKIT_WEB_VIEW(g_object_ref_sink(g_object_new(WEBKIT_TYPE_WEB_VIEW, nullptr)));
    ::testing::internal::CaptureStdout();
    EXPECT_EQ(save(closed), false);
    const std::string printed = ::testing::internal::GetCapturedStdout();
    g_object_unref(closed);
    EXPECT_EQ(printed.rfind("Failed to create webarchive: ", 0), 0u) << printed;
    EXPECT_TRUE(store().items()->empty());
}

TEST_F(ScrapbookMainWindowDisplayTest, AnArchiveWithoutBytesOrTabChangesNothing) {
    ASSERT_TRUE(pageShown("Kept"));
    NotificationCenter::defaultCenter().post(notifications::kLoadScrapbookArchive, std::nullopt, {{"url", "x"}});
    testing::drainMainLoop();
    EXPECT_FALSE(state.navigationCommand.get());
    EXPECT_EQ(state.activeTab()->title, "Kept");
}

}  // namespace
}  // namespace sarvik
