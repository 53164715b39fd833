#include "views/downloads/download_status.h"

#include "support/display/browser_window_harness.h"
#include "support/display/ui_driver.h"
#include "support/file_helpers.h"

#include <gtest/gtest.h>

#include <set>

// Downloads through a real main window: what the page cannot show lands in the folder under a safe free
// name, the status bar shows progress and name while one runs, and its popover lists each with its actions.
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

// Every entry under `root`, relative to it.
std::set<std::string> entriesUnder(const fs::path& root) {
    std::set<std::string> names;
    std::error_code error;
    for (fs::recursive_directory_iterator it(root, error), end; !error && it != end; it.increment(error))
        names.insert(it->path().lexically_relative(root).string());
    return names;
}

class DownloadsDisplayTest : public ::testing::Test, public testing::DownloadFolder, public testing::BrowserWindowHarness {
protected:
    DownloadsDisplayTest() : BrowserWindowHarness(manager.get()) {}
    void SetUp() override {
        ASSERT_TRUE(activeLoaded("Home"));
        ASSERT_NE(status(), nullptr);
        status()->setFileLauncher({[this](const fs::path& file) { opened.push_back(file); },
                                   [this](const fs::path& file) { shown.push_back(file); }});
    }
    void TearDown() override {
        if (manager)
            for (const auto& record : list.downloads().get()) manager->cancel(record.id);
    }
    DownloadStatus* status() { return content().downloadStatus(); }
    fs::path saved(const std::string& name) { return manager->folder() / name; }
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
    void openList() {
        if (!status()->popover().get_mapped()) status()->button().popup();
        runMainLoopUntil([&] { return status()->popover().get_mapped(); });
    }
    // The popover's rows once it shows `count`, top to bottom.
    std::vector<DownloadRow*> rows(std::size_t count) {
        openList();
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
    server.respond("/quick", attachment("quarterly report.pdf", "quick"));
    open("/report");
    ASSERT_TRUE(runningShows("quarterly report.pdf"));
    EXPECT_TRUE(status()->button().get_visible());
    EXPECT_TRUE(fs::exists(saved("quarterly report.pdf.part")) && !fs::exists(saved("quarterly report.pdf")));
    testing::saveScreenshotIfRequested(*window, "download-running");
    open("/quick");  // ends while the first still runs: the name in use is not reused
    ASSERT_TRUE(runMainLoopUntil([&] { return list.downloads()->size() == 2 && list.runningCount() == 1; }));
    EXPECT_EQ(testing::readFile(saved("quarterly report (1).pdf")), "quick");
    open("/photos");
    ASSERT_TRUE(runningShows("quarterly report.pdf +1"));
    auto running = rows(3);
    ASSERT_EQ(running.size(), 3u);
    EXPECT_EQ(running[0]->nameLabel().get_text(), "photos.zip") << "newest first";
    EXPECT_EQ(running[2]->nameLabel().get_text(), "quarterly report.pdf");
    EXPECT_TRUE(running[2]->cancelButton().get_visible() && !running[2]->openButton().get_visible());
    EXPECT_EQ(running[2]->stateLabel().get_text().raw().back(), '%');
    for (auto theme : kAllColorThemes) {
        state.colorTheme = theme;
        testing::drainMainLoop();
    }
    EXPECT_EQ(stylesheet.parseErrorCount(), 0);
    EXPECT_NE(stylesheet.installedCss().find(".orvel-download-row"), std::string::npos);
    state.colorTheme = OrvelColorTheme::blueberry;
    runMainLoopUntil([] { return false; }, std::chrono::milliseconds(400));  // the popover's animation
    testing::saveScreenshotIfRequested(status()->popover(), "downloads-popover");
    ASSERT_TRUE(testing::click(&running[2]->cancelButton()));
    ASSERT_TRUE(runningShows("photos.zip"));
    auto afterOne = rows(3);
    EXPECT_TRUE(runMainLoopUntil([&] { return afterOne[2]->stateLabel().get_text() == "Cancelled"; }));
    EXPECT_TRUE(afterOne[2]->has_css_class("unsuccessful") && !afterOne[2]->cancelButton().get_visible());
    EXPECT_FALSE(afterOne[1]->has_css_class("unsuccessful")) << "the finished one";
    ASSERT_TRUE(testing::click(&afterOne[0]->cancelButton()));
    ASSERT_TRUE(ended(3));
    EXPECT_TRUE(runMainLoopUntil([&] { return !status()->runningBox().get_visible(); }));
    EXPECT_TRUE(status()->button().get_visible()) << "the list stays reachable";
    EXPECT_EQ(entriesUnder(manager->folder()), std::set<std::string>{"quarterly report (1).pdf"});

    // A download still running when the manager goes is cancelled; the engine's signals for it then reach nothing.
    server.respond("/left", heldAttachment("left.bin"));
    open("/left");
    ASSERT_TRUE(runMainLoopUntil([&] { return list.runningCount() == 1; }));
    testing::testApplication()->remove_window(*window);
    window.reset();
    const auto left = list.downloads()->back().id;
    manager.reset();
    EXPECT_EQ(list.find(left)->state, DownloadState::cancelled);
    testing::drainMainLoop();
    EXPECT_TRUE(runMainLoopUntil([&] { return entriesUnder(around / "Downloads").size() == 1; }));
}

TEST_F(DownloadsDisplayTest, WhatThePageCannotShowLandsUnderASafeFreeNameAndOpensOrShows) {
    const fs::path downloads = manager->folder();
    EXPECT_FALSE(fs::exists(downloads)) << "a page that can be shown is not downloaded";
    const std::string binary("first\0\x01\xff binary", 16);
    server.respond("/report", attachment("report.bin", binary));
    server.respond("/report-again", attachment("report.bin", "second"));
    server.serve("/data/archive.xyz", "raw bytes", "application/octet-stream");  // no disposition: the page cannot show it
    server.respond("/climb", attachment("../../evil.sh", "climb"));
    server.respond("/absolute", attachment("/etc/sarvik-download-test", "absolute"));
    server.respond("/hidden", attachment("..", "dots"));
    HttpResponse controls = attachment("", "controls");
    controls.headers = {{"Content-Disposition", "attachment; filename*=UTF-8''..%2F..%2Fline%0Abreak%01%1B%7F.txt"}};
    server.respond("/controls", controls);
    const struct {
        const char* path;
        const char* name;  // none where any name inside the folder will do
        std::string bytes;
    } table[] = {{"/report", "report.bin", binary},       {"/report-again", "report (1).bin", "second"},
                 {"/data/archive.xyz", "archive.xyz", "raw bytes"}, {"/climb", nullptr, "climb"},
                 {"/absolute", nullptr, "absolute"},      {"/hidden", nullptr, "dots"},
                 {"/controls", nullptr, "controls"}};
    for (std::size_t i = 0; i < std::size(table); ++i) {
        const auto& row = table[i];
        open(row.path);
        ASSERT_TRUE(ended(i + 1)) << row.path;
        const DownloadRecord record = list.downloads()->back();
        EXPECT_EQ(record.state, DownloadState::finished) << row.path << ": " << downloadStateText(record);
        EXPECT_EQ(record.file.parent_path(), downloads) << row.path;
        EXPECT_EQ(record.file.filename(), record.fileName) << row.path;
        ASSERT_FALSE(record.fileName.empty()) << row.path;
        EXPECT_NE(record.fileName.front(), '.') << row.path;
        for (const unsigned char c : record.fileName) EXPECT_TRUE(c >= 0x20 && c != 0x7F) << record.fileName;
        if (row.name) { EXPECT_EQ(record.fileName, row.name); }
        EXPECT_EQ(testing::readFile(record.file), row.bytes) << row.path;
    }
    EXPECT_EQ(testing::readFile(downloads / "report.bin"), binary) << "a clash leaves the first file alone";
    EXPECT_FALSE(fs::exists("/etc/sarvik-download-test"));
    EXPECT_EQ(entriesUnder(downloads).size(), std::size(table));
    for (const auto& entry : entriesUnder(around.path()))
        EXPECT_TRUE(entry.rfind("Downloads", 0) == 0) << entry;
    EXPECT_EQ(state.activeTab()->title, "Home") << "the page stays, and so does its address";
    EXPECT_EQ(state.tabs->size(), 1u);
    testing::drainMainLoop();
    EXPECT_EQ(activeAddress(), server.url("/home"));
    EXPECT_EQ(state.addressBarText.get(), server.url("/home"));
    openList();
    ASSERT_TRUE(testing::click(&status()->popover().clearButton()));
    EXPECT_TRUE(list.downloads()->empty()) << "Clear List drops what has ended";
    EXPECT_EQ(status()->popover().model()->get_n_items(), 0u);

    // A link's download attribute downloads even what the view could show, under its name.
    server.serve("/notes.txt", "plain text notes", "text/plain");
    serve("/links", "Links", "<a id=l href='/notes.txt' download='my notes.txt'>n</a>");
    state.navigate(server.url("/links"));
    ASSERT_TRUE(activeLoaded("Links"));
    testing::evaluateInPage(view(), "document.getElementById('l').click(); 'clicked'");
    ASSERT_TRUE(ended(1));
    auto finished = rows(1);
    ASSERT_EQ(finished.size(), 1u);
    EXPECT_EQ(finished[0]->nameLabel().get_text(), "my notes.txt");
    EXPECT_EQ(testing::readFile(downloads / "my notes.txt"), "plain text notes");
    EXPECT_TRUE(finished[0]->stateLabel().get_text() == "Finished" && !finished[0]->cancelButton().get_visible());
    ASSERT_TRUE(testing::click(&finished[0]->openButton()));
    ASSERT_TRUE(testing::click(&finished[0]->showButton()));
    EXPECT_EQ(opened, std::vector<fs::path>{downloads / "my notes.txt"});
    EXPECT_EQ(shown, std::vector<fs::path>{downloads / "my notes.txt"});
    ASSERT_TRUE(testing::click(&status()->popover().clearButton()));

    // Cut short: it says so, and leaves no file.
    HttpResponse cut = attachment("broken.iso", std::string(2000, 'x'));
    cut.declaredLength = 500000;
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
