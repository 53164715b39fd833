#include "core/atomic_file.h"

#include "support/faulty_files.h"
#include "support/file_helpers.h"
#include "support/temporary_directory.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

namespace sarvik {
namespace {

using testing::readFile;
using testing::TemporaryDirectory;
using testing::writeFile;
using FailingLayer = testing::FaultyFiles;

std::size_t entriesIn(const std::filesystem::path& dir) {
    std::size_t n = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(dir)) ++n;
    return n;
}

TEST(AtomicFileTest, WritesAndReplacesWholeFiles) {
    TemporaryDirectory dir;
    const auto file = dir / "data.json";
    EXPECT_FALSE(writeFileAtomically(file, "first"));
    EXPECT_EQ(readFile(file), "first");
    EXPECT_FALSE(writeFileAtomically(file, std::string(1 << 20, 'x')));
    EXPECT_EQ(readFile(file).size(), 1u << 20);
    EXPECT_FALSE(writeFileAtomically(file, ""));
    EXPECT_EQ(readFile(file), "");
    EXPECT_EQ(entriesIn(dir.path()), 1u);
}

TEST(AtomicFileTest, AFailureAtAnyStepKeepsTheOldFileAndLeavesNoTemporary) {
    for (const char* step : {"create", "write", "flush", "rename"}) {
        for (int code : {ENOSPC, EIO, EACCES}) {
            TemporaryDirectory dir;
            const auto file = dir / "data.json";
            writeFile(file, "old");
            FailingLayer layer(step, code);
            const auto error = writeFileAtomically(file, "new", layer);
            ASSERT_TRUE(error) << step;
            EXPECT_EQ(error->step, step);
            EXPECT_EQ(error->code, code);
            EXPECT_EQ(readFile(file), "old") << step;
            EXPECT_EQ(entriesIn(dir.path()), 1u) << step;
        }
    }
}

TEST(AtomicFileTest, AFailedFolderSyncIsReportedAfterTheFileIsInPlaceAndAMissingFolderIsAnError) {
    TemporaryDirectory dir;
    const auto file = dir / "data.json";
    FailingLayer layer("sync", EIO);
    const auto error = writeFileAtomically(file, "new", layer);
    ASSERT_TRUE(error);
    EXPECT_EQ(error->step, "sync");
    EXPECT_EQ(readFile(file), "new");
    EXPECT_EQ(entriesIn(dir.path()), 1u);
    EXPECT_TRUE(writeFileAtomically(dir / "missing" / "data.json", "x"));
    EXPECT_FALSE(readWholeFile(dir / "missing" / "data.json"));
    EXPECT_FALSE(readWholeFile(dir.path()));  // a folder is not a file
}

TEST(AtomicFileTest, StaleTemporariesOfThatFileAreRemovedAndNewFilesArePrivate) {
    TemporaryDirectory dir;
    writeFile(dir / "data.json", "keep");
    writeFile(dir / "data.json.tmp-0123456789abcdef", "stale");
    writeFile(dir / "other.json.tmp-0123456789abcdef", "not ours");
    writeFile(dir / "data.json.damaged-1", "kept copy");
    removeStaleTemporaryFiles(dir / "data.json");
    EXPECT_FALSE(std::filesystem::exists(dir / "data.json.tmp-0123456789abcdef"));
    EXPECT_TRUE(std::filesystem::exists(dir / "other.json.tmp-0123456789abcdef"));
    EXPECT_TRUE(std::filesystem::exists(dir / "data.json.damaged-1"));
    EXPECT_EQ(readFile(dir / "data.json"), "keep");
    ASSERT_FALSE(writeFileAtomically(dir / "history.json", "[]"));
    struct stat info {};
    ASSERT_EQ(::stat((dir / "history.json").c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0600u);
}

TEST(AtomicFileTest, DamagedCopiesNeverReplaceEarlierOnes) {
    TemporaryDirectory dir;
    const auto file = dir / "data.json";
    writeFile(file, "broken 1");
    EXPECT_EQ(keepDamagedCopy(file), dir / "data.json.damaged-1");
    EXPECT_FALSE(writeFileAtomically(file, "broken 2"));
    EXPECT_EQ(keepDamagedCopy(file), dir / "data.json.damaged-2");
    EXPECT_FALSE(writeFileAtomically(file, "good"));
    EXPECT_EQ(readFile(dir / "data.json.damaged-1"), "broken 1");
    EXPECT_EQ(readFile(dir / "data.json.damaged-2"), "broken 2");
    EXPECT_EQ(readFile(file), "good");
    EXPECT_FALSE(keepDamagedCopy(dir / "absent.json"));
}

}  // namespace
}  // namespace sarvik
