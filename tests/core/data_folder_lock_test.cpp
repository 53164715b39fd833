#include "core/data_folder_lock.h"

#include "support/temporary_directory.h"

#include <gtest/gtest.h>

#include <optional>

namespace sarvik {

using testing::TemporaryDirectory;

// flock belongs to an open file, so a second lock in this process stands in for a second browser.
TEST(DataFolderLockTest, OneHolderAtATimeAndTheLockEndsWithItsHolder) {
    TemporaryDirectory folder;
    std::optional<DataFolderLock> first(std::in_place, folder.path());
    EXPECT_EQ(first->state(), DataFolderLock::State::Held);
    EXPECT_EQ(DataFolderLock(folder.path()).state(), DataFolderLock::State::HeldByAnother);
    first.reset();
    EXPECT_EQ(DataFolderLock(folder.path()).state(), DataFolderLock::State::Held);
    EXPECT_EQ(DataFolderLock(folder.path() / "missing").state(), DataFolderLock::State::Unavailable);
}

}  // namespace sarvik
