#include "stores/browser_data_store.h"

#include "core/json.h"
#include "stores/browser_data_json.h"
#include "stores/store_text.h"

#include <algorithm>
#include <limits>
#include <unordered_map>
#include <unordered_set>

namespace sarvik {
namespace fs = std::filesystem;

namespace {

bool isPresent(const fs::path& file) {
    std::error_code error;
    return fs::exists(fs::symlink_status(file, error));
}

// A list as read from its file; a file that is there but unusable is damaged,
// a missing one is not.
template <typename Record>
struct LoadedList {
    std::vector<Record> records;
    bool isDamaged = false;
};

template <typename Record, typename Decode>
LoadedList<Record> load(const fs::path& file, Decode&& decode) {
    auto text = readWholeFile(file);
    if (!text) return {{}, isPresent(file)};
    try {
        return {decode(std::move(*text)), false};
    } catch (const json::DecodeError&) {
        return {{}, true};
    }
}

struct FirstRunFavorite {
    const char* title;
    const char* url;
};
constexpr FirstRunFavorite kFirstRunFavorites[] = {
    {"Google", "https://www.google.com"},
    {"Apple", "https://www.apple.com"},
    {"Wikipedia", "https://www.wikipedia.org"},
};

// Adding one to a counter read from an edited file must not overflow.
std::int64_t incremented(std::int64_t value) {
    return value == std::numeric_limits<std::int64_t>::max() ? value : value + 1;
}

}  // namespace

BrowserDataStore::BrowserDataStore(fs::path directory, const Clock& clock, FileLayer& files)
    : m_clock(clock),
      m_files(files),
      m_bookmarksFile(directory / "bookmarks.json"),
      m_historyFile(directory / "history.json") {
    ensureDirectory(directory);
    removeStaleTemporaryFiles(m_bookmarksFile);
    removeStaleTemporaryFiles(m_historyFile);
    loadFiles();
    if (m_bookmarks->empty()) addFirstRunFavorites();
}

void BrowserDataStore::loadFiles() {
    auto bookmarks = load<Bookmark>(m_bookmarksFile, json::decodeBookmarks);
    m_isBookmarksFileDamaged = bookmarks.isDamaged;
    m_bookmarks = std::move(bookmarks.records);
    auto history = load<HistoryItem>(m_historyFile, json::decodeHistory);
    m_isHistoryFileDamaged = history.isDamaged;
    m_history = std::move(history.records);
}

void BrowserDataStore::addFirstRunFavorites() {
    std::vector<Bookmark> favorites;
    const Bookmark folder{Uuid::random(), "Toolbar Favorites", "", std::nullopt, true, m_clock.now(), 0};
    favorites.push_back(folder);
    std::int64_t order = 0;
    for (const auto& favorite : kFirstRunFavorites)
        favorites.push_back({Uuid::random(), favorite.title, favorite.url, folder.id, false, m_clock.now(), order++});
    m_bookmarks = std::move(favorites);
    saveBookmarks();
}

void BrowserDataStore::write(const fs::path& file, bool& isFileDamaged, const std::optional<std::string>& bytes) {
    if (!bytes) return;
    if (isFileDamaged) {
        // Never overwrite the only copy of what the user had; try again at the next save.
        if (!keepDamagedCopy(file) && isPresent(file)) return;
        isFileDamaged = false;
    }
    writeFileAtomically(file, *bytes, m_files);
}

void BrowserDataStore::saveBookmarks() {
    write(m_bookmarksFile, m_isBookmarksFileDamaged, json::encodeBookmarks(m_bookmarks));
}

void BrowserDataStore::saveHistory() {
    write(m_historyFile, m_isHistoryFileDamaged, json::encodeHistory(m_history));
}

std::int64_t BrowserDataStore::nextSortOrder(const std::optional<Uuid>& parentFolderId) const {
    std::optional<std::int64_t> largest;
    for (const auto& b : m_bookmarks.get())
        if (b.parentFolderId == parentFolderId && (!largest || b.sortOrder > *largest)) largest = b.sortOrder;
    // At the top of the range the new record ties with the last one and still sorts after it (stable order).
    return largest ? incremented(*largest) : 0;
}

void BrowserDataStore::appendBookmark(Bookmark bookmark) {
    m_bookmarks.modify([&](std::vector<Bookmark>& all) { all.push_back(std::move(bookmark)); });
    saveBookmarks();
}

void BrowserDataStore::addBookmark(std::string_view title, std::string_view url, std::optional<Uuid> parentFolderId) {
    appendBookmark({Uuid::random(), validUtf8(title), validUtf8(url), parentFolderId, false, m_clock.now(),
                    nextSortOrder(parentFolderId)});
}

void BrowserDataStore::addFolder(std::string_view title, std::optional<Uuid> parentFolderId) {
    appendBookmark(
        {Uuid::random(), validUtf8(title), "", parentFolderId, true, m_clock.now(), nextSortOrder(parentFolderId)});
}

// Deletes the record and, for a folder, everything below it, depth first as
// the records are listed. Each id is visited once, so a folder that is its own
// ancestor in an edited file ends the walk instead of recursing forever. The
// whole subtree goes in one change and one save.
void BrowserDataStore::deleteBookmark(const Uuid& id) {
    const auto& all = m_bookmarks.get();
    std::unordered_map<Uuid, std::vector<Uuid>> children;
    std::unordered_map<Uuid, bool> isFolder;  // of the first record with each id
    for (const auto& b : all) {
        isFolder.try_emplace(b.id, b.isFolder);
        if (b.parentFolderId) children[*b.parentFolderId].push_back(b.id);
    }
    std::unordered_set<Uuid> doomed;
    std::vector<Uuid> pending{id};
    while (!pending.empty()) {
        const Uuid current = pending.back();
        pending.pop_back();
        if (!doomed.insert(current).second) continue;
        const auto folder = isFolder.find(current);
        if (folder == isFolder.end() || !folder->second) continue;
        const auto& below = children[current];
        pending.insert(pending.end(), below.rbegin(), below.rend());
    }
    m_bookmarks.modify([&](std::vector<Bookmark>& list) {
        std::erase_if(list, [&](const Bookmark& b) { return doomed.contains(b.id); });
    });
    saveBookmarks();
}

void BrowserDataStore::renameBookmark(const Uuid& id, std::string_view title) {
    const auto& all = m_bookmarks.get();
    const auto found = std::find_if(all.begin(), all.end(), [&](const Bookmark& b) { return b.id == id; });
    if (found == all.end()) return;
    const auto position = static_cast<std::size_t>(found - all.begin());
    m_bookmarks.modify([&](std::vector<Bookmark>& list) { list[position].title = validUtf8(title); });
    saveBookmarks();
}

std::vector<Bookmark> BrowserDataStore::bookmarksInFolder(const std::optional<Uuid>& folderId) const {
    std::vector<Bookmark> children;
    for (const auto& b : m_bookmarks.get())
        if (b.parentFolderId == folderId) children.push_back(b);
    std::stable_sort(children.begin(), children.end(),
                     [](const Bookmark& a, const Bookmark& b) { return a.sortOrder < b.sortOrder; });
    return children;
}

}  // namespace sarvik
