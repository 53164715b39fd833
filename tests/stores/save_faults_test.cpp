#include "tools/store_kinds.h"

#include "core/atomic_file.h"
#include "support/file_helpers.h"
#include "support/temporary_directory.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <tuple>

// Every step of a save fails in turn, with each of the errors a full disk, a
// failing disk or a permission change gives, for every store.
namespace sarvik {
namespace {

enum class Step { create, write, flush, rename, sync };

const char* nameOf(Step step) {
    switch (step) {
    case Step::create: return "create";
    case Step::write: return "write";
    case Step::flush: return "flush";
    case Step::rename: return "rename";
    case Step::sync: return "sync";
    }
    return "";
}

// The real calls, except that while armed one step fails with one error.
class FailingFiles final : public FileLayer {
public:
    void arm(Step step, int code) { m_step = step, m_code = code, m_isArmed = true; }
    void disarm() { m_isArmed = false; }
    int failures() const { return m_failures; }

    int create(const char* path) override { return fails(Step::create) ? -1 : FileLayer::create(path); }
    ssize_t write(int fd, const void* data, std::size_t size) override {
        return fails(Step::write) ? -1 : FileLayer::write(fd, data, size);
    }
    int flush(int fd) override { return fails(Step::flush) ? -1 : FileLayer::flush(fd); }
    int rename(const char* from, const char* to) override {
        return fails(Step::rename) ? -1 : FileLayer::rename(from, to);
    }
    int syncDirectory(const char* path) override {
        return fails(Step::sync) ? -1 : FileLayer::syncDirectory(path);
    }

private:
    bool fails(Step step) {
        if (!m_isArmed || step != m_step) return false;
        ++m_failures;
        errno = m_code;
        return true;
    }

    Step m_step = Step::create;
    int m_code = 0;
    bool m_isArmed = false;
    int m_failures = 0;
};

bool hasTemporaryFile(const std::filesystem::path& dir) {
    for (const auto& entry : std::filesystem::recursive_directory_iterator(dir))
        if (entry.path().filename().string().find(".tmp-") != std::string::npos) return true;
    return false;
}

std::vector<std::string> titles(std::size_t count) {
    std::vector<std::string> list;
    for (std::size_t i = 0; i < count; ++i) list.push_back("item-" + std::to_string(i));
    return list;
}

using FaultCase = std::tuple<std::string, Step, int>;

class SaveFaultTest : public ::testing::TestWithParam<FaultCase> {};

TEST_P(SaveFaultTest, FailedSaveKeepsTheOldFileAndTheNextSaveWritesTheChange) {
    const auto& [kind, step, code] = GetParam();
    testing::TemporaryDirectory dir;
    FailingFiles files;
    {
        auto store = testing::openStoreKind(kind, dir.path(), files);
        store->addNext();
        store->addNext();
        const std::string before = testing::readFile(store->file());

        files.arm(step, code);
        store->addNext();
        EXPECT_GT(files.failures(), 0);
        EXPECT_EQ(store->itemTitles(), titles(3)) << "the change stays in memory";
        EXPECT_FALSE(hasTemporaryFile(dir.path()));
        if (step == Step::sync) {
            // The rename has happened: the new whole file is in place, only its durability is in doubt.
            EXPECT_EQ(testing::openStoreKind(kind, dir.path())->itemTitles(), titles(3));
        } else {
            EXPECT_EQ(testing::readFile(store->file()), before) << "the old file byte for byte";
        }

        files.disarm();
        store->addNext();
    }
    EXPECT_EQ(testing::openStoreKind(kind, dir.path())->itemTitles(), titles(4));
    EXPECT_FALSE(hasTemporaryFile(dir.path()));
}

std::string caseName(const ::testing::TestParamInfo<FaultCase>& info) {
    const auto& [kind, step, code] = info.param;
    const char* error = code == ENOSPC ? "ENOSPC" : code == EIO ? "EIO" : "EACCES";
    return kind + "_" + nameOf(step) + "_" + error;
}

INSTANTIATE_TEST_SUITE_P(EveryStoreStepAndError, SaveFaultTest,
                         ::testing::Combine(::testing::ValuesIn(testing::kStoreKinds),
                                            ::testing::Values(Step::create, Step::write, Step::flush, Step::rename,
                                                              Step::sync),
                                            ::testing::Values(ENOSPC, EIO, EACCES)),
                         caseName);

}  // namespace
}  // namespace sarvik
