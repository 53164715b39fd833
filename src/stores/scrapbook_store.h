#pragma once

#include "core/data_directory.h"
#include "core/date.h"
#include "core/published.h"
#include "core/uuid.h"
#include "stores/store_file.h"
#include "stores/page_archiver.h"
#include "stores/scrapbook_data.h"

#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace sarvik {

// Whole pages kept for offline reading: the metadata in "scrapbook.json", each
// page's archive in "Scrapbook/<UUID>.webarchive" inside the data folder.
// Main thread only; every changing operation writes the metadata file before
// it returns. The file is read once, at construction; one that is there but
// cannot be read or decoded is kept aside before the first save (StoreFile).
// `files` is where saves go through, so tests can make a step fail.
class ScrapbookStore {
public:
    explicit ScrapbookStore(std::filesystem::path directory = defaultDataDirectory(),
                            const Clock& clock = SystemClock::instance(), FileLayer& files = FileLayer::system());
    ScrapbookStore(const ScrapbookStore&) = delete;
    ScrapbookStore& operator=(const ScrapbookStore&) = delete;

    const Published<std::vector<ScrapbookItem>>& items() const { return m_items; }
    const Published<std::vector<ScrapbookFolder>>& folders() const { return m_folders; }
    const std::filesystem::path& dataDir() const { return m_dataDir; }
    const std::filesystem::path& archiveDir() const { return m_archiveDir; }
    const std::filesystem::path& metadataFile() const { return m_metadataFile.path(); }

    // Archives the page and adds it at the top level. `completion` runs once,
    // later, on the main loop: true when the item was added. A store destroyed
    // in the meantime adds nothing and reports false.
    void savePage(PageArchiver& page, std::string_view title, std::string_view url,
                  std::function<void(bool)> completion);

    void addFolder(std::string_view title);
    // Gives the page or folder with that id the title (cut as every title is);
    // false, and nothing saved, for an unknown id or a title that is empty.
    // The page keeps its archive file, and so the address it is shown under.
    bool rename(const Uuid& id, std::string_view title);
    void deleteFolder(const Uuid& id);
    void moveItem(const Uuid& id, const std::optional<Uuid>& folderId);
    void deleteItem(const Uuid& id);
    // The items of a folder (none: the top level), newest first, stable.
    std::vector<ScrapbookItem> items(const std::optional<Uuid>& folderId) const;
    void save();

    // Where the item's archive lies; none when its file name is not a plain
    // name inside the archive folder (the metadata file may have been edited).
    std::optional<std::filesystem::path> archivePath(const ScrapbookItem& item) const;
    std::optional<std::string> readArchive(const ScrapbookItem& item) const;

private:
    struct PendingArchive;
    void load();
    // Leftovers of saves a crash interrupted: half-written archives go, and an
    // archive whose record was never written is listed again as a saved page.
    void sweepArchiveTemporaries();
    void recoverUnlistedArchives();
    // Runs on the main loop (a GLib idle callback) once the archive has arrived.
    void finishSaving(PendingArchive& pending);

    const Clock& m_clock;
    std::filesystem::path m_dataDir;
    std::filesystem::path m_archiveDir;
    StoreFile m_metadataFile;
    Published<std::vector<ScrapbookItem>> m_items;
    Published<std::vector<ScrapbookFolder>> m_folders;
    // Archive callbacks hold this weakly; it goes with the store.
    std::shared_ptr<ScrapbookStore*> m_liveness = std::make_shared<ScrapbookStore*>(this);
};

// True for a name that stays inside its folder: not empty, not "." or "..",
// no "/" and no NUL.
bool isPlainFileName(std::string_view name);

// The value of a header line ("Subject", or the first "Content-Location") in
// the first bytes of an archive, as valid UTF-8; empty when there is none.
// Archives the list lost are named from it.
std::string archiveHeaderValue(std::string_view head, std::string_view name);

}  // namespace sarvik
