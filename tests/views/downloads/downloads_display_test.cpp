#include "views/downloads/download_status.h"

#include "support/display/browser_window_harness.h"
#include "support/display/ui_driver.h"
#include "support/file_helpers.h"

#include <gtest/gtest.h>

// The downloads as the window shows them: the status bar's progress and name
// while one runs, and the list in its popover with each row's actions.
namespace sarvik {
namespace {

namespace fs = std::filesystem;
using testing::HttpResponse;
using testing::runMainLoopUntil;

HttpResponse attachment(const std::string& fileName, std::string body) {
    return {.contentType = "application/octet-stream",
            .headers = {{"Content-Disposition", "attachment; filename=\"" + fileName + "\""}},
            .body = std::move(body)};
}

// Sent in part, then held for a minute, so the test watches it run.
HttpResponse heldAttachment(const std::string& fileName) {
    HttpResponse response = attachment(fileName, std::string(64 * 1024, 'h'));
    response.bytesBeforeDelay = 24 * 1024;
    response.delay = std::chrono::seconds(60);
    return response;
}

class DownloadsDisplayTest : public ::testing::Test, public testing::DownloadFolder, public testing::BrowserWindowHarness {
protected:
    DownloadsDisplayTest() : BrowserWindowHarness(&manager) {}
    void SetUp() override {
        ASSERT_TRUE(activeLoaded("Home"));
        ASSERT_NE(status(), nullptr);
        status()->setFileLauncher({[this](const fs::path& file) { opened.push_back(file); },
                                   [this](const fs::path& file) { shown.push_back(file); }});
    }
    void TearDown() override {
        for (const auto& record : list.downloads().get()) manager.cancel(record.id);
    }
    DownloadStatus* status() { return content().downloadStatus(); }
    fs::path saved(const std::string& name) { return manager.folder() / name; }
    void open(const std::string& path) { state.navigationCommand = NavigationCommand::load(*Url::parse(server.url(path))); }
    bool runningShows(const std::string& name) {
        return runMainLoopUntil([&] {
            return testing::isShown(const_cast<Gtk::Box&>(status()->runningBox())) &&
                   status()->runningLabel().get_text().raw() == name && status()->progressBar().progress() > 0;
        });
    }
    bool ended(std::size_t count) {
        return runMainLoopUntil([&] { return list.downloads()->size() == count && list.runningCount() == 0; });
    }
    // The popover's rows once it shows `count`, top to bottom.
    std::vector<DownloadRow*> rows(std::size_t count) {
        if (!status()->popover().get_mapped()) {
            status()->button().popup();
            runMainLoopUntil([&] { return status()->popover().get_mapped(); });
        }
        std::vector<DownloadRow*> found;
        runMainLoopUntil([&] {
            found = testing::findAll<DownloadRow>(status()->popover().listView(), [](DownloadRow& row) { return row.get_mapped(); });
            return found.size() == count;
        });
        const auto top = [this](DownloadRow* row) {
            double x = 0, y = 0;
            row->translate_coordinates(status()->popover().listView(), 0, 0, x, y);
            return y;
        };
        std::sort(found.begin(), found.end(), [&](DownloadRow* a, DownloadRow* b) { return top(a) < top(b); });
        return found;
    }
    std::vector<fs::path> opened;
    std::vector<fs::path> shown;
};

TEST_F(DownloadsDisplayTest, RunningDownloadsShowTheirProgressAndNameAndCancelEndsThem) {
    EXPECT_FALSE(status()->runningBox().get_visible() || status()->button().get_visible()) << "nothing downloaded yet";
    server.respond("/report", heldAttachment("quarterly report.pdf"));
    server.respond("/photos", heldAttachment("photos.zip"));
    open("/report");
    ASSERT_TRUE(runningShows("quarterly report.pdf"));
    EXPECT_TRUE(status()->button().get_visible());
    testing::saveScreenshotIfRequested(*window, "download-running");
    open("/photos");
    ASSERT_TRUE(runningShows("quarterly report.pdf +1"));
    auto running = rows(2);
    ASSERT_EQ(running.size(), 2u);
    EXPECT_EQ(running[0]->nameLabel().get_text(), "photos.zip") << "newest first";
    EXPECT_EQ(running[1]->nameLabel().get_text(), "quarterly report.pdf");
    EXPECT_TRUE(running[1]->cancelButton().get_visible() && !running[1]->openButton().get_visible());
    EXPECT_EQ(running[1]->stateLabel().get_text().raw().back(), '%');
    for (auto theme : kAllColorThemes) {
        state.colorTheme = theme;
        testing::drainMainLoop();
    }
    EXPECT_EQ(stylesheet.parseErrorCount(), 0);
    EXPECT_NE(stylesheet.installedCss().find(".orvel-download-row"), std::string::npos);
    state.colorTheme = OrvelColorTheme::blueberry;
    runMainLoopUntil([] { return false; }, std::chrono::milliseconds(400));  // the popover's animation
    testing::saveScreenshotIfRequested(status()->popover(), "downloads-popover");
    ASSERT_TRUE(testing::click(&running[1]->cancelButton()));
    ASSERT_TRUE(runningShows("photos.zip"));
    auto afterOne = rows(2);
    EXPECT_TRUE(runMainLoopUntil([&] { return afterOne[1]->stateLabel().get_text() == "Cancelled"; }));
    EXPECT_TRUE(afterOne[1]->has_css_class("unsuccessful") && !afterOne[1]->cancelButton().get_visible());
    ASSERT_TRUE(testing::click(&afterOne[0]->cancelButton()));
    ASSERT_TRUE(ended(2));
    EXPECT_TRUE(runMainLoopUntil([&] { return !status()->runningBox().get_visible(); }));
    EXPECT_TRUE(status()->button().get_visible()) << "the list stays reachable";
    for (const char* name : {"quarterly report.pdf.part", "photos.zip.part", "quarterly report.pdf"})
        EXPECT_FALSE(fs::exists(saved(name))) << name;
}

TEST_F(DownloadsDisplayTest, AFinishedDownloadOpensOrShowsAndAFailedOneSaysSo) {
    server.serve("/files/data.bin", "downloaded bytes", "application/octet-stream");
    open("/files/data.bin");  // no disposition: the tab cannot show it, so it downloads
    ASSERT_TRUE(ended(1));
    EXPECT_EQ(testing::readFile(saved("data.bin")), "downloaded bytes");
    EXPECT_FALSE(status()->runningBox().get_visible());
    EXPECT_EQ(state.activeTab()->title, "Home") << "the page stays, and so does its address";
    testing::drainMainLoop();
    EXPECT_EQ(activeAddress(), server.url("/home"));
    EXPECT_EQ(state.addressBarText.get(), server.url("/home"));
    auto finished = rows(1);
    ASSERT_EQ(finished.size(), 1u);
    EXPECT_TRUE(finished[0]->stateLabel().get_text() == "Finished" && !finished[0]->cancelButton().get_visible());
    ASSERT_TRUE(testing::click(&finished[0]->openButton()));
    ASSERT_TRUE(testing::click(&finished[0]->showButton()));
    EXPECT_EQ(opened, std::vector<fs::path>{saved("data.bin")});
    EXPECT_EQ(shown, std::vector<fs::path>{saved("data.bin")});
    ASSERT_TRUE(testing::click(&status()->popover().clearButton()));
    EXPECT_TRUE(list.downloads()->empty()) << "Clear List drops what has ended";
    EXPECT_EQ(status()->popover().model()->get_n_items(), 0u);
    HttpResponse cut = attachment("broken.iso", std::string(2000, 'x'));
    cut.declaredLength = 500000;  // the body ends short
    server.respond("/broken", cut);
    open("/broken");
    ASSERT_TRUE(ended(1));
    auto failed = rows(1);
    ASSERT_EQ(failed.size(), 1u);
    EXPECT_TRUE(failed[0]->stateLabel().get_text().raw().starts_with("Failed")) << failed[0]->stateLabel().get_text();
    EXPECT_TRUE(failed[0]->has_css_class("unsuccessful") && !failed[0]->openButton().get_visible());
    EXPECT_FALSE(fs::exists(saved("broken.iso")) || fs::exists(saved("broken.iso.part")));
}

}  // namespace
}  // namespace sarvik
