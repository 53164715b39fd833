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

#include <memory>
#include <set>

namespace sarvik {
namespace {

namespace fs = std::filesystem;
using testing::HttpResponse;
using testing::runMainLoopUntil;

HttpResponse attachment(const std::string& fileName, std::string body) {
    return {200, "application/octet-stream", {{"Content-Disposition", "attachment; filename=\"" + fileName + "\""}},
            std::move(body)};
}

// A body long enough to show progress; the server holds it after its first half.
HttpResponse heldAttachment(const std::string& fileName) {
    HttpResponse response = attachment(fileName, std::string(64 * 1024, 'h'));
    response.bytesBeforeDelay = 32 * 1024;
    response.delay = std::chrono::seconds(60);
    return response;
}

// Every entry under `root`, relative to it.
std::set<std::string> entriesUnder(const fs::path& root, bool recursive = false) {
    std::set<std::string> names;
    std::error_code error;
    for (fs::recursive_directory_iterator it(root, error), end; !error && it != end; it.increment(error)) {
        names.insert(it->path().lexically_relative(root).string());
        if (!recursive) it.disable_recursion_pending();
    }
    return names;
}

class DownloadManagerTest : public ::testing::Test {
protected:
    void SetUp() override { downloadResponsesNotShown(view.webView()); }
    void TearDown() override {
        manager.reset();
        testing::drainMainLoop();
    }
    // The record after the first `before`, once it has ended.
    DownloadRecord waitForEnd(std::size_t before) {
        EXPECT_TRUE(runMainLoopUntil([&] {
            const auto& all = list.downloads().get();
            return all.size() > before && all[before].state != DownloadState::running;
        })) << "the download did not end";
        const auto& all = list.downloads().get();
        return all.size() > before ? all[before] : DownloadRecord{};
    }
    DownloadRecord download(const std::string& path) {
        const std::size_t before = list.downloads().get().size();
        view.load(server.url(path));
        return waitForEnd(before);
    }
    // Starts a held download and waits until part of it has arrived.
    DownloadRecord startHeld(const std::string& path) {
        webkit_web_view_load_uri(view.webView(), server.url(path).c_str());
        EXPECT_TRUE(runMainLoopUntil([&] {
            const auto& all = list.downloads().get();
            return !all.empty() && all.back().state == DownloadState::running && all.back().progress > 0;
        })) << "the download did not start";
        return list.downloads().get().empty() ? DownloadRecord{} : list.downloads().get().back();
    }
    bool folderHolds(const std::set<std::string>& names) {
        return runMainLoopUntil([&] { return entriesUnder(folder) == names; });
    }
    testing::LoopbackHttpServer server;
    testing::TemporaryDirectory root;
    const fs::path folder = root / "home" / "user" / "Downloads";  // missing until the first download
    testing::LoopbackWebView view;
    DownloadList list;
    std::unique_ptr<DownloadManager> manager = std::make_unique<DownloadManager>(list, folder);
};

TEST_F(DownloadManagerTest, WhatThePageCannotShowLandsInTheFolderUnderASafeFreeName) {
    server.serve("/page", "<!doctype html><title>Page</title><p>shown");
    EXPECT_TRUE(view.load(server.url("/page")));
    testing::drainMainLoop();
    EXPECT_TRUE(list.downloads().get().empty()) << "a page that can be shown is not downloaded";
    EXPECT_FALSE(fs::exists(folder));
    const std::string binary("first\0\x01\xff binary", 16);
    server.respond("/report", attachment("report.bin", binary));
    server.respond("/report-again", attachment("report.bin", "second"));
    server.serve("/data/archive.xyz", "raw bytes", "application/octet-stream");
    server.respond("/climb", attachment("../../evil.sh", "climb"));
    server.respond("/absolute", attachment("/etc/sarvik-download-test", "absolute"));
    server.respond("/hidden", attachment("..", "dots"));
    const struct {
        const char* path;
        const char* name;  // none where any name inside the folder will do
        std::string bytes;
    } table[] = {{"/report", "report.bin", binary},       {"/report-again", "report (1).bin", "second"},
                 {"/data/archive.xyz", "archive.xyz", "raw bytes"}, {"/climb", nullptr, "climb"},
                 {"/absolute", nullptr, "absolute"},      {"/hidden", nullptr, "dots"}};
    for (const auto& row : table) {
        const DownloadRecord record = download(row.path);
        EXPECT_EQ(record.state, DownloadState::finished) << row.path << ": " << downloadStateText(record);
        EXPECT_EQ(record.file.parent_path(), folder) << row.path;
        EXPECT_EQ(record.file.filename(), record.fileName) << row.path;
        ASSERT_FALSE(record.fileName.empty()) << row.path;
        EXPECT_NE(record.fileName.front(), '.') << row.path;
        if (row.name) { EXPECT_EQ(record.fileName, row.name); }
        EXPECT_EQ(testing::readFile(record.file), row.bytes) << row.path;
    }
    EXPECT_EQ(testing::readFile(folder / "report.bin"), binary) << "a clash leaves the first file alone";
    EXPECT_FALSE(fs::exists("/etc/sarvik-download-test"));
    EXPECT_EQ(entriesUnder(folder).size(), std::size(table));
    for (const auto& entry : entriesUnder(root.path(), true))
        EXPECT_TRUE(entry == "home" || entry == "home/user" || entry.rfind("home/user/Downloads", 0) == 0) << entry;
    // A link's download attribute downloads even what the view could show, under its name.
    server.serve("/notes.txt", "plain text notes", "text/plain");
    server.serve("/links", "<!doctype html><title>Links</title><a id=l href='/notes.txt' download='my notes.txt'>n</a>");
    ASSERT_TRUE(view.load(server.url("/links")));
    testing::evaluateInPage(view.webView(), "document.getElementById('l').click(); 'clicked'");
    const DownloadRecord linked = waitForEnd(std::size(table));
    EXPECT_EQ(linked.state, DownloadState::finished) << downloadStateText(linked);
    EXPECT_EQ(linked.fileName, "my notes.txt");
    EXPECT_EQ(testing::readFile(folder / "my notes.txt"), "plain text notes");
}

TEST_F(DownloadManagerTest, CutShortCancelledAndAbandonedDownloadsLeaveNoFileAndNamesInUseAreNotReused) {
    HttpResponse cut = attachment("broken.bin", std::string(1000, 'b'));
    cut.declaredLength = 100000;
    server.respond("/broken", cut);
    const DownloadRecord broken = download("/broken");
    EXPECT_EQ(broken.state, DownloadState::failed);
    EXPECT_EQ(downloadStateText(broken).rfind("Failed", 0), 0u) << downloadStateText(broken);
    EXPECT_TRUE(folderHolds({}));
    server.respond("/held", heldAttachment("same.bin"));
    server.respond("/quick", attachment("same.bin", "quick"));
    const DownloadRecord running = startHeld("/held");
    EXPECT_EQ(running.fileName, "same.bin");
    EXPECT_TRUE(fs::exists(folder / "same.bin.part"));
    EXPECT_FALSE(fs::exists(folder / "same.bin"));
    const DownloadRecord quick = download("/quick");  // ends while the first still runs
    EXPECT_EQ(quick.state, DownloadState::finished) << downloadStateText(quick);
    EXPECT_EQ(quick.fileName, "same (1).bin");
    EXPECT_EQ(testing::readFile(folder / "same (1).bin"), "quick");
    manager->cancel(running.id);
    ASSERT_TRUE(runMainLoopUntil([&] { return list.runningCount() == 0; }));
    EXPECT_EQ(downloadStateText(*list.find(running.id)), "Cancelled");
    EXPECT_TRUE(folderHolds({"same (1).bin"}));
    server.respond("/left", heldAttachment("left.bin"));
    const DownloadRecord left = startHeld("/left");
    manager.reset();
    EXPECT_EQ(list.find(left.id)->state, DownloadState::cancelled) << "a download still running when the manager goes";
    EXPECT_TRUE(folderHolds({"same (1).bin"}));  // the engine's own signals for it now reach nothing
    testing::drainMainLoop();
}

}  // namespace
}  // namespace sarvik
