#include "stores/browser_data_store.h"

// Placeholder: keeps visits in memory only until the store with its files lands.
namespace sarvik {

BrowserDataStore::BrowserDataStore(std::filesystem::path directory, const Clock& clock)
    : m_clock(clock), m_bookmarksFile(directory / "bookmarks.json"), m_historyFile(directory / "history.json") {}

void BrowserDataStore::saveBookmarks() {}
void BrowserDataStore::saveHistory() {}
void BrowserDataStore::addBookmark(std::string_view, std::string_view, std::optional<Uuid>) {}
void BrowserDataStore::addFolder(std::string_view, std::optional<Uuid>) {}
void BrowserDataStore::deleteBookmark(const Uuid&) {}
void BrowserDataStore::renameBookmark(const Uuid&, std::string_view) {}
std::vector<Bookmark> BrowserDataStore::bookmarksInFolder(const std::optional<Uuid>&) const { return {}; }

void BrowserDataStore::recordVisit(std::string_view title, std::string_view url) {
    m_history.modify([&](std::vector<HistoryItem>& all) {
        all.push_back({Uuid::random(), std::string(title), std::string(url), m_clock.now(), 1});
    });
}

void BrowserDataStore::deleteHistoryItem(const Uuid&) {}
void BrowserDataStore::clearHistory() {}
std::vector<HistoryItem> BrowserDataStore::searchHistory(std::string_view) const { return m_history.get(); }
std::vector<std::pair<std::string, std::vector<HistoryItem>>> BrowserDataStore::groupedHistory() const { return {}; }

}  // namespace sarvik
