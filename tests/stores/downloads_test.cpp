#include "stores/download_list.h"
#include "stores/download_names.h"

#include <gtest/gtest.h>

#include <set>

namespace sarvik {
namespace {

TEST(DownloadNamesTest, HostileSuggestionsStayInsideTheFolder) {
    const std::pair<const char*, const char*> cases[] = {
        {"../../evil.sh", "evil.sh"}, {"/etc/passwd", "passwd"}, {"..\\..\\windows\\evil.exe", "evil.exe"},
        {"..", "download"}, {".", "download"}, {"dir/", "download"}, {"", "download"}, {".bashrc", "bashrc"},
        {"...hidden...", "hidden"}, {" report.pdf. ", "report.pdf"}, {"a\nb\x01\x7F.txt", "a_b__.txt"},
        {"caf\xE9.txt", "caf\xEF\xBF\xBD.txt"}, {"r\xC3\xA9sum\xC3\xA9 2024.pdf", "r\xC3\xA9sum\xC3\xA9 2024.pdf"},
    };
    for (const auto& [suggested, name] : cases) EXPECT_EQ(sanitizedDownloadName(suggested), name) << suggested;
}

TEST(DownloadNamesTest, LongNamesAreCutKeepingTheExtensionAndWholeCharacters) {
    std::string longName;
    for (int i = 0; i < 300; ++i) longName += "\xC3\xA9";  // 600 bytes of "é"
    const auto cut = sanitizedDownloadName(longName + ".tar.gz");
    EXPECT_LE(cut.size(), kMaximumDownloadNameBytes);
    EXPECT_TRUE(cut.ends_with("\xC3\xA9.gz"));
    const auto noExtension = sanitizedDownloadName(longName);
    EXPECT_LE(noExtension.size(), kMaximumDownloadNameBytes);
    EXPECT_EQ(noExtension.size() % 2, 0u);
}

TEST(DownloadNamesTest, ClashesGetTheFirstFreeNumber) {
    std::set<std::string> taken;
    const auto isTaken = [&](const std::string& name) { return taken.contains(name); };
    EXPECT_EQ(uniqueDownloadName("file.ext", isTaken), "file.ext");
    taken = {"file.ext", "file (1).ext", "file (3).ext"};
    EXPECT_EQ(uniqueDownloadName("file.ext", isTaken), "file (2).ext");
    taken = {"README"};
    EXPECT_EQ(uniqueDownloadName("README", isTaken), "README (1)");
    taken = {"archive.tar.gz"};
    EXPECT_EQ(uniqueDownloadName("archive.tar.gz", isTaken), "archive.tar (1).gz");
    EXPECT_EQ(partialDownloadName("file (2).ext"), "file (2).ext.part");
}

TEST(DownloadListTest, ARunThroughEachEnding) {
    DownloadList list;
    int changes = 0;
    auto connection = list.downloads().changed().connect([&] { ++changes; });
    const auto a = list.start("a.bin", "/d/a.bin");
    const auto b = list.start("b.bin", "/d/b.bin");
    const auto c = list.start("c.bin", "/d/c.bin");
    EXPECT_EQ(list.runningCount(), 3u);
    list.setProgress(a, 0.5);
    list.setProgress(b, 7.0);   // clamped
    list.setProgress(c, -1.0);  // clamped
    EXPECT_DOUBLE_EQ(*list.runningProgress(), 0.5);
    EXPECT_EQ(downloadStateText(*list.find(a)), "50%");

    list.finish(a, "/d/a (1).bin");
    list.fail(b, "Connection reset");
    list.cancel(c);
    EXPECT_EQ(list.runningCount(), 0u);
    EXPECT_FALSE(list.runningProgress());
    EXPECT_EQ(list.find(a)->fileName, "a (1).bin");
    EXPECT_EQ(downloadStateText(*list.find(a)), "Finished");
    EXPECT_EQ(downloadStateText(*list.find(b)), "Failed: Connection reset");
    EXPECT_EQ(downloadStateText(*list.find(c)), "Cancelled");

    // An ended download stays as it ended; unknown ids change nothing.
    const int before = changes;
    list.finish(c, "/d/c.bin");
    list.cancel(a);
    list.setProgress(b, 0.9);
    list.fail(99, "x");
    EXPECT_EQ(changes, before);
    EXPECT_EQ(list.find(c)->state, DownloadState::cancelled);
    list.clearEnded();
    EXPECT_TRUE(list.downloads()->empty());
}

TEST(DownloadListTest, KeepsTheNewestEndedButNeverDropsARunningOne) {
    DownloadList list;
    const auto first = list.start("first", "/d/first");  // still running
    for (std::size_t i = 0; i < DownloadList::kKept + 10; ++i) list.finish(list.start("f", "/d/f"), "/d/f");
    EXPECT_EQ(list.downloads()->size(), DownloadList::kKept);
    EXPECT_EQ(list.downloads()->front().id, first);
    EXPECT_EQ(list.runningCount(), 1u);
}

TEST(DownloadListTest, RunningTextNamesTheOldestRunningOneAndCountsTheOthers) {
    DownloadList list;
    EXPECT_EQ(runningDownloadsText(list.downloads()), "");
    const auto a = list.start("a.bin", "/d/a.bin");
    EXPECT_EQ(runningDownloadsText(list.downloads()), "a.bin");
    const auto b = list.start("b.bin", "/d/b.bin");
    list.start("c.bin", "/d/c.bin");
    EXPECT_EQ(runningDownloadsText(list.downloads()), "a.bin +2");
    list.finish(a, "/d/a.bin");
    EXPECT_EQ(runningDownloadsText(list.downloads()), "b.bin +1");
    list.fail(b, "gone");
    EXPECT_EQ(runningDownloadsText(list.downloads()), "c.bin");
}

}  // namespace
}  // namespace sarvik
