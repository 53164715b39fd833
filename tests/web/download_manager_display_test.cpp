#include "web/download_manager.h"
#include "web/download_policy.h"

#include "support/display/gtk_test_environment.h"
#include "support/display/loopback_web_view.h"
#include "support/display/web_view_script.h"
#include "support/file_helpers.h"
#include "support/loopback_http_server.h"
#include "support/temporary_directory.h"

#include <gtest/gtest.h>
#include <webkit/webkit.h>

#include <algorithm>
#include <memory>
#include <set>

namespace sarvik {
namespace {

namespace fs = std::filesystem;
using testing::HttpResponse;
using testing::runMainLoopUntil;

constexpr auto kHeld = std::chrono::seconds(60);

HttpResponse attachment(std::string fileName, std::string body, std::string contentType = "application/octet-stream") {
    HttpResponse response;
    response.contentType = std::move(contentType);
    response.headers = {{"Content-Disposition", "attachment; filename=\"" + fileName + "\""}};
    response.body = std::move(body);
    return response;
}

// A body long enough to show progress; the server holds it after its first half.
HttpResponse heldAttachment(std::string fileName) {
    HttpResponse response = attachment(std::move(fileName), std::string(64 * 1024, 'h'));
    response.bytesBeforeDelay = 32 * 1024;
    response.delay = kHeld;
    return response;
}

// Every entry under `root`, relative to it.
std::set<std::string> entriesUnder(const fs::path& root) {
    std::set<std::string> names;
    std::error_code error;
    for (fs::recursive_directory_iterator it(root, error), end; !error && it != end; it.increment(error))
        names.insert(fs::relative(it->path(), root).string());
    return names;
}

std::set<std::string> entriesIn(const fs::path& folder) {
    std::set<std::string> names;
    std::error_code error;
    for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error))
        names.insert(it->path().filename().string());
    return names;
}

class DownloadManagerTest : public ::testing::Test {
protected:
    void SetUp() override { downloadResponsesNotShown(view.webView()); }

    void TearDown() override {
        manager.reset();
        testing::drainMainLoop();
    }

    // Loads an address that turns into a download and waits until it has ended.
    DownloadRecord download(const std::string& path) {
        const std::size_t before = list.downloads().get().size();
        view.load(server.url(path));
        return waitForEnd(before);
    }

    // The record after the first `before`, once it has ended.
    DownloadRecord waitForEnd(std::size_t before) {
        const bool ended = runMainLoopUntil([&] {
            const auto& all = list.downloads().get();
            return all.size() > before && all[before].state != DownloadState::running;
        });
        EXPECT_TRUE(ended) << "the download did not end";
        const auto& all = list.downloads().get();
        return all.size() > before ? all[before] : DownloadRecord{};
    }

    // Starts a held download and waits until part of it has arrived.
    DownloadRecord startHeld(const std::string& path) {
        webkit_web_view_load_uri(view.webView(), server.url(path).c_str());
        const bool running = runMainLoopUntil([&] {
            const auto& all = list.downloads().get();
            return !all.empty() && all.back().state == DownloadState::running && all.back().progress > 0;
        });
        EXPECT_TRUE(running) << "the download did not start";
        return list.downloads().get().empty() ? DownloadRecord{} : list.downloads().get().back();
    }

    testing::LoopbackHttpServer server;
    testing::TemporaryDirectory root;
    const fs::path folder = root / "home" / "user" / "Downloads";  // missing until the first download
    testing::LoopbackWebView view;
    DownloadList list;
    std::unique_ptr<DownloadManager> manager = std::make_unique<DownloadManager>(list, folder);
};

TEST_F(DownloadManagerTest, AnAttachmentLandsInTheFolderWithItsBytesAndAClashGetsANumber) {
    const std::string first = std::string("first\0\x01\xff binary", 16);
    server.respond("/report", attachment("report.bin", first));
    const DownloadRecord record = download("/report");
    EXPECT_EQ(record.state, DownloadState::finished) << downloadStateText(record);
    EXPECT_EQ(record.file, folder / "report.bin");
    EXPECT_EQ(record.fileName, "report.bin");
    EXPECT_EQ(testing::readFile(folder / "report.bin"), first);

    server.respond("/report-again", attachment("report.bin", "second"));
    const DownloadRecord again = download("/report-again");
    EXPECT_EQ(again.state, DownloadState::finished) << downloadStateText(again);
    EXPECT_EQ(again.fileName, "report (1).bin");
    EXPECT_EQ(testing::readFile(folder / "report (1).bin"), "second");
    EXPECT_EQ(testing::readFile(folder / "report.bin"), first);
    EXPECT_EQ(entriesIn(folder), (std::set<std::string>{"report.bin", "report (1).bin"}));
}

TEST_F(DownloadManagerTest, HostileSuggestedNamesStayInsideTheFolder) {
    ASSERT_FALSE(fs::exists("/etc/sarvik-download-test"));
    server.respond("/climb", attachment("../../evil.sh", "climb"));
    server.respond("/absolute", attachment("/etc/sarvik-download-test", "absolute"));
    server.respond("/hidden", attachment("..", "dots"));
    download("/climb");
    download("/absolute");
    download("/hidden");

    EXPECT_FALSE(fs::exists("/etc/sarvik-download-test"));
    const std::set<std::string> everything = entriesUnder(root.path());
    for (const auto& entry : everything)
        EXPECT_TRUE(entry == "home" || entry == "home/user" || entry.rfind("home/user/Downloads", 0) == 0) << entry;
    ASSERT_EQ(entriesIn(folder).size(), 3u);
    for (const auto& record : list.downloads().get()) {
        EXPECT_EQ(record.state, DownloadState::finished) << downloadStateText(record);
        EXPECT_EQ(record.file.parent_path(), folder);
        EXPECT_FALSE(record.fileName.empty());
        EXPECT_NE(record.fileName.front(), '.');
    }
    EXPECT_EQ(testing::readFile(list.downloads().get()[0].file), "climb");
    EXPECT_EQ(testing::readFile(list.downloads().get()[1].file), "absolute");
}

TEST_F(DownloadManagerTest, AResponseTheViewCannotShowIsDownloaded) {
    server.serve("/data/archive.xyz", "raw bytes", "application/octet-stream");
    const DownloadRecord record = download("/data/archive.xyz");
    EXPECT_EQ(record.state, DownloadState::finished) << downloadStateText(record);
    EXPECT_EQ(record.fileName, "archive.xyz");
    EXPECT_EQ(testing::readFile(folder / "archive.xyz"), "raw bytes");
}

TEST_F(DownloadManagerTest, APageThatCanBeShownIsNotDownloaded) {
    server.serve("/page", "<!doctype html><title>Page</title><p>shown");
    EXPECT_TRUE(view.load(server.url("/page")));
    testing::drainMainLoop();
    EXPECT_TRUE(list.downloads().get().empty());
    EXPECT_FALSE(fs::exists(folder));
}

TEST_F(DownloadManagerTest, ALinkWithADownloadAttributeDownloadsWhatTheViewCouldShow) {
    server.serve("/notes.txt", "plain text notes", "text/plain");
    server.serve("/links", "<!doctype html><title>Links</title><a id=l href='/notes.txt' download='my notes.txt'>notes</a>");
    ASSERT_TRUE(view.load(server.url("/links")));
    testing::evaluateInPage(view.webView(), "document.getElementById('l').click(); 'clicked'");
    const DownloadRecord record = waitForEnd(0);
    EXPECT_EQ(record.state, DownloadState::finished) << downloadStateText(record);
    EXPECT_EQ(record.fileName, "my notes.txt");
    EXPECT_EQ(testing::readFile(folder / "my notes.txt"), "plain text notes");
}

TEST_F(DownloadManagerTest, ABodyCutShortFailsAndLeavesNoFile) {
    HttpResponse cut = attachment("broken.bin", std::string(1000, 'b'));
    cut.declaredLength = 100000;
    server.respond("/broken", cut);
    const DownloadRecord record = download("/broken");
    EXPECT_EQ(record.state, DownloadState::failed);
    EXPECT_EQ(downloadStateText(record).rfind("Failed", 0), 0u) << downloadStateText(record);
    EXPECT_TRUE(runMainLoopUntil([&] { return entriesIn(folder).empty(); })) << *entriesIn(folder).begin();
}

TEST_F(DownloadManagerTest, CancellingARunningDownloadRemovesItsPartialFile) {
    server.respond("/held", heldAttachment("held.bin"));
    const DownloadRecord running = startHeld("/held");
    EXPECT_EQ(running.fileName, "held.bin");
    EXPECT_TRUE(fs::exists(folder / "held.bin.part"));
    EXPECT_FALSE(fs::exists(folder / "held.bin"));

    manager->cancel(running.id);
    const bool cancelled = runMainLoopUntil([&] { return list.runningCount() == 0; });
    ASSERT_TRUE(cancelled);
    EXPECT_EQ(downloadStateText(*list.find(running.id)), "Cancelled");
    EXPECT_TRUE(runMainLoopUntil([&] { return entriesIn(folder).empty(); })) << *entriesIn(folder).begin();
}

TEST_F(DownloadManagerTest, ANameHeldByARunningDownloadIsNotGivenToAnother) {
    server.respond("/held", heldAttachment("same.bin"));
    server.respond("/quick", attachment("same.bin", "quick"));
    const DownloadRecord running = startHeld("/held");
    const DownloadRecord quick = download("/quick");  // ends while the first still runs
    EXPECT_EQ(quick.state, DownloadState::finished) << downloadStateText(quick);
    EXPECT_EQ(quick.fileName, "same (1).bin");
    EXPECT_EQ(testing::readFile(folder / "same (1).bin"), "quick");
    manager->cancel(running.id);
}

TEST_F(DownloadManagerTest, ADownloadStillRunningWhenTheManagerGoesIsCancelledAndRemoved) {
    server.respond("/held", heldAttachment("left.bin"));
    const DownloadRecord running = startHeld("/held");
    manager.reset();
    EXPECT_EQ(list.find(running.id)->state, DownloadState::cancelled);
    // The engine's own signals for it now reach nothing.
    EXPECT_TRUE(runMainLoopUntil([&] { return entriesIn(folder).empty(); })) << *entriesIn(folder).begin();
    testing::drainMainLoop();
}

}  // namespace
}  // namespace sarvik
