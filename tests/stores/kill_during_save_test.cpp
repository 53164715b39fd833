#include "tools/store_kinds.h"

#include "core/atomic_file.h"
#include "core/json.h"
#include "support/temporary_directory.h"

#include <gtest/gtest.h>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <random>

namespace sarvik {
namespace {

constexpr int kKillsPerStore = 1000;
#ifdef __SANITIZE_ADDRESS__
constexpr int kLongestDelayMicroseconds = 16000;  // saves run several times slower under the sanitizers
#else
constexpr int kLongestDelayMicroseconds = 4000;
#endif

// Starts the save loop and returns its pid once it has loaded the store.
pid_t startSaveLoop(const std::string& kind, const std::filesystem::path& dir) {
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

bool hasFileNamed(const std::filesystem::path& dir, std::string_view part) {
    for (const auto& entry : std::filesystem::directory_iterator(dir))
        if (entry.path().filename().string().find(part) != std::string::npos) return true;
    return false;
}

void expectWholeLists(const std::vector<std::string>& titles) {
    for (std::size_t i = 0; i < titles.size(); ++i) ASSERT_EQ(titles[i], "item-" + std::to_string(i));
}

class KillDuringSaveTest : public ::testing::TestWithParam<const char*> {};

TEST_P(KillDuringSaveTest, EveryKillLeavesTheOldOrTheNewWholeList) {
    testing::TemporaryDirectory dir;
    std::mt19937 random(20261206);
    std::uniform_int_distribution<int> delayMicroseconds(0, kLongestDelayMicroseconds);
    std::size_t previousCount = 0;
    int killsDuringGrowth = 0;

    for (int round = 0; round < kKillsPerStore; ++round) {
        const pid_t pid = startSaveLoop(GetParam(), dir.path());
        ASSERT_GT(pid, 0);
        ::usleep(static_cast<useconds_t>(delayMicroseconds(random)));
        ::kill(pid, SIGKILL);
        int status = 0;
        ASSERT_EQ(::waitpid(pid, &status, 0), pid);
        ASSERT_TRUE(WIFSIGNALED(status)) << "the save loop ended by itself";

        auto store = testing::openStoreKind(GetParam(), dir.path());
        const auto text = readWholeFile(store->file());
        if (text) {
            EXPECT_NO_THROW(json::parse(*text)) << "round " << round;
        }
        const auto titles = store->itemTitles();
        expectWholeLists(titles);
        ASSERT_GE(titles.size(), previousCount) << "a kill lost saved entries in round " << round;
        killsDuringGrowth += titles.size() > previousCount ? 1 : 0;
        previousCount = titles.size();
        // The interrupted save's temporary file is gone after the next start, and nothing was damaged.
        ASSERT_FALSE(hasFileNamed(dir.path(), ".tmp-")) << "round " << round;
        ASSERT_FALSE(hasFileNamed(dir.path(), ".damaged-")) << "round " << round;
    }
    EXPECT_GT(previousCount, 0u);
    EXPECT_GE(killsDuringGrowth, 10);  // the loop really was saving between kills
}

INSTANTIATE_TEST_SUITE_P(EveryStore, KillDuringSaveTest,
                         ::testing::Values("favorites", "history", "scrapbook", "auctions"));

}  // namespace
}  // namespace sarvik
