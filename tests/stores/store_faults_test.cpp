#include "tools/store_kinds.h"

#include "core/json.h"
#include "support/faulty_files.h"
#include "support/file_helpers.h"
#include "support/temporary_directory.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <random>
#include <regex>

// Every store kind against damaged files, failing saves, a full disk and kills
// at random moments: the store starts, never crashes, keeps a damaged file
// aside byte for byte before replacing it, and never loses a whole save.
namespace sarvik {
namespace {

namespace fs = std::filesystem;
using namespace sarvik::testing;

fs::path copyNumber(const fs::path& file, int n) { return file.string() + ".damaged-" + std::to_string(n); }

// A valid file of `kind` holding item-0 .. item-2.
std::string validFile(const std::string& kind) {
    TemporaryDirectory dir;
    auto store = openStoreKind(kind, dir.path());
    for (int i = 0; i < 3; ++i) store->addNext();
    return readFile(store->file());
}

// Puts `bytes` in place of the store's file, opens the store and changes it.
// Returns whether the file was kept as copy `n`, byte for byte; a file that
// decodes is not kept and is replaced by the save.
bool openDamaged(const std::string& kind, const fs::path& dir, const std::string& bytes, int n = 1) {
    const fs::path file = dir / storeFileName(kind);
    writeFile(file, bytes);
    auto store = openStoreKind(kind, dir);
    if (kind != "favorites") {  // favorites write their first-run list at once
        EXPECT_EQ(readFile(file), bytes) << "untouched until the first save";
    }
    store->addNext();
    const bool kept = fs::exists(copyNumber(file, n));
    if (kept) {
        EXPECT_EQ(readFile(copyNumber(file, n)), bytes);
    }
    EXPECT_FALSE(fs::exists(copyNumber(file, n + 1)));
    EXPECT_EQ(openStoreKind(kind, dir)->itemTitles(), store->itemTitles()) << "the file now reads back";
    return kept;
}

class StoreFaultTest : public ::testing::TestWithParam<std::string> {};

TEST_P(StoreFaultTest, FileCutAtEveryByteIsKeptBeforeTheFirstSave) {
    const std::string valid = validFile(GetParam());
    for (std::size_t size = 0; size < valid.size(); ++size) {
        TemporaryDirectory dir;
        EXPECT_TRUE(openDamaged(GetParam(), dir.path(), valid.substr(0, size))) << "cut at " << size;
    }
}

TEST_P(StoreFaultTest, FlippedBytesNeverCrashAndUndecodableFilesAreKept) {
    const std::string valid = validFile(GetParam());
    std::mt19937 random(42);
    std::uniform_int_distribution<std::size_t> position(0, valid.size() - 1);
    int kept = 0;
    for (int round = 0; round < 300; ++round) {
        std::string flipped = valid;
        flipped[position(random)] ^= static_cast<char>(1 << random() % 8);
        TemporaryDirectory dir;
        kept += openDamaged(GetParam(), dir.path(), flipped);
    }
    EXPECT_GT(kept, 0);
}

// Damage of every kind's own shape: a missing or mistyped key, a bad id, an
// unknown name, besides garbage, bad text, wrong types and deep nesting.
TEST_P(StoreFaultTest, GarbageBadTextWrongTypesAndMisshapenRecordsAreKept) {
    const std::string& kind = GetParam();
    std::mt19937 random(7);
    std::string garbage(4096, '\0');
    for (auto& c : garbage) c = static_cast<char>(random());
    const std::string valid = validFile(kind);
    std::string deep;
    for (int i = 0; i < 10000; ++i) deep += "{\"a\":";
    std::vector<std::string> damaged{garbage,
                                     std::regex_replace(valid, std::regex("item-1"), "item-\xC3\x28"),
                                     "\xEF\xBB\xBF" + valid.substr(0, valid.size() / 2),
                                     "\"text\"", "42", "null", "not json",
                                     valid.front() == '[' ? "{}" : "[]",
                                     std::string(10000, '[') + std::string(10000, ']'),
                                     deep + "0" + std::string(10000, '}'),
                                     std::string(100000, '[')};
    const std::vector<std::pair<const char*, const char*>> edits = [&]() -> std::vector<std::pair<const char*, const char*>> {
        if (kind == "favorites") return {{",\"sortOrder\":0", ""}, {"\"isFolder\":false", "\"isFolder\":1"},
                                         {"\"parentFolderId\":\"[^\"]*\"", "\"parentFolderId\":\"x\""}};
        if (kind == "history") return {{"\"id\":\"[^\"]*\"", "\"id\":\"not a uuid\""}, {",\"visitCount\":1", ""},
                                       {"\"visitCount\":1", "\"visitCount\":1.5"}, {"\"title\":\"item-0\"", "\"title\":null"}};
        if (kind == "scrapbook") return {{",\"folders\"", ",\"folderz\""}, {"\"id\":\"[^\"]*\"", "\"id\":\"x\""},
                                         {"\"items\":\\[\\]", "\"items\":[{\"id\":\"AAAAAAAA-AAAA-4AAA-8AAA-AAAAAAAAAAAA\"}]"}};
        return {{"Custom URL", "Rakuten"}, {"Watching", "Pending"}, {",\"refreshIntervalMinutes\":5", ""},
                {"\"refreshIntervalMinutes\":5", "\"refreshIntervalMinutes\":5.5"},
                {"\"isAutoRefreshEnabled\":true", "\"isAutoRefreshEnabled\":\"yes\""},
                {"\"priceHistory\":\\[\\{\"id\":\"[^\"]*\",", "\"priceHistory\":[{"}};
    }();
    for (const auto& [from, to] : edits) {
        damaged.push_back(std::regex_replace(valid, std::regex(from), to, std::regex_constants::format_first_only));
        EXPECT_NE(damaged.back(), valid) << from;
    }
    for (std::size_t i = 0; i < damaged.size(); ++i) {
        TemporaryDirectory dir;
        EXPECT_TRUE(openDamaged(kind, dir.path(), damaged[i])) << "case " << i << ": " << damaged[i].substr(0, 300);
    }
}

TEST_P(StoreFaultTest, LaterDamageNeverReplacesAnEarlierKeptCopy) {
    TemporaryDirectory dir;
    const fs::path file = dir / storeFileName(GetParam());
    ASSERT_TRUE(openDamaged(GetParam(), dir.path(), "first damage", 1));
    openStoreKind(GetParam(), dir.path())->addNext();  // kept once, not at every save
    EXPECT_FALSE(fs::exists(copyNumber(file, 2)));
    ASSERT_TRUE(openDamaged(GetParam(), dir.path(), "second damage", 2));
    ASSERT_TRUE(openDamaged(GetParam(), dir.path(), "[", 3));
    EXPECT_EQ(readFile(copyNumber(file, 1)), "first damage");
    EXPECT_EQ(readFile(copyNumber(file, 2)), "second damage");
}

// We run as root, who reads any file whatever its mode: a folder in the
// file's place is what cannot be read here. It cannot be kept either, so it
// must never be replaced; the changes stay in memory.
TEST_P(StoreFaultTest, FolderInPlaceOfTheFileIsNeverReplaced) {
    TemporaryDirectory dir;
    const fs::path file = dir / storeFileName(GetParam());
    fs::create_directory(file);
    writeFile(file / "inside", "kept");
    auto store = openStoreKind(GetParam(), dir.path());
    store->addNext();
    store->addNext();
    EXPECT_EQ(store->itemTitles(), itemTitles(2));
    EXPECT_EQ(readFile(file / "inside"), "kept");
    EXPECT_FALSE(fs::exists(copyNumber(file, 1)));
}

// A FIFO must not block the start; it is kept under the damaged name before
// the first save. Where there are no hard links, a damaged file is copied.
TEST_P(StoreFaultTest, FifoIsKeptAndWithoutHardLinksAFileIsCopiedByteForByte) {
    TemporaryDirectory dir;
    const fs::path file = dir / storeFileName(GetParam());
    ASSERT_EQ(::mkfifo(file.c_str(), 0600), 0);
    openStoreKind(GetParam(), dir.path())->addNext();
    EXPECT_EQ(fs::status(copyNumber(file, 1)).type(), fs::file_type::fifo);
    EXPECT_EQ(openStoreKind(GetParam(), dir.path())->itemTitles(), itemTitles(1));

    FaultyFiles noLinks("link", EPERM);
    writeFile(file, "not \xFF json");
    openStoreKind(GetParam(), dir.path(), noLinks)->addNext();
    EXPECT_EQ(readFile(copyNumber(file, 2)), "not \xFF json");
    struct stat kept {};
    ASSERT_EQ(::stat(copyNumber(file, 2).c_str(), &kept), 0);
    EXPECT_EQ(kept.st_nlink, 1u) << "a copy, not a link";
}

// Every step of a save fails in turn, with the errors a full disk, a failing
// disk or a permission change give.
TEST_P(StoreFaultTest, FailedSaveKeepsTheOldFileAndTheNextSaveWritesTheChange) {
    const std::string& kind = GetParam();
    for (const char* step : {"create", "write", "flush", "rename", "sync"}) {
        for (int code : {ENOSPC, EIO, EACCES}) {
            SCOPED_TRACE(std::string(step) + " " + std::to_string(code));
            TemporaryDirectory dir;
            FaultyFiles files;
            {
                auto store = openStoreKind(kind, dir.path(), files);
                store->addNext();
                store->addNext();
                const std::string before = readFile(store->file());
                files.arm(step, code);
                store->addNext();
                EXPECT_GT(files.failures(), 0);
                EXPECT_EQ(store->itemTitles(), itemTitles(3)) << "the change stays in memory";
                EXPECT_FALSE(hasFileNamed(dir.path(), ".tmp-"));
                if (std::string(step) == "sync") {  // renamed already: only durability is in doubt
                    EXPECT_EQ(openStoreKind(kind, dir.path())->itemTitles(), itemTitles(3));
                } else {
                    EXPECT_EQ(readFile(store->file()), before) << "the old file byte for byte";
                }
                files.disarm();
                store->addNext();
            }
            EXPECT_EQ(openStoreKind(kind, dir.path())->itemTitles(), itemTitles(4));
            EXPECT_FALSE(hasFileNamed(dir.path(), ".tmp-"));
        }
    }
}

// Starts the save loop and returns its pid once it has loaded the store.
pid_t startSaveLoop(const std::string& kind, const fs::path& dir) {
    int ready[2];
    if (::pipe(ready) != 0) return -1;
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::close(ready[0]);
        const std::string fd = std::to_string(ready[1]);
        ::execl(STORE_SAVE_LOOP_PATH, "store_save_loop", kind.c_str(), dir.c_str(), fd.c_str(), nullptr);
        ::_exit(127);
    }
    ::close(ready[1]);
    char byte = 0;
    const bool started = ::read(ready[0], &byte, 1) == 1;
    ::close(ready[0]);
    return started ? pid : -1;
}

TEST_P(StoreFaultTest, EveryKillDuringASaveLeavesTheOldOrTheNewWholeList) {
#ifdef __SANITIZE_ADDRESS__
    constexpr int kLongestDelayMicroseconds = 16000;  // saves run several times slower under the sanitizers
#else
    constexpr int kLongestDelayMicroseconds = 4000;
#endif
    TemporaryDirectory dir;
    std::mt19937 random(20261206);
    std::uniform_int_distribution<int> delayMicroseconds(0, kLongestDelayMicroseconds);
    std::size_t previousCount = 0;
    int killsDuringGrowth = 0;
    for (int round = 0; round < 1000; ++round) {
        const pid_t pid = startSaveLoop(GetParam(), dir.path());
        ASSERT_GT(pid, 0);
        ::usleep(static_cast<useconds_t>(delayMicroseconds(random)));
        ::kill(pid, SIGKILL);
        int status = 0;
        ASSERT_EQ(::waitpid(pid, &status, 0), pid);
        ASSERT_TRUE(WIFSIGNALED(status)) << "the save loop ended by itself";

        auto store = openStoreKind(GetParam(), dir.path());
        if (const auto text = readWholeFile(store->file())) {
            EXPECT_NO_THROW(json::parse(*text)) << "round " << round;
        }
        const auto titles = store->itemTitles();
        ASSERT_EQ(titles, itemTitles(titles.size())) << "round " << round;
        ASSERT_GE(titles.size(), previousCount) << "a kill lost saved entries in round " << round;
        killsDuringGrowth += titles.size() > previousCount ? 1 : 0;
        previousCount = titles.size();
        // The interrupted save's temporary file is gone after the next start, and nothing was damaged.
        ASSERT_FALSE(hasFileNamed(dir.path(), ".tmp-")) << "round " << round;
        ASSERT_FALSE(hasFileNamed(dir.path(), ".damaged-")) << "round " << round;
    }
    EXPECT_GE(killsDuringGrowth, 10);  // the loop really was saving between kills
}

INSTANTIATE_TEST_SUITE_P(EveryStore, StoreFaultTest, ::testing::ValuesIn(kStoreKinds),
                         [](const auto& info) { return info.param; });

// Saves on a real full disk: a small tmpfs mounted in a mount namespace of
// this test's own (`unshare -rm`). The test runs itself again inside it.
constexpr const char* kMountEnv = "SARVIK_FULL_DISK_MOUNT";

void checkFullDisk(const fs::path& mount) {
    for (const auto& kind : kStoreKinds) {
        SCOPED_TRACE(kind);
        const fs::path dir = mount / kind;
        auto store = openStoreKind(kind, dir);
        for (int i = 0; i < 3; ++i) store->addNext();
        const std::string before = readFile(store->file());
        const int fd = ::open((mount / "filler").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        ASSERT_GE(fd, 0);
        const std::string block(4096, 'x');
        while (::write(fd, block.data(), block.size()) > 0) {
        }
        ::close(fd);
        store->addNext();
        EXPECT_EQ(store->itemTitles().size(), 4u) << "the change stays in memory";
        EXPECT_EQ(readFile(store->file()), before) << "the old file byte for byte";
        EXPECT_FALSE(hasFileNamed(dir, ".tmp-"));
        fs::remove(mount / "filler");
        store->addNext();
        EXPECT_EQ(openStoreKind(kind, dir)->itemTitles().size(), 5u);
        store.reset();
        fs::remove_all(dir);
    }
}

TEST(FullDiskTest, SavesOnAFullTmpfsKeepTheOldFileAndTheNextSaveWritesTheChange) {
    if (const char* mount = std::getenv(kMountEnv)) return checkFullDisk(mount);
    char pattern[] = "/tmp/sarvik-full-disk-XXXXXX";
    ASSERT_NE(::mkdtemp(pattern), nullptr);
    const std::string mount = pattern;
    const std::string script = "mount -t tmpfs -o size=512k tmpfs " + mount + " || exit 77; exec \"$0\" " +
                               "--gtest_filter=FullDiskTest.*";
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::setenv(kMountEnv, mount.c_str(), 1);
        const int quiet = ::open("/dev/null", O_WRONLY);
        ::dup2(quiet, STDERR_FILENO);  // unshare's own complaint; our verdict follows
        const std::string self = fs::read_symlink("/proc/self/exe");
        ::execlp("unshare", "unshare", "-rm", "sh", "-c", script.c_str(), self.c_str(), nullptr);
        ::_exit(77);
    }
    int status = 0;
    ::waitpid(pid, &status, 0);
    fs::remove(mount);
    if (WIFEXITED(status) && WEXITSTATUS(status) == 77)
        GTEST_SKIP() << "cannot mount a small tmpfs here (unshare -rm with mount refused); full-disk saves not tested";
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "the run inside the namespace failed";
}

}  // namespace
}  // namespace sarvik
