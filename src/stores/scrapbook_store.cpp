#include "stores/scrapbook_store.h"

#include "core/atomic_file.h"
#include "core/json.h"
#include "core/main_loop_hop.h"
#include "stores/store_text.h"

#include <glib.h>

#include <algorithm>
#include <fstream>
#include <iostream>
#include <unordered_set>
#include <utility>

namespace sarvik {

struct ScrapbookStore::PendingArchive {
    std::weak_ptr<ScrapbookStore*> store;
    std::string title;
    std::string url;
    std::function<void(bool)> completion;
    std::optional<std::string> bytes;
    std::string error;
};

bool isPlainFileName(std::string_view name) {
    return !name.empty() && name != "." && name != ".." && name.find('/') == std::string_view::npos &&
           name.find('\0') == std::string_view::npos;
}

ScrapbookStore::ScrapbookStore(std::filesystem::path directory, const Clock& clock, FileLayer& files)
    : m_clock(clock),
      m_dataDir(std::move(directory)),
      m_archiveDir(m_dataDir / "Scrapbook"),
      m_metadataFile(m_dataDir / "scrapbook.json", files) {
    ensureDirectory(m_archiveDir);
    removeStaleTemporaryFiles(m_metadataFile.path());
    sweepArchiveTemporaries();
    load();
    recoverUnlistedArchives();
}

namespace {

constexpr std::string_view kArchiveSuffix = ".webarchive";

// "<id>.webarchive", the names the store gives archives: the id, or none.
std::optional<Uuid> archiveId(std::string_view name) {
    if (name.size() <= kArchiveSuffix.size() || !name.ends_with(kArchiveSuffix)) return std::nullopt;
    return Uuid::parse(name.substr(0, name.size() - kArchiveSuffix.size()));
}

bool isRegularFile(const std::filesystem::directory_entry& entry) {
    std::error_code error;
    return entry.symlink_status(error).type() == std::filesystem::file_type::regular;
}

std::string archiveHead(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::string head(16 * 1024, '\0');
    in.read(head.data(), static_cast<std::streamsize>(head.size()));
    head.resize(static_cast<std::size_t>(in.gcount()));
    return head;
}

}  // namespace

std::string archiveHeaderValue(std::string_view head, std::string_view name) {
    const std::string prefix = std::string(name) + ": ";
    for (std::size_t start = 0; start < head.size();) {
        std::size_t end = head.find('\n', start);
        if (end == std::string_view::npos) end = head.size();
        std::string_view line = head.substr(start, end - start);
        if (line.ends_with('\r')) line.remove_suffix(1);
        if (line.starts_with(prefix)) return validUtf8(line.substr(prefix.size()));
        start = end + 1;
    }
    return {};
}

void ScrapbookStore::sweepArchiveTemporaries() {
    removeStaleTemporaryFilesIn(m_archiveDir, [](std::string_view name) { return archiveId(name).has_value(); });
}

void ScrapbookStore::recoverUnlistedArchives() {
    std::unordered_set<std::string> listedNames;
    std::unordered_set<Uuid> listedIds;
    for (const ScrapbookItem& item : m_items.get()) {
        listedNames.insert(item.archiveFilename);
        listedIds.insert(item.id);
    }
    std::vector<ScrapbookItem> recovered;
    std::error_code error;
    for (std::filesystem::directory_iterator it(m_archiveDir, error), end; !error && it != end; it.increment(error)) {
        const std::string name = it->path().filename().string();
        const auto id = archiveId(name);
        if (!id || !isRegularFile(*it)) continue;
        if (listedNames.contains(name) || listedIds.contains(*id)) continue;
        const std::string head = archiveHead(it->path());
        std::string title = storedTitle(archiveHeaderValue(head, "Subject"));
        recovered.push_back({*id, title.empty() ? "Recovered page" : std::move(title),
                             archiveHeaderValue(head, "Content-Location"), m_clock.now(), std::nullopt, "", name});
    }
    if (recovered.empty()) return;
    std::sort(recovered.begin(), recovered.end(),
              [](const ScrapbookItem& a, const ScrapbookItem& b) { return a.archiveFilename < b.archiveFilename; });
    m_items.modify([&](std::vector<ScrapbookItem>& items) { items.insert(items.end(), recovered.begin(), recovered.end()); });
    save();
}

void ScrapbookStore::load() {
    const auto text = m_metadataFile.read();
    if (!text) return;
    try {
        ScrapbookData data = decodeScrapbookData(*text);
        m_items = std::move(data.items);
        m_folders = std::move(data.folders);
    } catch (const json::DecodeError&) {
        m_metadataFile.markDamaged();
    }
}

void ScrapbookStore::save() {
    const auto text = encodeScrapbookData({m_items.get(), m_folders.get()});
    m_metadataFile.write(text);
}

void ScrapbookStore::savePage(PageArchiver& page, std::string_view title, std::string_view url,
                              std::function<void(bool)> completion) {
    auto pending = std::make_shared<PendingArchive>();
    pending->store = m_liveness;
    pending->title = storedTitle(title);
    pending->url = std::string(url);
    pending->completion = std::move(completion);
    // The engine may answer on any thread: only the hop to the main loop happens here.
    page.createArchive([pending](std::optional<std::string> bytes, std::string error) {
        pending->bytes = std::move(bytes);
        pending->error = std::move(error);
        runSoon([pending] {
            if (const auto store = pending->store.lock()) {
                (*store)->finishSaving(*pending);
            } else if (pending->completion) {
                pending->completion(false);
            }
        });
    });
}

void ScrapbookStore::finishSaving(PendingArchive& pending) {
    const auto report = [&](bool added) {
        if (pending.completion) pending.completion(added);
    };
    if (!pending.bytes) {
        std::cout << "Failed to create webarchive: " << pending.error << std::endl;
        return report(false);
    }
    ScrapbookItem item{Uuid::random(), pending.title, pending.url, m_clock.now(), std::nullopt, "", ""};
    item.archiveFilename = item.id.toString() + ".webarchive";
    const std::filesystem::path archive = m_archiveDir / item.archiveFilename;
    if (const auto failure = writeFileAtomically(archive, *pending.bytes, m_metadataFile.files())) {
        // A failed folder flush comes after the rename: the archive is in place
        // but not safely on disk, and the save is reported as failed, so it goes.
        if (failure->step == "sync") m_metadataFile.files().remove(archive.c_str());
        std::cout << "Failed to save webarchive: " << failure->description() << std::endl;
        return report(false);
    }
    m_items.modify([&](std::vector<ScrapbookItem>& items) { items.push_back(std::move(item)); });
    save();
    report(true);
}

void ScrapbookStore::addFolder(std::string_view title) {
    m_folders.modify([&](std::vector<ScrapbookFolder>& folders) {
        folders.push_back({Uuid::random(), storedTitle(title), m_clock.now()});
    });
    save();
}

bool ScrapbookStore::rename(const Uuid& id, std::string_view title) {
    std::string stored = storedTitle(title);
    if (stored.empty()) return false;
    const auto renamed = [&](auto& list) {
        const auto found = std::find_if(list.get().begin(), list.get().end(), [&](const auto& each) { return each.id == id; });
        if (found == list.get().end()) return false;
        const auto index = static_cast<std::size_t>(found - list.get().begin());
        list.modify([&](auto& all) { all[index].title = stored; });
        return true;
    };
    if (!renamed(m_items) && !renamed(m_folders)) return false;
    save();
    return true;
}

void ScrapbookStore::deleteFolder(const Uuid& id) {
    m_items.modify([&](std::vector<ScrapbookItem>& items) {
        for (auto& item : items)
            if (item.folderId == id) item.folderId.reset();
    });
    m_folders.modify([&](std::vector<ScrapbookFolder>& folders) {
        std::erase_if(folders, [&](const ScrapbookFolder& folder) { return folder.id == id; });
    });
    save();
}

void ScrapbookStore::moveItem(const Uuid& id, const std::optional<Uuid>& folderId) {
    const auto& all = m_items.get();
    const auto found = std::find_if(all.begin(), all.end(), [&](const ScrapbookItem& item) { return item.id == id; });
    if (found == all.end()) return;
    const auto index = static_cast<std::size_t>(found - all.begin());
    m_items.modify([&](std::vector<ScrapbookItem>& items) { items[index].folderId = folderId; });
    save();
}

void ScrapbookStore::deleteItem(const Uuid& id) {
    const auto& all = m_items.get();
    const auto found = std::find_if(all.begin(), all.end(), [&](const ScrapbookItem& item) { return item.id == id; });
    if (found != all.end()) {
        if (const auto path = archivePath(*found)) {
            std::error_code ignored;
            std::filesystem::remove(*path, ignored);
        }
        m_items.modify([&](std::vector<ScrapbookItem>& items) {
            std::erase_if(items, [&](const ScrapbookItem& item) { return item.id == id; });
        });
    }
    save();
}

std::vector<ScrapbookItem> ScrapbookStore::items(const std::optional<Uuid>& folderId) const {
    std::vector<ScrapbookItem> result;
    // A page whose folder is gone (an edited or older file) is listed at the top level, where it can be deleted.
    const auto folderOf = [&](const ScrapbookItem& item) -> std::optional<Uuid> {
        const bool known = item.folderId && std::any_of(m_folders->begin(), m_folders->end(),
                                                        [&](const ScrapbookFolder& f) { return f.id == *item.folderId; });
        return known ? item.folderId : std::nullopt;
    };
    std::copy_if(m_items->begin(), m_items->end(), std::back_inserter(result),
                 [&](const ScrapbookItem& item) { return folderOf(item) == folderId; });
    std::stable_sort(result.begin(), result.end(),
                     [](const ScrapbookItem& a, const ScrapbookItem& b) { return a.savedAt > b.savedAt; });
    return result;
}

std::optional<std::filesystem::path> ScrapbookStore::archivePath(const ScrapbookItem& item) const {
    if (!isPlainFileName(item.archiveFilename)) return std::nullopt;
    return m_archiveDir / item.archiveFilename;
}

std::optional<std::string> ScrapbookStore::readArchive(const ScrapbookItem& item) const {
    const auto path = archivePath(item);
    if (!path) return std::nullopt;
    return readWholeFile(*path);
}

}  // namespace sarvik
