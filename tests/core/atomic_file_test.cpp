#include "core/atomic_file.h"

#include "support/file_helpers.h"
#include "support/temporary_directory.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <sys/stat.h>

namespace sarvik {
namespace {

using testing::readFile;
using testing::TemporaryDirectory;
using testing::writeFile;

std::size_t entriesIn(const std::filesystem::path& dir) {
    std::size_t n = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(dir)) ++n;
    return n;
}

// Fails one named step with the given errno.
class FailingLayer : public FileLayer {
public:
    FailingLayer(std::string step, int code) : m_step(std::move(step)), m_code(code) {}
    int create(const char* p) override { return fail("create") ? -1 : FileLayer::create(p); }
    ssize_t write(int fd, const void* d, std::size_t n) override { return fail("write") ? -1 : FileLayer::write(fd, d, n); }
    int flush(int fd) override { return fail("flush") ? -1 : FileLayer::flush(fd); }
    int rename(const char* a, const char* b) override { return fail("rename") ? -1 : FileLayer::rename(a, b); }
    int syncDirectory(const char* p) override { return fail("sync") ? -1 : FileLayer::syncDirectory(p); }

private:
    bool fail(const char* step) const {
        if (m_step != step) return false;
        errno = m_code;
        return true;
    }
    std::string m_step;
    int m_code;
};

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

TEST(AtomicFileTest, AFailedFolderSyncIsReportedAfterTheFileIsInPlace) {
    TemporaryDirectory dir;
    const auto file = dir / "data.json";
    FailingLayer layer("sync", EIO);
    const auto error = writeFileAtomically(file, "new", layer);
    ASSERT_TRUE(error);
    EXPECT_EQ(error->step, "sync");
    EXPECT_EQ(readFile(file), "new");
    EXPECT_EQ(entriesIn(dir.path()), 1u);
}

TEST(AtomicFileTest, AMissingFolderIsAnError) {
    TemporaryDirectory dir;
    EXPECT_TRUE(writeFileAtomically(dir / "missing" / "data.json", "x"));
    EXPECT_FALSE(readWholeFile(dir / "missing" / "data.json"));
    EXPECT_FALSE(readWholeFile(dir.path()));  // a folder is not a file
}

TEST(AtomicFileTest, StaleTemporariesOfThatFileAreRemoved) {
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

TEST(AtomicFileTest, NewFilesArePrivateToTheUser) {
    TemporaryDirectory dir;
    ASSERT_FALSE(writeFileAtomically(dir / "history.json", "[]"));
    struct stat info {};
    ASSERT_EQ(::stat((dir / "history.json").c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0600u);
}

}  // namespace
}  // namespace sarvik
