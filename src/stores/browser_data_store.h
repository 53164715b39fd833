#pragma once

#include "core/data_directory.h"
#include "core/date.h"
#include "core/published.h"
#include "stores/bookmark.h"

#include <filesystem>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace sarvik {

// The user's favorites and history, kept in "bookmarks.json" and
// "history.json" in the data folder. Every change is written through at once;
// the two lists are published so panels redraw on any change.
class BrowserDataStore {
public:
    explicit BrowserDataStore(std::filesystem::path directory = defaultDataDirectory(),
                              const Clock& clock = SystemClock::instance());
    BrowserDataStore(const BrowserDataStore&) = delete;
    BrowserDataStore& operator=(const BrowserDataStore&) = delete;

    const Published<std::vector<Bookmark>>& bookmarks() const { return m_bookmarks; }
    const Published<std::vector<HistoryItem>>& history() const { return m_history; }
    const std::filesystem::path& bookmarksFile() const { return m_bookmarksFile; }
    const std::filesystem::path& historyFile() const { return m_historyFile; }

    void saveBookmarks();
    void saveHistory();

    void addBookmark(std::string_view title, std::string_view url, std::optional<Uuid> parentFolderId);
    void addFolder(std::string_view title, std::optional<Uuid> parentFolderId);
    void deleteBookmark(const Uuid& id);
    void renameBookmark(const Uuid& id, std::string_view title);
    std::vector<Bookmark> bookmarksInFolder(const std::optional<Uuid>& folderId) const;

    void recordVisit(std::string_view title, std::string_view url);
    void deleteHistoryItem(const Uuid& id);
    void clearHistory();
    std::vector<HistoryItem> searchHistory(std::string_view query) const;
    std::vector<std::pair<std::string, std::vector<HistoryItem>>> groupedHistory() const;

private:
    const Clock& m_clock;
    std::filesystem::path m_bookmarksFile;
    std::filesystem::path m_historyFile;
    Published<std::vector<Bookmark>> m_bookmarks;
    Published<std::vector<HistoryItem>> m_history;
};

}  // namespace sarvik
