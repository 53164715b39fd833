#include "stores/download_files.h"

#include "support/file_helpers.h"
#include "support/temporary_directory.h"

#include <gtest/gtest.h>

namespace sarvik {
namespace {

namespace fs = std::filesystem;
using testing::readFile;
using testing::writeFile;

class DownloadFilesTest : public ::testing::Test {
protected:
    testing::TemporaryDirectory folder;
};

TEST_F(DownloadFilesTest, TheChosenNameAvoidsFilesPartialFilesAndOtherDownloads) {
    EXPECT_EQ(chooseDownloadName("report.bin", folder.path(), {}), "report.bin");
    writeFile(folder / "report.bin", "old");
    EXPECT_EQ(chooseDownloadName("report.bin", folder.path(), {}), "report (1).bin");
    writeFile(folder / "report (1).bin.part", "running elsewhere");
    EXPECT_EQ(chooseDownloadName("report.bin", folder.path(), {}), "report (2).bin");
    EXPECT_EQ(chooseDownloadName("report.bin", folder.path(), {"report (2).bin"}), "report (3).bin");
    // A dangling link takes its name as well: nothing is written through it.
    fs::create_symlink(folder / "nowhere", folder / "link.txt");
    EXPECT_EQ(chooseDownloadName("link.txt", folder.path(), {}), "link (1).txt");
    EXPECT_EQ(chooseDownloadName("../../evil.sh", folder.path(), {}), "evil.sh") << "and sanitized";
}

TEST_F(DownloadFilesTest, MovingNeverReplacesAFile) {
    writeFile(folder / "a.part", "new");
    writeFile(folder / "a", "old");
    EXPECT_EQ(moveWithoutReplacing(folder / "a.part", folder / "a"), MoveResult::exists);
    EXPECT_EQ(readFile(folder / "a"), "old");
    EXPECT_EQ(readFile(folder / "a.part"), "new");
    EXPECT_EQ(moveWithoutReplacing(folder / "a.part", folder / "b"), MoveResult::moved);
    EXPECT_EQ(readFile(folder / "b"), "new");
    EXPECT_FALSE(fs::exists(folder / "a.part"));
    EXPECT_EQ(moveWithoutReplacing(folder / "missing", folder / "c"), MoveResult::failed);
}

TEST_F(DownloadFilesTest, APartialFileTakesItsNameOrTheNextFreeOneAtTheMoveAndStaysIfTheMoveFails) {
    writeFile(folder / "r.bin.part", "first");
    const auto first = moveDownloadIntoPlace(folder / "r.bin.part", folder.path(), "r.bin", {});
    ASSERT_TRUE(first);
    EXPECT_EQ(*first, folder / "r.bin");

    // Someone wrote the chosen name meanwhile; another download holds the next.
    writeFile(folder / "r.bin.part", "second");
    const auto second = moveDownloadIntoPlace(folder / "r.bin.part", folder.path(), "r.bin", {"r (1).bin"});
    ASSERT_TRUE(second);
    EXPECT_EQ(*second, folder / "r (2).bin");
    EXPECT_EQ(readFile(folder / "r.bin"), "first");
    EXPECT_EQ(readFile(folder / "r (2).bin"), "second");
    EXPECT_FALSE(fs::exists(folder / "r.bin.part"));
    writeFile(folder / "x.part", "kept");
    // Across into a folder that is gone: the move fails and the data stays.
    EXPECT_FALSE(moveDownloadIntoPlace(folder / "x.part", folder / "gone", "x", {}));
    EXPECT_EQ(readFile(folder / "x.part"), "kept");
}

}  // namespace
}  // namespace sarvik
