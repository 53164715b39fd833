#include "stores/scrapbook_store.h"

#include "core/atomic_file.h"
#include "core/json.h"
#include "core/main_loop_hop.h"

#include <glib.h>

#include <algorithm>
#include <iostream>
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
    load();
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
    pending->title = std::string(title);
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
        std::cout << "Failed to save webarchive: " << failure->description() << std::endl;
        return report(false);
    }
    m_items.modify([&](std::vector<ScrapbookItem>& items) { items.push_back(std::move(item)); });
    save();
    report(true);
}

void ScrapbookStore::addFolder(std::string_view title) {
    m_folders.modify([&](std::vector<ScrapbookFolder>& folders) {
        folders.push_back({Uuid::random(), std::string(title), m_clock.now()});
    });
    save();
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
    std::copy_if(m_items->begin(), m_items->end(), std::back_inserter(result),
                 [&](const ScrapbookItem& item) { return item.folderId == folderId; });
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
