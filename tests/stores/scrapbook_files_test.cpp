#include "core/main_loop_hop.h"
#include "stores/scrapbook_store.h"
#include "support/fake_clock.h"
#include "support/file_helpers.h"
#include "support/temporary_directory.h"

#include <gtest/gtest.h>
#include <glib.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace sarvik::testing {
namespace {

namespace fs = std::filesystem;

constexpr const char* kId = "0A1B2C3D-4E5F-4061-8273-A4B5C6D7E8F9";
const std::string kArchive = std::string(kId) + ".webarchive";

class ArchiveNow final : public PageArchiver {
public:
    void createArchive(Completion completion) override { completion(std::string("From: <Saved>\r\n"), ""); }
};

// A failing flush of the archive folder, after the archive's rename.
class ArchiveFolderSyncFails final : public FileLayer {
public:
    int syncDirectory(const char* path) override {
        if (std::string_view(path).ends_with("Scrapbook")) return errno = EIO, -1;
        return FileLayer::syncDirectory(path);
    }
};

TEST(ScrapbookFilesTest, StartSweepsHalfWrittenArchivesAndListsArchivesWhoseRecordWasNeverWritten) {
    TemporaryDirectory dir;
    FakeClock clock{Date{786000000}};
    fs::create_directories(dir / "Scrapbook" / (kArchive + ".tmp-0123456789abcdef"));  // a folder: left alone
    writeFile(dir / "Scrapbook" / (std::string("0A1B2C3D-4E5F-4061-8273-A4B5C6D7E8F0.webarchive.tmp-00112233445566ff")), "half");
    writeFile(dir / "Scrapbook" / "notes.webarchive.tmp-0123456789abcdef", "not a name the store gives");
    writeFile(dir / "Scrapbook" / kArchive,
              "From: <Saved by WebKit>\r\nSubject: Classes \xff Python\r\nMIME-Version: 1.0\r\n\r\n--b\r\n"
              "Content-Type: text/html\r\nContent-Location: http://127.0.0.1:8311/tutorial/classes.html\r\n\r\n<p>x");
    writeFile(dir / "Scrapbook" / "other.webarchive", "not a store name: never listed");
    {
        ScrapbookStore store(dir.path(), clock);
        ASSERT_EQ(store.items()->size(), 1u);
        const ScrapbookItem& item = store.items()->front();
        EXPECT_EQ(item.id.toString(), kId);
        EXPECT_EQ(item.title, "Classes \xEF\xBF\xBD Python");
        EXPECT_EQ(item.url, "http://127.0.0.1:8311/tutorial/classes.html");
        EXPECT_EQ(item.archiveFilename, kArchive);
        EXPECT_EQ(store.readArchive(item)->substr(0, 6), "From: ");
    }
    std::vector<std::string> left;
    for (const auto& entry : fs::directory_iterator(dir / "Scrapbook")) left.push_back(entry.path().filename());
    std::sort(left.begin(), left.end());
    EXPECT_EQ(left, (std::vector<std::string>{kArchive, kArchive + ".tmp-0123456789abcdef",
                                              "notes.webarchive.tmp-0123456789abcdef", "other.webarchive"}));
    ScrapbookStore reloaded(dir.path(), clock);
    EXPECT_EQ(reloaded.items()->size(), 1u) << "recorded once, not recovered again";
}

TEST(ScrapbookFilesTest, AnArchiveNotSafelyOnDiskIsReportedAsFailedAndRemoved) {
    TemporaryDirectory dir;
    FakeClock clock{Date{786000000}};
    ArchiveFolderSyncFails files;
    ScrapbookStore store(dir.path(), clock, files);
    ArchiveNow archiver;
    std::optional<bool> added;
    store.savePage(archiver, "T", "https://example.org/", [&](bool result) { added = result; });
    while (!added && g_main_context_iteration(nullptr, TRUE)) {
    }
    EXPECT_EQ(added, false);
    EXPECT_TRUE(store.items()->empty());
    EXPECT_TRUE(fs::is_empty(dir / "Scrapbook"));
}

TEST(ScrapbookFilesTest, APageInAFolderThatIsGoneIsListedAtTheTopLevelAndASymlinkedArchiveIsNotRead) {
    TemporaryDirectory dir;
    FakeClock clock{Date{786000000}};
    writeFile(dir / "scrapbook.json",
              std::string(R"({"folders":[],"items":[{"id":")") + kId +
                  R"(","title":"Lost","url":"u","savedAt":1,"folderId":"11111111-2222-4333-8444-555555555555",)"
                  R"("note":"","archiveFilename":")" + kArchive + R"("}]})");
    writeFile(dir / "outside", "a file the scrapbook must not read");
    fs::create_directories(dir / "Scrapbook");
    fs::create_symlink(dir / "outside", dir / "Scrapbook" / kArchive);
    ScrapbookStore store(dir.path(), clock);
    ASSERT_EQ(store.items(std::nullopt).size(), 1u);
    EXPECT_FALSE(store.readArchive(store.items()->front())) << "an archive that is a symlink is not followed";
    store.deleteItem(store.items(std::nullopt).front().id);
    EXPECT_TRUE(store.items()->empty());
}

}  // namespace
}  // namespace sarvik::testing
