#include "tools/store_kinds.h"

#include "core/atomic_file.h"
#include "support/file_helpers.h"
#include "support/temporary_directory.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cerrno>
#include <random>

// Damaged and unreadable store files: the store starts, never crashes, and the
// file is kept aside byte for byte before any save replaces it.
namespace sarvik {
namespace {

namespace fs = std::filesystem;

fs::path copyNumber(const fs::path& file, int n) { return file.string() + ".damaged-" + std::to_string(n); }

// A valid file of `kind` holding item-0 .. item-2.
std::string validFile(const std::string& kind) {
    testing::TemporaryDirectory dir;
    auto store = testing::openStoreKind(kind, dir.path());
    for (int i = 0; i < 3; ++i) store->addNext();
    return testing::readFile(store->file());
}

// Puts `bytes` in place of the store's file, opens the store and changes it.
// Returns whether the file did not decode and was kept as copy `n`, byte for
// byte; a file that decodes is not kept and is replaced by the save.
bool openDamaged(const std::string& kind, const fs::path& dir, const std::string& bytes, int n = 1) {
    const fs::path file = dir / testing::storeFileName(kind);
    testing::writeFile(file, bytes);
    auto store = testing::openStoreKind(kind, dir);
    store->addNext();
    const bool kept = fs::exists(copyNumber(file, n));
    if (kept) {
        EXPECT_EQ(testing::readFile(copyNumber(file, n)), bytes);
    }
    EXPECT_FALSE(fs::exists(copyNumber(file, n + 1)));
    // Whatever was there, the file now holds a list the store reads back.
    EXPECT_EQ(testing::openStoreKind(kind, dir)->itemTitles(), store->itemTitles());
    return kept;
}

class DamagedFileTest : public ::testing::TestWithParam<std::string> {};

TEST_P(DamagedFileTest, FileCutAtEveryByteIsKeptBeforeTheFirstSave) {
    const std::string valid = validFile(GetParam());
    for (std::size_t size = 0; size < valid.size(); ++size) {
        testing::TemporaryDirectory dir;
        EXPECT_TRUE(openDamaged(GetParam(), dir.path(), valid.substr(0, size))) << "cut at " << size;
    }
}

TEST_P(DamagedFileTest, FlippedBytesNeverCrashAndUndecodableFilesAreKept) {
    const std::string valid = validFile(GetParam());
    std::mt19937 random(42);
    std::uniform_int_distribution<std::size_t> position(0, valid.size() - 1);
    std::uniform_int_distribution<int> bit(0, 7);
    int kept = 0;
    for (int round = 0; round < 300; ++round) {
        std::string flipped = valid;
        flipped[position(random)] ^= static_cast<char>(1 << bit(random));
        testing::TemporaryDirectory dir;
        kept += openDamaged(GetParam(), dir.path(), flipped);
    }
    EXPECT_GT(kept, 0);
}

TEST_P(DamagedFileTest, GarbageBadTextWrongTypesAndDeepNestingAreKept) {
    std::mt19937 random(7);
    std::string garbage(4096, '\0');
    for (auto& c : garbage) c = static_cast<char>(random());
    std::string valid = validFile(GetParam());
    std::string badUtf8 = valid;
    badUtf8.replace(badUtf8.find("item-1"), 6, "item-\xC3\x28");
    const std::vector<std::string> damaged{
        garbage,
        badUtf8,
        "\xEF\xBB\xBF" + valid.substr(0, valid.size() / 2),
        "\"text\"",
        "42",
        "null",
        valid.front() == '[' ? "{}" : "[]",
        std::string(10000, '[') + std::string(10000, ']'),
        [] {
            std::string deep;
            for (int i = 0; i < 10000; ++i) deep += "{\"a\":";
            return deep + "0" + std::string(10000, '}');
        }(),
        std::string(100000, '['),
    };
    for (std::size_t i = 0; i < damaged.size(); ++i) {
        testing::TemporaryDirectory dir;
        EXPECT_TRUE(openDamaged(GetParam(), dir.path(), damaged[i])) << "case " << i;
    }
}

TEST_P(DamagedFileTest, LaterDamageNeverReplacesAnEarlierKeptCopy) {
    testing::TemporaryDirectory dir;
    const fs::path file = dir / testing::storeFileName(GetParam());
    ASSERT_TRUE(openDamaged(GetParam(), dir.path(), "first damage", 1));
    ASSERT_TRUE(openDamaged(GetParam(), dir.path(), "second damage", 2));
    ASSERT_TRUE(openDamaged(GetParam(), dir.path(), "[", 3));
    EXPECT_EQ(testing::readFile(copyNumber(file, 1)), "first damage");
    EXPECT_EQ(testing::readFile(copyNumber(file, 2)), "second damage");
}

// We run as root, who reads any file whatever its mode: a folder in the
// file's place is what cannot be read here. It cannot be kept either, so it
// must never be replaced; the changes stay in memory.
TEST_P(DamagedFileTest, FolderInPlaceOfTheFileIsNeverReplaced) {
    testing::TemporaryDirectory dir;
    const fs::path file = dir / testing::storeFileName(GetParam());
    fs::create_directory(file);
    testing::writeFile(file / "inside", "kept");
    auto store = testing::openStoreKind(GetParam(), dir.path());
    store->addNext();
    store->addNext();
    EXPECT_EQ(store->itemTitles(), (std::vector<std::string>{"item-0", "item-1"}));
    ASSERT_TRUE(fs::is_directory(file));
    EXPECT_EQ(testing::readFile(file / "inside"), "kept");
    EXPECT_FALSE(fs::exists(copyNumber(file, 1)));
}

// A FIFO cannot be read as a file (and must not block the start); it is kept
// under the damaged name, as it is, before the first save.
TEST_P(DamagedFileTest, FifoInPlaceOfTheFileIsKeptBeforeTheFirstSave) {
    testing::TemporaryDirectory dir;
    const fs::path file = dir / testing::storeFileName(GetParam());
    ASSERT_EQ(::mkfifo(file.c_str(), 0600), 0);
    auto store = testing::openStoreKind(GetParam(), dir.path());
    store->addNext();
    EXPECT_EQ(fs::status(copyNumber(file, 1)).type(), fs::file_type::fifo);
    EXPECT_EQ(testing::openStoreKind(GetParam(), dir.path())->itemTitles(), store->itemTitles());
}

// Where the filesystem has no hard links, the damaged file is copied instead.
class NoHardLinks final : public FileLayer {
public:
    int link(const char*, const char*) override {
        errno = EPERM;
        return -1;
    }
};

TEST_P(DamagedFileTest, WithoutHardLinksTheDamagedFileIsCopiedByteForByte) {
    testing::TemporaryDirectory dir;
    const fs::path file = dir / testing::storeFileName(GetParam());
    NoHardLinks files;
    testing::writeFile(copyNumber(file, 1), "an earlier copy");
    testing::writeFile(file, "not \xFF json");
    auto store = testing::openStoreKind(GetParam(), dir.path(), files);
    store->addNext();
    EXPECT_EQ(testing::readFile(copyNumber(file, 1)), "an earlier copy");
    EXPECT_EQ(testing::readFile(copyNumber(file, 2)), "not \xFF json");
    struct stat kept {};
    ASSERT_EQ(::stat(copyNumber(file, 2).c_str(), &kept), 0);
    EXPECT_EQ(kept.st_nlink, 1u) << "a copy, not a link";
}

INSTANTIATE_TEST_SUITE_P(EveryStore, DamagedFileTest, ::testing::ValuesIn(testing::kStoreKinds),
                         [](const auto& info) { return info.param; });

}  // namespace
}  // namespace sarvik
