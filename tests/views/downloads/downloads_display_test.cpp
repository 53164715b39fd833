#include "views/downloads/download_status.h"
#include "views/window/main_window.h"

#include "support/display/gtk_test_environment.h"
#include "support/display/widget_screenshot.h"
#include "support/file_helpers.h"
#include "support/loopback_http_server.h"
#include "support/temporary_directory.h"
#include "views/common/theme_stylesheet.h"
#include "support/display/widget_search.h"

#include <gtest/gtest.h>

#include <memory>

// The downloads as the window shows them: the status bar's progress and name
// while one runs, and the list in its popover with each row's actions.
namespace sarvik {
namespace {

namespace fs = std::filesystem;
using testing::HttpResponse;
using testing::runMainLoopUntil;

HttpResponse heldAttachment(const std::string& fileName) {
    HttpResponse response;
    response.contentType = "application/octet-stream";
    response.headers = {{"Content-Disposition", "attachment; filename=\"" + fileName + "\""}};
    response.body = std::string(64 * 1024, 'h');
    response.bytesBeforeDelay = 24 * 1024;
    response.delay = std::chrono::seconds(60);
    return response;
}

class DownloadsDisplayTest : public ::testing::Test {
protected:
    void SetUp() override {
        server.serve("/home", "<!doctype html><title>Home</title><h1>Downloads</h1><p>A page with downloads.</p>");
        state.homePage = server.url("/home");
        window = std::make_unique<MainWindow>(state, auctions, folder.path(), &manager);
        window->present();
        ASSERT_TRUE(runMainLoopUntil([&] {
            const BrowserTab* tab = state.findTab(state.activeTabId);
            return tab && tab->title == "Home" && !tab->isLoading;
        }));
        ASSERT_NE(status(), nullptr);
        status()->setFileLauncher({[this](const fs::path& file) { opened.push_back(file); },
                                   [this](const fs::path& file) { shown.push_back(file); }});
    }

    void TearDown() override {
        for (const auto& record : list.downloads().get()) manager.cancel(record.id);
        window.reset();
        testing::drainMainLoop();
    }

    DownloadStatus* status() { return window->contentView().downloadStatus(); }

    void open(const std::string& path) { state.navigationCommand = NavigationCommand::load(*Url::parse(server.url(path))); }

    bool runningShows(const std::string& name) {
        return runMainLoopUntil([&] {
            return testing::isShown(const_cast<Gtk::Box&>(status()->runningBox())) &&
                   status()->runningLabel().get_text().raw() == name && status()->progressBar().progress() > 0;
        });
    }

    bool ended(std::size_t count) {
        return runMainLoopUntil([&] {
            return list.downloads()->size() == count && list.runningCount() == 0;
        });
    }

    // The rows the popover's list shows, newest first, once it has `count`.
    std::vector<DownloadRow*> rows(std::size_t count) {
        std::vector<DownloadRow*> found;
        runMainLoopUntil([&] {
            found = testing::findAll<DownloadRow>(status()->popover().listView());
            std::erase_if(found, [](DownloadRow* row) { return !row->get_mapped(); });
            return found.size() == count;
        });
        // In the order they are drawn, top to bottom.
        auto top = [this](DownloadRow* row) {
            double x = 0, y = 0;
            row->translate_coordinates(status()->popover().listView(), 0, 0, x, y);
            return y;
        };
        std::sort(found.begin(), found.end(), [&](DownloadRow* a, DownloadRow* b) { return top(a) < top(b); });
        return found;
    }

    bool popUp() {
        status()->button().popup();
        return runMainLoopUntil([&] { return status()->popover().get_mapped(); });
    }

    static void settle() { runMainLoopUntil([] { return false; }, std::chrono::milliseconds(400)); }

    testing::LoopbackHttpServer server;
    testing::TemporaryDirectory folder;
    const fs::path downloads = folder / "Downloads";
    BrowserState state;
    AuctionStore auctions{folder.path()};
    ThemeStylesheet stylesheet{state, Gdk::Display::get_default()};
    DownloadList list;
    DownloadManager manager{list, downloads};
    std::unique_ptr<MainWindow> window;
    std::vector<fs::path> opened;
    std::vector<fs::path> shown;
};

TEST_F(DownloadsDisplayTest, WhileDownloadsRunTheStatusBarShowsTheirProgressAndNameAndCancelEndsThem) {
    EXPECT_FALSE(status()->runningBox().get_visible());
    EXPECT_FALSE(status()->button().get_visible());  // nothing downloaded yet

    server.respond("/report", heldAttachment("quarterly report.pdf"));
    server.respond("/photos", heldAttachment("photos.zip"));
    open("/report");
    ASSERT_TRUE(runningShows("quarterly report.pdf"));
    EXPECT_TRUE(status()->button().get_visible());
    settle();
    testing::saveScreenshotIfRequested(*window, "download-running");

    open("/photos");
    ASSERT_TRUE(runningShows("quarterly report.pdf +1"));
    ASSERT_TRUE(popUp());
    auto running = rows(2);
    ASSERT_EQ(running.size(), 2u);
    EXPECT_EQ(running[0]->nameLabel().get_text(), "photos.zip");  // newest first
    EXPECT_EQ(running[1]->nameLabel().get_text(), "quarterly report.pdf");
    EXPECT_TRUE(running[1]->cancelButton().get_visible());
    EXPECT_FALSE(running[1]->openButton().get_visible());
    EXPECT_EQ(running[1]->stateLabel().get_text().raw().back(), '%');
    settle();
    testing::saveScreenshotIfRequested(status()->popover(), "downloads-popover");

    ASSERT_TRUE(testing::click(&running[1]->cancelButton()));
    ASSERT_TRUE(runningShows("photos.zip"));
    auto afterOne = rows(2);
    EXPECT_TRUE(runMainLoopUntil([&] { return afterOne[1]->stateLabel().get_text() == "Cancelled"; }));
    EXPECT_TRUE(afterOne[1]->has_css_class("unsuccessful"));
    EXPECT_FALSE(afterOne[1]->cancelButton().get_visible());

    ASSERT_TRUE(testing::click(&afterOne[0]->cancelButton()));
    ASSERT_TRUE(ended(2));
    EXPECT_TRUE(runMainLoopUntil([&] { return !status()->runningBox().get_visible(); }));
    EXPECT_TRUE(status()->button().get_visible());  // the list stays reachable
    EXPECT_FALSE(fs::exists(downloads / "quarterly report.pdf.part"));
    EXPECT_FALSE(fs::exists(downloads / "photos.zip.part"));
    EXPECT_FALSE(fs::exists(downloads / "quarterly report.pdf"));
}

TEST_F(DownloadsDisplayTest, AFinishedDownloadCanBeOpenedOrShownInItsFolder) {
    server.serve("/files/data.bin", "downloaded bytes", "application/octet-stream");
    open("/files/data.bin");  // no disposition: the tab cannot show it, so it downloads
    ASSERT_TRUE(ended(1));
    EXPECT_EQ(testing::readFile(downloads / "data.bin"), "downloaded bytes");
    EXPECT_FALSE(status()->runningBox().get_visible());
    // The page stays, and so does its address.
    EXPECT_EQ(state.findTab(state.activeTabId)->title, "Home");
    testing::drainMainLoop();
    EXPECT_EQ(state.findTab(state.activeTabId)->url->absoluteString(), server.url("/home"));
    EXPECT_EQ(state.addressBarText.get(), server.url("/home"));

    ASSERT_TRUE(popUp());
    auto finished = rows(1);
    ASSERT_EQ(finished.size(), 1u);
    EXPECT_EQ(finished[0]->stateLabel().get_text(), "Finished");
    EXPECT_FALSE(finished[0]->cancelButton().get_visible());
    ASSERT_TRUE(testing::click(&finished[0]->openButton()));
    ASSERT_TRUE(testing::click(&finished[0]->showButton()));
    EXPECT_EQ(opened, std::vector<fs::path>{downloads / "data.bin"});
    EXPECT_EQ(shown, std::vector<fs::path>{downloads / "data.bin"});

    // Clear List drops what has ended.
    ASSERT_TRUE(testing::click(&status()->popover().clearButton()));
    EXPECT_TRUE(list.downloads()->empty());
    EXPECT_EQ(status()->popover().model()->get_n_items(), 0u);
}

TEST_F(DownloadsDisplayTest, AFailedDownloadSaysSoInItsRow) {
    HttpResponse cut;
    cut.contentType = "application/octet-stream";
    cut.headers = {{"Content-Disposition", "attachment; filename=\"broken.iso\""}};
    cut.body = std::string(2000, 'x');
    cut.declaredLength = 500000;
    server.respond("/broken", cut);
    open("/broken");
    ASSERT_TRUE(ended(1));
    ASSERT_TRUE(popUp());
    auto failed = rows(1);
    ASSERT_EQ(failed.size(), 1u);
    EXPECT_EQ(failed[0]->stateLabel().get_text().raw().rfind("Failed", 0), 0u) << failed[0]->stateLabel().get_text();
    EXPECT_TRUE(failed[0]->has_css_class("unsuccessful"));
    EXPECT_FALSE(failed[0]->openButton().get_visible());
    EXPECT_FALSE(fs::exists(downloads / "broken.iso"));
    EXPECT_FALSE(fs::exists(downloads / "broken.iso.part"));
}

TEST_F(DownloadsDisplayTest, EveryThemeStylesTheDownloadsWithoutCssErrors) {
    server.respond("/held", heldAttachment("themed.bin"));
    open("/held");
    ASSERT_TRUE(runningShows("themed.bin"));
    ASSERT_TRUE(popUp());
    for (auto theme : kAllColorThemes) {
        state.colorTheme = theme;
        testing::drainMainLoop();
    }
    EXPECT_EQ(stylesheet.parseErrorCount(), 0);
    EXPECT_NE(stylesheet.installedCss().find(".orvel-download-row"), std::string::npos);
}

TEST(DownloadsWindowTest, AWindowWithoutADownloadManagerHasNoDownloadsInItsStatusBar) {
    testing::TemporaryDirectory folder;
    BrowserState state;
    state.homePage = "about:blank";
    AuctionStore auctions{folder.path()};
    {
        MainWindow window(state, auctions, folder.path());
        EXPECT_EQ(window.contentView().downloadStatus(), nullptr);
    }
    testing::drainMainLoop();
}

}  // namespace
}  // namespace sarvik
