#include "stores/browser_data_store.h"

#include "core/json.h"
#include "stores/browser_data_json.h"
#include "stores/favorites_tree.h"
#include "stores/store_text.h"

#include <algorithm>
#include <limits>
#include <unordered_set>

namespace sarvik {
namespace fs = std::filesystem;

namespace {

// A list as read from its file; a file that is there but unusable is marked
// damaged (kept aside before the first save), a missing one is not.
template <typename Record, typename Decode>
std::vector<Record> load(StoreFile& file, Decode&& decode) {
    auto text = file.read();
    if (!text) return {};
    try {
        return decode(std::move(*text));
    } catch (const json::DecodeError&) {
        file.markDamaged();
        return {};
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
      m_bookmarksFile(directory / "bookmarks.json", files),
      m_historyFile(directory / "history.json", files),
      m_backups(directory / "backups", clock, files) {
    m_historyChanged = m_history.changed().connect(sigc::mem_fun(*this, &BrowserDataStore::forgetHistoryOrder));
    ensureDirectory(directory);
    removeStaleTemporaryFiles(m_bookmarksFile.path());
    removeStaleTemporaryFiles(m_historyFile.path());
    loadFiles();
    if (m_bookmarks->empty()) addFirstRunFavorites();
}

void BrowserDataStore::loadFiles() {
    m_bookmarks = load<Bookmark>(m_bookmarksFile, json::decodeBookmarks);
    m_history = load<HistoryItem>(m_historyFile, json::decodeHistory);
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

void BrowserDataStore::saveBookmarks() {
    const auto bytes = json::encodeBookmarks(m_bookmarks);
    if (!bytes) return;
    m_backups.noteReplacing(m_bookmarksFile.path());
    m_bookmarksFile.write(bytes);
}

// Only the changed piece is encoded here; joining the pieces and the write run on the file's own thread.
void BrowserDataStore::saveHistory() {
    auto pieces = m_historyText.pieces(m_history);
    if (!pieces) return;
    m_historyFile.writeInBackground(
        [pieces = std::move(*pieces)]() -> std::optional<std::string> { return HistoryFileText::joined(pieces); });
}

void BrowserDataStore::waitForSaves() { m_historyFile.waitForWrites(); }

std::vector<FavoritesBackup> BrowserDataStore::favoritesBackups() const { return m_backups.list(); }

bool BrowserDataStore::restoreFavorites(const FavoritesBackup& backup) {
    auto restored = m_backups.read(backup);
    if (!restored) return false;
    m_bookmarks = std::move(*restored);
    saveBookmarks();
    return true;
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
    appendBookmark({Uuid::random(), storedTitle(title), validUtf8(url), parentFolderId, false, m_clock.now(),
                    nextSortOrder(parentFolderId)});
}

void BrowserDataStore::addFolder(std::string_view title, std::optional<Uuid> parentFolderId) {
    appendBookmark(
        {Uuid::random(), storedTitle(title), "", parentFolderId, true, m_clock.now(), nextSortOrder(parentFolderId)});
}

Uuid BrowserDataStore::addFavoritesTree(std::string_view folderTitle, const std::vector<ImportedFavorite>& items) {
    const Date now = m_clock.now();
    std::vector<Bookmark> added;
    added.reserve(items.size() + 1);
    added.push_back({Uuid::random(), storedTitle(folderTitle), "", std::nullopt, true, now, nextSortOrder(std::nullopt)});
    std::vector<std::size_t> recordOf(items.size(), 0);  // item -> position in `added`
    std::vector<std::int64_t> childCount(items.size() + 1, 0);  // by position in `added`
    for (std::size_t i = 0; i < items.size(); ++i) {
        const auto& item = items[i];
        const bool nested = item.parent && *item.parent < i && items[*item.parent].isFolder;
        const std::size_t parent = nested ? recordOf[*item.parent] : 0;
        added.push_back({Uuid::random(), storedTitle(item.title), item.isFolder ? "" : validUtf8(item.url),
                         added[parent].id, item.isFolder, now, childCount[parent]++});
        recordOf[i] = added.size() - 1;
    }
    const Uuid folderId = added.front().id;
    m_bookmarks.modify([&](std::vector<Bookmark>& all) {
        all.insert(all.end(), std::make_move_iterator(added.begin()), std::make_move_iterator(added.end()));
    });
    saveBookmarks();
    return folderId;
}

// Deletes the record and, for a folder, everything below it (each id once, so
// a folder that is its own ancestor in an edited file still ends the walk), in
// one change and one save.
void BrowserDataStore::deleteBookmark(const Uuid& id) {
    const auto subtree = FavoritesTree(m_bookmarks.get()).subtreeIds(id);
    const std::unordered_set<Uuid> doomed(subtree.begin(), subtree.end());
    m_bookmarks.modify([&](std::vector<Bookmark>& list) {
        std::erase_if(list, [&](const Bookmark& b) { return doomed.contains(b.id); });
    });
    saveBookmarks();
}

std::optional<std::size_t> BrowserDataStore::positionOf(const Uuid& id) const {
    const auto& all = m_bookmarks.get();
    const auto found = std::find_if(all.begin(), all.end(), [&](const Bookmark& b) { return b.id == id; });
    if (found == all.end()) return std::nullopt;
    return static_cast<std::size_t>(found - all.begin());
}

void BrowserDataStore::renameBookmark(const Uuid& id, std::string_view title) {
    const auto position = positionOf(id);
    if (!position) return;
    m_bookmarks.modify([&](std::vector<Bookmark>& list) { list[*position].title = storedTitle(title); });
    saveBookmarks();
}

// The subtree walk sees each id once, so a loop in an edited file cannot hang it.
bool BrowserDataStore::canMoveInto(const Uuid& id, const std::optional<Uuid>& folderId) const {
    if (!folderId) return true;
    const auto folder = positionOf(*folderId);
    if (!folder || !m_bookmarks.get()[*folder].isFolder) return false;
    const auto below = FavoritesTree(m_bookmarks.get()).subtreeIds(id);
    return std::find(below.begin(), below.end(), *folderId) == below.end();
}

bool BrowserDataStore::moveBookmark(const Uuid& id, const std::optional<Uuid>& folderId, std::size_t position) {
    const auto moved = positionOf(id);
    if (!moved || !canMoveInto(id, folderId)) return false;
    std::vector<std::size_t> siblings = FavoritesTree(m_bookmarks.get()).childrenOf(folderId);
    std::erase(siblings, *moved);
    siblings.insert(siblings.begin() + static_cast<std::ptrdiff_t>(std::min(position, siblings.size())), *moved);
    m_bookmarks.modify([&](std::vector<Bookmark>& list) {
        list[*moved].parentFolderId = folderId;
        for (std::size_t order = 0; order < siblings.size(); ++order)
            list[siblings[order]].sortOrder = static_cast<std::int64_t>(order);
    });
    saveBookmarks();
    return true;
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
