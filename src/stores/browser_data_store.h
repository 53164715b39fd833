#pragma once

#include "core/atomic_file.h"
#include "core/data_directory.h"
#include "core/date.h"
#include "core/published.h"
#include "core/scoped_connection.h"
#include "stores/bookmark.h"
#include "stores/favorites_backups.h"
#include "stores/history_file_text.h"
#include "stores/history_search_index.h"
#include "stores/store_file.h"

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace sarvik {

// The user's favorites and history, kept in "bookmarks.json" and
// "history.json" in the data folder. Every change is written through at once
// (atomically, flushed to disk): favorites before the call returns, the history
// on its file's own thread, since it grows without bound and every visit
// saves it (waitForSaves, and the store's end, wait for that). The two lists
// are published so panels redraw on any change. Main thread only.
//
// Files are read once, at construction. A file that exists but cannot be read
// or decoded starts its list empty (favorites: the first-run favorites) and is
// kept as "<name>.damaged-N" before the first save would replace it; while it
// cannot be kept, saves of that list are skipped and changes stay in memory.
// After a successful favorites save a daily copy of the file is kept in the
// data folder's "backups" (FavoritesBackups), to restore from.
class BrowserDataStore {
public:
    // `files` is where saves go through, so tests can make a write fail.
    explicit BrowserDataStore(std::filesystem::path directory = defaultDataDirectory(),
                              const Clock& clock = SystemClock::instance(), FileLayer& files = FileLayer::system());
    BrowserDataStore(const BrowserDataStore&) = delete;
    BrowserDataStore& operator=(const BrowserDataStore&) = delete;

    const Published<std::vector<Bookmark>>& bookmarks() const { return m_bookmarks; }
    const Published<std::vector<HistoryItem>>& history() const { return m_history; }
    const std::filesystem::path& bookmarksFile() const { return m_bookmarksFile.path(); }
    const std::filesystem::path& historyFile() const { return m_historyFile.path(); }

    void saveBookmarks();
    // The daily copies of the favorites file (kept after saves), newest first.
    std::vector<FavoritesBackup> favoritesBackups() const;
    // Replaces every favorite with the backup's and saves; false (nothing
    // changed) when the backup can no longer be read.
    bool restoreFavorites(const FavoritesBackup& backup);
    void saveHistory();
    // Returns once every history save asked for so far is on disk (or failed, and reported).
    void waitForSaves();

    void addBookmark(std::string_view title, std::string_view url, std::optional<Uuid> parentFolderId);
    void addFolder(std::string_view title, std::optional<Uuid> parentFolderId);
    // Adds a new top-level folder holding the tree (each item's parent before
    // it; a parent that is not an earlier folder means the new folder), in one
    // change and one save. Returns the new folder's id.
    Uuid addFavoritesTree(std::string_view folderTitle, const std::vector<ImportedFavorite>& items);
    // A folder goes with everything below it, in one change and one save.
    void deleteBookmark(const Uuid& id);
    void renameBookmark(const Uuid& id, std::string_view title);
    // Puts the record (a folder with everything in it) into the folder (none:
    // the top level) at `position` among the folder's other records (past the
    // end: last), renumbering that folder's sortOrder from 0, and saves.
    // Reordering is a move within the same folder. Refused (false; nothing
    // changes, nothing is saved) for a missing record, a target that is no
    // folder, or a folder into itself or anything below it.
    bool moveBookmark(const Uuid& id, const std::optional<Uuid>& folderId, std::size_t position);
    // Direct children (the top level for none), by sortOrder, ties in list order.
    std::vector<Bookmark> bookmarksInFolder(const std::optional<Uuid>& folderId) const;

    // Merges into the entry with exactly this address, or appends one.
    void recordVisit(std::string_view title, std::string_view url);
    // A page's later title for the entry with exactly this address, without a
    // visit; saves only when it changes the entry.
    void retitleVisit(std::string_view url, std::string_view title);
    void deleteHistoryItem(const Uuid& id);
    void clearHistory();
    // Entries whose title, or else address, contains the query, ignoring case
    // (Unicode lower case of both sides); all of them for an empty query. Newest first.
    std::vector<HistoryItem> searchHistory(std::string_view query) const;
    // The positions in history() of those entries, in the same order, for
    // lists that show a few of many. A query that contains the previous one
    // looks only through the previous matches.
    std::vector<std::size_t> searchHistoryPositions(std::string_view query) const;
    struct HistoryDay {
        std::string title;
        std::vector<std::size_t> positions;  // in history(), newest first
    };
    // groupedHistory() as positions in history().
    std::vector<HistoryDay> historyDays() const;
    // All entries newest first, in runs of equal date text (medium date style of
    // the default locale and time zone at the time of the call).
    std::vector<std::pair<std::string, std::vector<HistoryItem>>> groupedHistory() const;

private:
    void loadFiles();
    void addFirstRunFavorites();
    std::int64_t nextSortOrder(const std::optional<Uuid>& parentFolderId) const;
    void appendBookmark(Bookmark bookmark);
    std::optional<std::size_t> positionOf(const Uuid& id) const;  // of the first record with it
    bool canMoveInto(const Uuid& id, const std::optional<Uuid>& folderId) const;
    std::vector<std::size_t> historyNewestFirst(std::vector<std::size_t> positions) const;
    const std::vector<std::size_t>& allHistoryNewestFirst() const;
    void forgetHistoryOrder();

    const Clock& m_clock;
    FileLayer& m_files;
    StoreFile m_bookmarksFile;
    StoreFile m_historyFile;
    HistoryFileText m_historyText;
    FavoritesBackups m_backups;
    Published<std::vector<Bookmark>> m_bookmarks;
    Published<std::vector<HistoryItem>> m_history;
    mutable HistorySearchIndex m_searchIndex;
    // Kept until the history changes: the newest-first order of all entries,
    // and the last search (lowered query and matches) to narrow from.
    mutable std::vector<std::size_t> m_newestFirst;
    mutable bool m_hasNewestFirst = false;
    mutable std::string m_lastQuery;
    mutable std::vector<std::size_t> m_lastMatches;
    ScopedConnection m_historyChanged;
};

}  // namespace sarvik
