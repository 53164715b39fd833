#include "views/window/main_window.h"

#include "core/notification_center.h"
#include "core/notification_names.h"
#include "support/display/gtk_test_environment.h"
#include "support/file_helpers.h"
#include "support/loopback_http_server.h"
#include "support/temporary_directory.h"
#include "web/page_printer.h"

#include "web/web_view_host_test_access.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>

namespace sarvik {
namespace {

using testing::runMainLoopUntil;

std::string page(const std::string& title, const std::string& text) {
    return "<!doctype html><html><head><title>" + title + "</title></head><body><p>" + text + "</p></body></html>";
}

std::size_t occurrences(const std::string& text, const std::string& part) {
    std::size_t count = 0;
    for (auto at = text.find(part); at != std::string::npos; at = text.find(part, at + part.size())) ++count;
    return count;
}

class PageCommandsDisplayTest : public ::testing::Test {
protected:
    void SetUp() override {
        server.serve("/keep", page("Keep", "Kept open"));
        server.serve("/a", page("A", "First page"));
        server.serve("/b", page("B", "Second page"));
        state.homePage = server.url("/keep");
        window = std::make_unique<MainWindow>(state, auctions, folder.path());
        window->present();
    }

    void TearDown() override {
        window.reset();
        testing::drainMainLoop();
    }

    static void post(std::string_view name) { NotificationCenter::defaultCenter().post(name, std::nullopt); }

    WebViewHost* host() { return window->contentView().webArea().host(); }
    bool loaded(const Uuid& id, const std::string& title) {
        return runMainLoopUntil([&] {
            const BrowserTab* tab = state.findTab(id);
            return tab && tab->title == title && !tab->isLoading;
        });
    }
    Uuid openLoaded(const std::string& path, const std::string& title) {
        state.newTab(Url::parse(server.url(path)));
        const Uuid id = state.activeTabId;
        EXPECT_TRUE(loaded(id, title)) << path;
        return id;
    }
    std::string activeAddress() const {
        const auto tab = state.activeTab();
        return tab && tab->url ? tab->url->absoluteString() : std::string();
    }

    testing::LoopbackHttpServer server;
    testing::TemporaryDirectory folder;
    BrowserState state;
    AuctionStore auctions{folder.path()};
    std::unique_ptr<MainWindow> window;
};

TEST_F(PageCommandsDisplayTest, ReopeningTwoClosedTabsBringsBackTheLastClosedFirstAndLoadsEach) {
    const Uuid kept = state.activeTabId;
    ASSERT_TRUE(loaded(kept, "Keep"));
    const Uuid a = openLoaded("/a", "A");
    const Uuid b = openLoaded("/b", "B");
    state.closeTab(a);
    state.closeTab(b);
    ASSERT_EQ(state.tabs->size(), 1u);
    ASSERT_TRUE(runMainLoopUntil([&] { return window->contentView().webArea().hostCount() == 1u; }));
    ASSERT_EQ(window->pageCommands().closedTabs().size(), 2u);

    post(notifications::kReopenClosedTab);
    ASSERT_EQ(state.tabs->size(), 2u) << "one reopen opens one tab";
    const Uuid reopenedB = state.activeTabId;
    EXPECT_NE(reopenedB, kept);
    EXPECT_NE(reopenedB, b) << "a new tab, not the closed one";
    EXPECT_EQ(activeAddress(), server.url("/b"));
    ASSERT_TRUE(runMainLoopUntil([&] { return host() && host()->tabId() == reopenedB; }));
    EXPECT_TRUE(loaded(reopenedB, "B"));
    EXPECT_EQ(server.requestCount("/b"), 2) << "the reopened tab loads the page again";
    EXPECT_EQ(server.requestCount("/a"), 1);

    post(notifications::kReopenClosedTab);
    ASSERT_EQ(state.tabs->size(), 3u);
    const Uuid reopenedA = state.activeTabId;
    EXPECT_NE(reopenedA, reopenedB);
    EXPECT_EQ(activeAddress(), server.url("/a"));
    ASSERT_TRUE(runMainLoopUntil([&] { return host() && host()->tabId() == reopenedA; }));
    EXPECT_TRUE(loaded(reopenedA, "A"));
    EXPECT_EQ(server.requestCount("/a"), 2);
    EXPECT_EQ(state.findTab(reopenedB)->title, "B") << "the first reopened tab stays";

    // Nothing left: a further reopen changes nothing.
    const auto tabsBefore = state.tabs.get();
    post(notifications::kReopenClosedTab);
    testing::drainMainLoop();
    EXPECT_EQ(state.tabs.get(), tabsBefore);
    EXPECT_EQ(state.activeTabId.get(), reopenedA);
    EXPECT_TRUE(window->pageCommands().closedTabs().empty());
}

TEST_F(PageCommandsDisplayTest, PrintingTheActiveTabWritesAPdfOfItsPage) {
    // Only the file printer is wanted; GTK reads this when it first looks for printers.
    setenv("GTK_PRINT_BACKENDS", "file", 1);
    ASSERT_TRUE(loaded(state.activeTabId, "Keep"));
    server.serve("/print", page("Print me", "A paragraph of text that the printed page must carry."));
    const Uuid printed = openLoaded("/print", "Print me");
    ASSERT_TRUE(runMainLoopUntil([&] { return host() && host()->tabId() == printed; }));

    const testing::TemporaryDirectory output;
    const auto file = output / "page.pdf";
    WebViewHost* givenHost = nullptr;
    std::optional<bool> written;
    // The real command path, with the dialog replaced by printing straight into a file.
    window->pageCommands().setPrintRunner([&](WebViewHost& given, Gtk::Window& parent) {
        givenHost = &given;
        EXPECT_EQ(&parent, window.get());
        page_printing::printToPdf(WebViewHostTestAccess::webView(given), file, [&](bool ok) { written = ok; });
    });
    post(notifications::kPrintPage);
    EXPECT_EQ(givenHost, host()) << "the active tab's page is printed";
    ASSERT_TRUE(runMainLoopUntil([&] { return written.has_value(); }, std::chrono::seconds(60)));
    ASSERT_TRUE(*written);

    ASSERT_TRUE(std::filesystem::exists(file));
    const std::string pdf = testing::readFile(file);
    EXPECT_TRUE(pdf.starts_with("%PDF-")) << pdf.substr(0, 16);
    EXPECT_GT(pdf.size(), 1000u);
    EXPECT_NE(pdf.find("%%EOF"), std::string::npos) << "the file is complete";
    EXPECT_GE(occurrences(pdf, "/Type /Page"), 1u);
    EXPECT_GT(occurrences(pdf, " obj"), 3u);
    // A page with text embeds a font; a blank page would not.
    EXPECT_NE(pdf.find("/Font"), std::string::npos);
}

}  // namespace
}  // namespace sarvik
