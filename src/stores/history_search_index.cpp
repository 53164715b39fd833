#include "stores/history_search_index.h"

#include "stores/store_text.h"

#include <cstring>

namespace sarvik {
namespace {

bool contains(std::string_view text, std::string_view part) {
    if (part.size() > text.size()) return false;
    // glibc's memmem is a linear-time search; this loop runs over every entry of a large history.
    return ::memmem(text.data(), text.size(), part.data(), part.size()) != nullptr;
}

}  // namespace

HistorySearchIndex::LoweredText HistorySearchIndex::lowered(const std::string& text) {
    if (isLowerCased(text)) return {};
    return {lowerCased(text), false};
}

void HistorySearchIndex::clear() {
    m_entries.clear();
    m_isBuilt = true;
}

void HistorySearchIndex::append(const HistoryItem& item) {
    if (m_isBuilt) m_entries.push_back(entryFor(item));
}

void HistorySearchIndex::update(std::size_t index, const HistoryItem& item) {
    if (m_isBuilt && index < m_entries.size()) m_entries[index] = entryFor(item);
}

void HistorySearchIndex::rebuild(const std::vector<HistoryItem>& history) {
    m_entries.clear();
    m_entries.reserve(history.size());
    for (const auto& item : history) m_entries.push_back(entryFor(item));
    m_isBuilt = true;
}

std::vector<std::size_t> HistorySearchIndex::matches(const std::vector<HistoryItem>& history,
                                                     std::string_view loweredQuery) {
    if (!m_isBuilt || m_entries.size() != history.size()) rebuild(history);
    std::vector<std::size_t> found;
    for (std::size_t i = 0; i < history.size(); ++i) {
        const Entry& entry = m_entries[i];
        const std::string_view title = entry.title.isLower ? history[i].title : entry.title.text;
        const std::string_view url = entry.url.isLower ? history[i].url : entry.url.text;
        if (contains(title, loweredQuery) || contains(url, loweredQuery)) found.push_back(i);
    }
    return found;
}

}  // namespace sarvik
