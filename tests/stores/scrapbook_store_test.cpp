#include "stores/scrapbook_store.h"

#include "stores/store_text.h"
#include "support/fake_clock.h"
#include "support/file_helpers.h"
#include "support/temporary_directory.h"

#include <glib.h>
#include <gtest/gtest.h>

#include <thread>

namespace sarvik {
namespace {

using testing::FakeClock;
using testing::readFile;
using testing::TemporaryDirectory;
using testing::writeFile;
namespace fs = std::filesystem;

// Answers archive requests when the test says so.
class FakeArchiver final : public PageArchiver {
public:
    void createArchive(Completion completion) override { m_pending.push_back(std::move(completion)); }
    void succeed(std::string bytes) { take()(std::move(bytes), ""); }
    void fail(std::string error) { take()(std::nullopt, std::move(error)); }
    std::size_t pendingCount() const { return m_pending.size(); }

private:
    Completion take() {
        Completion completion = std::move(m_pending.front());
        m_pending.erase(m_pending.begin());
        return completion;
    }
    std::vector<Completion> m_pending;
};

void drainMainLoop() {
    while (g_main_context_iteration(nullptr, FALSE)) {
    }
}

constexpr const char* kFolderId = "11111111-2222-4333-8444-555555555555";

std::string itemJson(const std::string& id, const std::string& extra) {
    return R"({"id":")" + id + R"(","title":"Page","url":"https:\/\/example.org\/a","savedAt":10,"note":"n",)" +
           R"("archiveFilename":")" + id + R"(.webarchive")" + extra + "}";
}

class ScrapbookStoreTest : public ::testing::Test {
protected:
    fs::path file() const { return m_dir / "scrapbook.json"; }
    std::unique_ptr<ScrapbookStore> makeStore() { return std::make_unique<ScrapbookStore>(m_dir.path(), m_clock); }

    // Saves one page through the archiver and returns what the completion reported.
    std::optional<bool> savePage(ScrapbookStore& store, const std::string& title, const std::string& bytes) {
        FakeArchiver archiver;
        std::optional<bool> result;
        store.savePage(archiver, title, "https://example.org/" + title, [&](bool added) { result = added; });
        archiver.succeed(bytes);
        drainMainLoop();
        return result;
    }

    TemporaryDirectory m_dir;
    FakeClock m_clock;
};

TEST_F(ScrapbookStoreTest, SavingAPageAddsATopLevelItemNamedAfterItsId) {
    auto store = makeStore();
    EXPECT_TRUE(fs::is_directory(m_dir / "Scrapbook"));
    FakeArchiver archiver;
    int calls = 0;
    bool added = false;
    store->savePage(archiver, "Title", "https://example.org/x", [&](bool result) {
        ++calls;
        added = result;
    });
    ASSERT_EQ(archiver.pendingCount(), 1u);
    archiver.succeed(std::string("MIME\0bytes", 10));
    EXPECT_EQ(calls, 0);  // the rest waits for the main loop
    EXPECT_TRUE(store->items()->empty());
    drainMainLoop();
    EXPECT_EQ(calls, 1);
    EXPECT_TRUE(added);

    ASSERT_EQ(store->items()->size(), 1u);
    const ScrapbookItem item = store->items()->front();
    EXPECT_EQ(item.title, "Title");
    EXPECT_EQ(item.url, "https://example.org/x");
    EXPECT_EQ(item.savedAt, m_clock.now());
    EXPECT_FALSE(item.folderId);
    EXPECT_EQ(item.note, "");
    EXPECT_EQ(item.archiveFilename, item.id.toString() + ".webarchive");
    EXPECT_EQ(readFile(m_dir / "Scrapbook" / item.archiveFilename), std::string("MIME\0bytes", 10));
    EXPECT_EQ(store->readArchive(item), std::string("MIME\0bytes", 10));

    const std::string metadata = readFile(file());
    EXPECT_EQ(metadata, R"({"items":[{"id":")" + item.id.toString() +
                            R"(","title":"Title","url":"https://example.org/x","savedAt":700000000.0,"note":"",)"
                            R"("archiveFilename":")" + item.archiveFilename + R"("}],"folders":[]})");
    // A page's title of any length is kept shortened.
    ASSERT_EQ(savePage(*store, std::string(5000, 't'), "long"), true);
    EXPECT_EQ(store->items()->back().title, std::string(kMaximumTitleCharacters, 't'));
    store.reset();
    EXPECT_EQ(makeStore()->items()->front(), item);
}

TEST_F(ScrapbookStoreTest, AnEngineErrorOrAStoreGoneMeanwhileAddsNothing) {
    auto store = makeStore();
    FakeArchiver archiver;
    std::optional<bool> result;
    store->savePage(archiver, "T", "u", [&](bool added) { result = added; });
    ::testing::internal::CaptureStdout();
    archiver.fail("The page could not be archived");
    drainMainLoop();
    EXPECT_EQ(::testing::internal::GetCapturedStdout(), "Failed to create webarchive: The page could not be archived\n");
    EXPECT_EQ(result, false);
    EXPECT_TRUE(store->items()->empty());
    EXPECT_FALSE(fs::exists(file()));
    EXPECT_TRUE(fs::is_empty(m_dir / "Scrapbook"));

    // A store gone before the archive arrives stores nothing.
    result.reset();
    store->savePage(archiver, "T", "u", [&](bool added) { result = added; });
    store.reset();
    archiver.succeed("bytes");
    drainMainLoop();
    EXPECT_EQ(result, false);
    EXPECT_FALSE(fs::exists(file()));
    EXPECT_TRUE(fs::is_empty(m_dir / "Scrapbook"));
}

TEST_F(ScrapbookStoreTest, AFailedArchiveWriteIsPrintedAndChangesNothing) {
    auto store = makeStore();
    ASSERT_EQ(savePage(*store, "first", "one"), true);
    const std::string metadata = readFile(file());
    fs::remove_all(m_dir / "Scrapbook");
    writeFile(m_dir / "Scrapbook", "a file where the folder was");

    FakeArchiver archiver;
    std::optional<bool> result;
    store->savePage(archiver, "second", "u", [&](bool added) { result = added; });
    archiver.succeed("two");
    ::testing::internal::CaptureStdout();
    drainMainLoop();
    EXPECT_EQ(::testing::internal::GetCapturedStdout(), "Failed to save webarchive: create: Not a directory\n");
    EXPECT_EQ(result, false);
    EXPECT_EQ(store->items()->size(), 1u);
    EXPECT_EQ(readFile(file()), metadata);
}

TEST_F(ScrapbookStoreTest, AnArchiveFromAnotherThreadIsHandledOnTheMainLoop) {
    auto store = makeStore();
    FakeArchiver archiver;
    std::thread::id completedOn;
    bool isDone = false;
    store->savePage(archiver, "T", "u", [&](bool) {
        completedOn = std::this_thread::get_id();
        isDone = true;
    });
    std::thread engine([&] { archiver.succeed("bytes"); });
    engine.join();
    while (!isDone) g_main_context_iteration(nullptr, TRUE);
    EXPECT_EQ(completedOn, std::this_thread::get_id());
    EXPECT_EQ(store->items()->size(), 1u);
}

TEST_F(ScrapbookStoreTest, ReadsAnotherEncodersFileWithOptionalFolderAndUnknownKeys) {
    const std::string a = "AAAAAAAA-AAAA-4AAA-8AAA-AAAAAAAAAAAA";
    const std::string b = "bbbbbbbb-bbbb-4bbb-8bbb-bbbbbbbbbbbb";
    writeFile(file(), R"({"folders":[{"title":"Recipes","createdAt":5.25,"id":")" + std::string(kFolderId) +
                          R"(","colour":"red"}],"items":[)" + itemJson(a, R"(,"tags":[])") + "," +
                          itemJson(b, std::string(R"(,"folderId":")") + kFolderId + "\"") + "]}");
    auto store = makeStore();
    ASSERT_EQ(store->items()->size(), 2u);
    EXPECT_FALSE(store->items()->at(0).folderId);
    EXPECT_EQ(store->items()->at(0).url, "https://example.org/a");
    EXPECT_EQ(store->items()->at(1).folderId, Uuid::parse(kFolderId));
    ASSERT_EQ(store->folders()->size(), 1u);
    EXPECT_EQ(store->folders()->front().title, "Recipes");
    EXPECT_EQ(store->folders()->front().createdAt, Date{5.25});
    store->deleteItem(Uuid::random());
    EXPECT_NE(readFile(file()).find(R"("id":"BBBBBBBB-BBBB-4BBB-8BBB-BBBBBBBBBBBB")"), std::string::npos);
}

TEST_F(ScrapbookStoreTest, DeletingAFolderMovesItsItemsToTheTopLevel) {
    auto store = makeStore();
    store->addFolder("Keep");
    store->addFolder("Drop");
    const Uuid keep = store->folders()->at(0).id;
    const Uuid drop = store->folders()->at(1).id;
    EXPECT_EQ(store->folders()->at(1).title, "Drop");
    for (const char* title : {"a", "b", "c"}) ASSERT_EQ(savePage(*store, title, title), true);
    store->moveItem(store->items()->at(0).id, drop);
    store->moveItem(store->items()->at(1).id, drop);
    store->moveItem(store->items()->at(2).id, keep);

    store->deleteFolder(drop);
    ASSERT_EQ(store->folders()->size(), 1u);
    EXPECT_EQ(store->folders()->front().id, keep);
    EXPECT_FALSE(store->items()->at(0).folderId);
    EXPECT_FALSE(store->items()->at(1).folderId);
    EXPECT_EQ(store->items()->at(2).folderId, keep);
    for (const auto& item : store->items().get()) EXPECT_TRUE(fs::exists(*store->archivePath(item)));
    EXPECT_EQ(decodeScrapbookData(readFile(file())), (ScrapbookData{store->items().get(), store->folders().get()}));
}

TEST_F(ScrapbookStoreTest, MoveItemSavesOnlyForAKnownItemAndDeleteItemAlways) {
    auto store = makeStore();
    ASSERT_EQ(savePage(*store, "a", "bytes"), true);
    const ScrapbookItem item = store->items()->front();
    fs::remove(file());

    store->moveItem(Uuid::random(), Uuid::parse(kFolderId));
    EXPECT_FALSE(fs::exists(file()));
    store->moveItem(item.id, Uuid::parse(kFolderId));  // folders are not looked up
    EXPECT_EQ(decodeScrapbookData(readFile(file())).items.front().folderId, Uuid::parse(kFolderId));
    store->moveItem(item.id, std::nullopt);
    EXPECT_FALSE(store->items()->front().folderId);

    fs::remove(file());
    store->deleteItem(Uuid::random());
    EXPECT_EQ(decodeScrapbookData(readFile(file())).items.size(), 1u);
    store->deleteItem(item.id);
    EXPECT_TRUE(store->items()->empty());
    EXPECT_FALSE(fs::exists(m_dir / "Scrapbook" / item.archiveFilename));
    EXPECT_TRUE(decodeScrapbookData(readFile(file())).items.empty());
}

TEST_F(ScrapbookStoreTest, RenameCutsTheTitleKeepsTheArchiveAndSavesOnlyWhenItRenames) {
    auto store = makeStore();
    ASSERT_EQ(savePage(*store, "page", "bytes"), true);
    store->addFolder("folder");
    const ScrapbookItem page = store->items()->front();
    const Uuid folder = store->folders()->front().id;
    const std::string longTitle(kMaximumTitleCharacters + 5, 'x');
    struct Case {
        Uuid id;
        std::string title;
        bool renamed;
        std::string pageTitle, folderTitle;
    };
    for (const auto& [id, title, renamed, pageTitle, folderTitle] : std::vector<Case>{
             {page.id, "Renamed page", true, "Renamed page", "folder"},
             {folder, "Renamed folder", true, "Renamed page", "Renamed folder"},
             {page.id, longTitle, true, storedTitle(longTitle), "Renamed folder"},
             {page.id, "", false, storedTitle(longTitle), "Renamed folder"},
             {Uuid::random(), "Nobody", false, storedTitle(longTitle), "Renamed folder"},
         }) {
        SCOPED_TRACE(title.substr(0, 20));
        fs::remove(file());
        EXPECT_EQ(store->rename(id, title), renamed);
        EXPECT_EQ(fs::exists(file()), renamed);
        EXPECT_EQ(store->items()->front().title, pageTitle);
        EXPECT_EQ(store->folders()->front().title, folderTitle);
        if (renamed) {
            EXPECT_EQ(decodeScrapbookData(readFile(file())).items.front().title, pageTitle);
        }
    }
    EXPECT_EQ(store->items()->front().archiveFilename, page.archiveFilename);
    EXPECT_EQ(store->readArchive(store->items()->front()), "bytes");
}

TEST_F(ScrapbookStoreTest, OnlyPlainArchiveNamesAreEverReadOrRemoved) {
    fs::create_directories(m_dir / "inner" / "Scrapbook");
    const fs::path outside = m_dir / "inner" / "precious.txt";
    writeFile(outside, "keep me");
    writeFile(m_dir / "inner" / "Scrapbook" / "ok.webarchive", "archive");
    const std::vector<std::string> names = {"../precious.txt", "..", ".", "", "sub/x", std::string("ok.webarchive\0x", 15)};
    std::string items;
    for (std::size_t i = 0; i < names.size(); ++i) {
        const std::string id = "00000000-0000-4000-8000-00000000000" + std::to_string(i);
        std::string escaped;
        for (char c : names[i]) escaped += c == '\0' ? std::string("\\u0000") : std::string(1, c);
        items += (i ? "," : "") + std::string(R"({"id":")") + id +
                 R"(","title":"t","url":"u","savedAt":1,"note":"","archiveFilename":")" + escaped + "\"}";
    }
    writeFile(m_dir / "inner" / "scrapbook.json", R"({"items":[)" + items + R"(],"folders":[]})");

    ScrapbookStore store(m_dir / "inner", m_clock);
    ASSERT_EQ(store.items()->size(), names.size());  // listed, but without an archive
    for (const auto& item : store.items().get()) {
        EXPECT_FALSE(store.archivePath(item)) << item.archiveFilename;
        EXPECT_FALSE(store.readArchive(item));
    }
    while (!store.items()->empty()) store.deleteItem(store.items()->front().id);
    EXPECT_EQ(readFile(outside), "keep me");
    EXPECT_TRUE(fs::exists(m_dir / "inner" / "Scrapbook" / "ok.webarchive"));
    EXPECT_TRUE(fs::is_directory(m_dir / "inner"));

    EXPECT_TRUE(isPlainFileName("A.webarchive"));
    EXPECT_TRUE(isPlainFileName("..."));
}

TEST_F(ScrapbookStoreTest, ItemsInAFolderAreNewestFirstAndStable) {
    auto store = makeStore();
    const auto saveAt = [&](const char* title, double when) {
        m_clock.set(Date{when});
        ASSERT_EQ(savePage(*store, title, title), true);
    };
    saveAt("old", 100);
    saveAt("tieA", 200);
    saveAt("tieB", 200);
    saveAt("inFolder", 300);
    saveAt("new", 250);
    store->addFolder("F");
    const Uuid folder = store->folders()->front().id;
    EXPECT_EQ(store->folders()->front().createdAt, Date{250});
    store->moveItem(store->items()->at(3).id, folder);

    std::vector<std::string> titles;
    for (const auto& item : store->items(std::nullopt)) titles.push_back(item.title);
    EXPECT_EQ(titles, (std::vector<std::string>{"new", "tieA", "tieB", "old"}));
    ASSERT_EQ(store->items(folder).size(), 1u);
    EXPECT_EQ(store->items(folder).front().title, "inFolder");
    EXPECT_TRUE(store->items(Uuid::random()).empty());
}

}  // namespace
}  // namespace sarvik
