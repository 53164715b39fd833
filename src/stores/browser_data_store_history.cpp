// The history half of BrowserDataStore: visits, deletion, search and grouping by day.
#include "stores/browser_data_store.h"

#include "core/saved_page_address.h"
#include "stores/history_day_formatter.h"
#include "stores/store_text.h"

#include <algorithm>
#include <limits>
#include <numeric>

namespace sarvik {

void BrowserDataStore::recordVisit(std::string_view title, std::string_view url) {
    // A saved page is the scrapbook's to list; its address names an item, not a site.
    if (isSavedPageAddress(url)) return;
    const std::string address = validUtf8(url);
    const auto& all = m_history.get();
    const auto found = std::find_if(all.begin(), all.end(), [&](const HistoryItem& h) { return h.url == address; });
    if (found != all.end()) {
        const auto position = static_cast<std::size_t>(found - all.begin());
        m_history.modify([&](std::vector<HistoryItem>& list) {
            HistoryItem& entry = list[position];
            entry.visitedAt = m_clock.now();
            if (entry.visitCount < std::numeric_limits<std::int64_t>::max()) ++entry.visitCount;
            if (!title.empty()) entry.title = storedTitle(title);
            m_searchIndex.update(position, entry);
        });
        m_historyText.entryChanged(position);
    } else {
        m_history.modify([&](std::vector<HistoryItem>& list) {
            list.push_back({Uuid::random(), storedTitle(title), address, m_clock.now(), 1});
            m_searchIndex.append(list.back());
            m_historyText.entryChanged(list.size() - 1);
        });
    }
    saveHistory();
}

void BrowserDataStore::retitleVisit(std::string_view url, std::string_view title) {
    const std::string address = validUtf8(url);
    const std::string stored = storedTitle(title);
    const auto& all = m_history.get();
    const auto found = std::find_if(all.begin(), all.end(), [&](const HistoryItem& h) { return h.url == address; });
    if (stored.empty() || found == all.end() || found->title == stored) return;
    const auto position = static_cast<std::size_t>(found - all.begin());
    m_history.modify([&](std::vector<HistoryItem>& list) {
        list[position].title = stored;
        m_searchIndex.update(position, list[position]);
    });
    m_historyText.entryChanged(position);
    saveHistory();
}

void BrowserDataStore::deleteHistoryItem(const Uuid& id) {
    m_history.modify([&](std::vector<HistoryItem>& list) {
        const auto first = std::find_if(list.begin(), list.end(), [&](const HistoryItem& h) { return h.id == id; });
        if (first == list.end()) return;
        m_historyText.entriesChangedFrom(static_cast<std::size_t>(first - list.begin()));
        std::erase_if(list, [&](const HistoryItem& h) { return h.id == id; });
        m_searchIndex.invalidate();
    });
    saveHistory();
}

void BrowserDataStore::clearHistory() {
    m_searchIndex.clear();
    m_historyText.entriesChangedFrom(0);
    m_history = std::vector<HistoryItem>{};
    saveHistory();
}

// Newest first; entries visited at the same moment keep their list order.
// Sorting the times beside their positions keeps the comparisons in cache, and
// breaking ties by position gives the stable order without a stable sort.
std::vector<std::size_t> BrowserDataStore::historyNewestFirst(std::vector<std::size_t> positions) const {
    struct Key {
        double visitedAt;
        std::size_t position;
    };
    const auto& all = m_history.get();
    std::vector<Key> keys;
    keys.reserve(positions.size());
    for (std::size_t p : positions) keys.push_back({all[p].visitedAt.secondsSinceReference, p});
    std::sort(keys.begin(), keys.end(), [](const Key& a, const Key& b) {
        return a.visitedAt != b.visitedAt ? a.visitedAt > b.visitedAt : a.position < b.position;
    });
    for (std::size_t i = 0; i < keys.size(); ++i) positions[i] = keys[i].position;
    return positions;
}

// Connected before anyone else can subscribe, so every observer of the history reads fresh results.
void BrowserDataStore::forgetHistoryOrder() {
    m_hasNewestFirst = false;
    m_newestFirst.clear();
    m_lastQuery.clear();
    m_lastMatches.clear();
}

const std::vector<std::size_t>& BrowserDataStore::allHistoryNewestFirst() const {
    if (!m_hasNewestFirst) {
        std::vector<std::size_t> positions(m_history->size());
        std::iota(positions.begin(), positions.end(), std::size_t{0});
        m_newestFirst = historyNewestFirst(std::move(positions));
        m_hasNewestFirst = true;
    }
    return m_newestFirst;
}

// Every entry that contains a longer query also contains the shorter one it
// extends, so typing on narrows the last matches instead of the whole history.
// The test is on the lowered texts, which case mapping can change at the end
// (a final sigma), not on what was typed.
std::vector<std::size_t> BrowserDataStore::searchHistoryPositions(std::string_view query) const {
    if (query.empty()) return allHistoryNewestFirst();
    std::string lowered = lowerCased(query);
    const bool narrows = !m_lastQuery.empty() && lowered.find(m_lastQuery) != std::string::npos;
    const auto& candidates = narrows ? m_lastMatches : allHistoryNewestFirst();
    std::vector<std::size_t> found = m_searchIndex.matchesAmong(m_history.get(), lowered, candidates);
    m_lastQuery = std::move(lowered);
    m_lastMatches = found;
    return found;
}

std::vector<HistoryItem> BrowserDataStore::searchHistory(std::string_view query) const {
    const auto& all = m_history.get();
    std::vector<HistoryItem> result;
    const auto positions = searchHistoryPositions(query);
    result.reserve(positions.size());
    for (std::size_t i : positions) result.push_back(all[i]);
    return result;
}

std::vector<BrowserDataStore::HistoryDay> BrowserDataStore::historyDays() const {
    const auto& all = m_history.get();
    const auto& positions = allHistoryNewestFirst();
    // First the runs of equal date text, then each day filled at its final size.
    std::vector<HistoryDay> days;
    std::vector<std::size_t> runEnds;
    HistoryDayFormatter formatter;
    for (std::size_t i = 0; i < positions.size(); ++i) {
        const std::string& day = formatter.format(all[positions[i]].visitedAt);
        if (!days.empty() && days.back().title == day) continue;
        if (!days.empty()) runEnds.push_back(i);
        days.push_back({day, {}});
    }
    runEnds.push_back(positions.size());
    std::size_t next = 0;
    for (std::size_t d = 0; d < days.size(); ++d) {
        days[d].positions.assign(positions.begin() + static_cast<std::ptrdiff_t>(next),
                                 positions.begin() + static_cast<std::ptrdiff_t>(runEnds[d]));
        next = runEnds[d];
    }
    return days;
}

std::vector<std::pair<std::string, std::vector<HistoryItem>>> BrowserDataStore::groupedHistory() const {
    const auto& all = m_history.get();
    std::vector<std::pair<std::string, std::vector<HistoryItem>>> groups;
    for (auto& day : historyDays()) {
        auto& items = groups.emplace_back(std::move(day.title), std::vector<HistoryItem>{}).second;
        items.reserve(day.positions.size());
        for (std::size_t i : day.positions) items.push_back(all[i]);
    }
    return groups;
}

}  // namespace sarvik
