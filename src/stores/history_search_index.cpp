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

HistorySearchIndex::Span HistorySearchIndex::lowered(const std::string& text) {
    if (isLowerCased(text)) return {};
    const std::size_t offset = m_text.size();
    appendLowerCased(m_text, text);
    return {offset, m_text.size() - offset};
}

std::string_view HistorySearchIndex::textOf(const Span& span, const std::string& original) const {
    if (span.offset == kOriginal) return original;
    return std::string_view(m_text).substr(span.offset, span.length);
}

void HistorySearchIndex::clear() {
    m_entries.clear();
    m_text.clear();
    m_unusedBytes = 0;
    m_isBuilt = true;
}

void HistorySearchIndex::append(const HistoryItem& item) {
    if (m_isBuilt) m_entries.push_back(entryFor(item));
}

void HistorySearchIndex::update(std::size_t index, const HistoryItem& item) {
    if (!m_isBuilt || index >= m_entries.size()) return;
    const Entry old = m_entries[index];
    m_unusedBytes += old.title.length + old.url.length;
    m_entries[index] = entryFor(item);
    // Revisits that change titles leave old texts behind; start afresh once they are most of the buffer.
    if (m_unusedBytes > m_text.size() / 2 + 4096) invalidate();
}

void HistorySearchIndex::rebuild(const std::vector<HistoryItem>& history) {
    clear();
    std::size_t size = 0;
    for (const auto& item : history) size += item.title.size();
    m_text.reserve(size);
    m_entries.reserve(history.size());
    for (const auto& item : history) m_entries.push_back(entryFor(item));
}

bool HistorySearchIndex::entryMatches(const std::vector<HistoryItem>& history, std::size_t i,
                                      std::string_view loweredQuery) const {
    const Entry& entry = m_entries[i];
    return contains(textOf(entry.title, history[i].title), loweredQuery) ||
           contains(textOf(entry.url, history[i].url), loweredQuery);
}

std::vector<std::size_t> HistorySearchIndex::matches(const std::vector<HistoryItem>& history,
                                                     std::string_view loweredQuery) {
    if (!m_isBuilt || m_entries.size() != history.size()) rebuild(history);
    std::vector<std::size_t> found;
    for (std::size_t i = 0; i < history.size(); ++i)
        if (entryMatches(history, i, loweredQuery)) found.push_back(i);
    return found;
}

std::vector<std::size_t> HistorySearchIndex::matchesAmong(const std::vector<HistoryItem>& history,
                                                          std::string_view loweredQuery,
                                                          const std::vector<std::size_t>& candidates) {
    if (!m_isBuilt || m_entries.size() != history.size()) rebuild(history);
    std::vector<std::size_t> found;
    for (std::size_t i : candidates)
        if (i < history.size() && entryMatches(history, i, loweredQuery)) found.push_back(i);
    return found;
}

}  // namespace sarvik
