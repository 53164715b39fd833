#include "tools/store_kinds.h"

#include "support/file_helpers.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>

// Saves on a real full disk: a small tmpfs mounted in a mount namespace of
// this test's own (`unshare -rm`). The test runs itself again inside it.
namespace sarvik {
namespace {

namespace fs = std::filesystem;

constexpr const char* kMountEnv = "SARVIK_FULL_DISK_MOUNT";

// Writes to `file` until the disk is full.
void fillDisk(const fs::path& file) {
    const int fd = ::open(file.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    ASSERT_GE(fd, 0);
    const std::string block(4096, 'x');
    while (::write(fd, block.data(), block.size()) > 0) {
    }
    ::close(fd);
}

bool hasTemporaryFile(const fs::path& dir) {
    for (const auto& entry : fs::recursive_directory_iterator(dir))
        if (entry.path().filename().string().find(".tmp-") != std::string::npos) return true;
    return false;
}

void checkFullDisk(const fs::path& mount) {
    for (const auto& kind : testing::kStoreKinds) {
        SCOPED_TRACE(kind);
        const fs::path dir = mount / kind;
        const fs::path filler = mount / "filler";
        auto store = testing::openStoreKind(kind, dir);
        for (int i = 0; i < 3; ++i) store->addNext();
        const std::string before = testing::readFile(store->file());

        fillDisk(filler);
        store->addNext();
        EXPECT_EQ(store->itemTitles().size(), 4u) << "the change stays in memory";
        EXPECT_EQ(testing::readFile(store->file()), before) << "the old file byte for byte";
        EXPECT_FALSE(hasTemporaryFile(dir));

        fs::remove(filler);
        store->addNext();
        EXPECT_EQ(testing::openStoreKind(kind, dir)->itemTitles().size(), 5u);
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
