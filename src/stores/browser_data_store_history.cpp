// The history half of BrowserDataStore: visits, deletion, search and grouping by day.
#include "stores/browser_data_store.h"

#include "stores/history_day_formatter.h"
#include "stores/store_text.h"

#include <algorithm>
#include <limits>
#include <numeric>

namespace sarvik {

void BrowserDataStore::recordVisit(std::string_view title, std::string_view url) {
    const std::string address = validUtf8(url);
    const auto& all = m_history.get();
    const auto found = std::find_if(all.begin(), all.end(), [&](const HistoryItem& h) { return h.url == address; });
    if (found != all.end()) {
        const auto position = static_cast<std::size_t>(found - all.begin());
        m_history.modify([&](std::vector<HistoryItem>& list) {
            HistoryItem& entry = list[position];
            entry.visitedAt = m_clock.now();
            if (entry.visitCount < std::numeric_limits<std::int64_t>::max()) ++entry.visitCount;
            if (!title.empty()) entry.title = validUtf8(title);
            m_searchIndex.update(position, entry);
        });
    } else {
        m_history.modify([&](std::vector<HistoryItem>& list) {
            list.push_back({Uuid::random(), validUtf8(title), address, m_clock.now(), 1});
            m_searchIndex.append(list.back());
        });
    }
    saveHistory();
}

void BrowserDataStore::deleteHistoryItem(const Uuid& id) {
    m_history.modify([&](std::vector<HistoryItem>& list) {
        if (std::erase_if(list, [&](const HistoryItem& h) { return h.id == id; }) > 0) m_searchIndex.invalidate();
    });
    saveHistory();
}

void BrowserDataStore::clearHistory() {
    m_searchIndex.clear();
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

std::vector<HistoryItem> BrowserDataStore::searchHistory(std::string_view query) const {
    const auto& all = m_history.get();
    std::vector<std::size_t> positions;
    if (query.empty()) {
        positions.resize(all.size());
        std::iota(positions.begin(), positions.end(), std::size_t{0});
    } else {
        positions = m_searchIndex.matches(all, lowerCased(query));
    }
    std::vector<HistoryItem> result;
    result.reserve(positions.size());
    for (std::size_t i : historyNewestFirst(std::move(positions))) result.push_back(all[i]);
    return result;
}

std::vector<std::pair<std::string, std::vector<HistoryItem>>> BrowserDataStore::groupedHistory() const {
    const auto& all = m_history.get();
    std::vector<std::size_t> positions(all.size());
    std::iota(positions.begin(), positions.end(), std::size_t{0});
    positions = historyNewestFirst(std::move(positions));

    // First the runs of equal date text, then each group filled at its final size.
    std::vector<std::pair<std::string, std::vector<HistoryItem>>> groups;
    std::vector<std::size_t> runEnds;
    HistoryDayFormatter formatter;
    for (std::size_t i = 0; i < positions.size(); ++i) {
        const std::string& day = formatter.format(all[positions[i]].visitedAt);
        if (!groups.empty() && groups.back().first == day) continue;
        if (!groups.empty()) runEnds.push_back(i);
        groups.emplace_back(day, std::vector<HistoryItem>{});
    }
    runEnds.push_back(positions.size());
    std::size_t next = 0;
    for (std::size_t g = 0; g < groups.size(); ++g) {
        auto& items = groups[g].second;
        items.reserve(runEnds[g] - next);
        for (; next < runEnds[g]; ++next) items.push_back(all[positions[next]]);
    }
    return groups;
}

}  // namespace sarvik
