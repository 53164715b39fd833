#include "stores/address_suggestion_index.h"

#include "core/saved_page_address.h"
#include "stores/favorites_tree.h"
#include "stores/store_text.h"

#include <algorithm>
#include <cstring>

namespace sarvik {
namespace {

std::string_view trimmed(std::string_view text) {
    const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f' || c == '\v'; };
    while (!text.empty() && blank(text.front())) text.remove_prefix(1);
    while (!text.empty() && blank(text.back())) text.remove_suffix(1);
    return text;
}

bool contains(std::string_view text, std::string_view part) {
    if (part.size() > text.size()) return false;
    return ::memmem(text.data(), text.size(), part.data(), part.size()) != nullptr;
}

bool listed(const std::vector<AddressSuggestion>& list, const std::string& url) {
    return std::any_of(list.begin(), list.end(), [&](const AddressSuggestion& s) { return s.url == url; });
}

}  // namespace

bool AddressSuggestionIndex::Entry::sameAs(const HistoryItem& item) const {
    return id == item.id && visitedAt == item.visitedAt.secondsSinceReference && visitCount == item.visitCount &&
           titleSize == item.title.size() && urlSize == item.url.size();
}

void AddressSuggestionIndex::setFavorites(const std::vector<Bookmark>& bookmarks) {
    m_favorites.clear();
    const FavoritesTree tree(bookmarks);
    for (std::size_t position : tree.order()) {
        const Bookmark& bookmark = bookmarks[position];
        if (bookmark.isFolder || bookmark.url.empty()) continue;
        std::string lowered = lowerCased(bookmark.title);
        lowered.push_back('\0');
        appendLowerCased(lowered, bookmark.url);
        m_favorites.push_back({bookmark.title, bookmark.url, std::move(lowered)});
    }
}

std::uint32_t AddressSuggestionIndex::appendSegment(const HistoryItem& item, std::uint32_t owner) {
    m_segmentStarts.push_back(m_text.size());
    m_segmentOwners.push_back(owner);
    appendLowerCased(m_text, item.title);
    m_text.push_back('\0');
    appendLowerCased(m_text, item.url);
    m_text.push_back('\0');
    return static_cast<std::uint32_t>(m_segmentStarts.size() - 1);
}

std::size_t AddressSuggestionIndex::segmentEnd(std::uint32_t segment) const {
    return segment + 1 < m_segmentStarts.size() ? m_segmentStarts[segment + 1] : m_text.size();
}

// Entries are matched to the previous list by id in order, so a visit (one
// entry changed or appended) or a deletion costs one pass of comparisons and
// the lowering of what changed; anything else is lowered afresh, never wrong.
void AddressSuggestionIndex::syncHistory(const std::vector<HistoryItem>& history) {
    std::vector<Entry> previous = std::move(m_entries);
    m_entries.clear();
    m_entries.reserve(history.size());
    bool changed = false;
    const auto retire = [&](const Entry& entry) {
        m_segmentOwners[entry.segment] = kDead;
        m_deadBytes += segmentEnd(entry.segment) - m_segmentStarts[entry.segment];
        changed = true;
    };
    std::size_t j = 0;
    for (std::size_t i = 0; i < history.size(); ++i) {
        const HistoryItem& item = history[i];
        const auto owner = static_cast<std::uint32_t>(i);
        // More old entries left than new ones: the unmatched old one was deleted.
        while (j < previous.size() && previous[j].id != item.id && previous.size() - j > history.size() - i)
            retire(previous[j++]);
        if (j < previous.size() && previous[j].sameAs(item)) {
            m_entries.push_back(previous[j++]);
            changed = changed || m_segmentOwners[m_entries.back().segment] != owner;
            m_segmentOwners[m_entries.back().segment] = owner;
            continue;
        }
        if (j < previous.size() && (previous[j].id == item.id || previous.size() - j >= history.size() - i))
            retire(previous[j++]);
        m_entries.push_back({item.id, item.visitedAt.secondsSinceReference, item.visitCount, item.title.size(),
                             item.url.size(), appendSegment(item, owner)});
        changed = true;
    }
    for (; j < previous.size(); ++j) retire(previous[j]);
    if (changed) m_hasLastMatches = false;
    if (m_deadBytes > m_text.size() / 2 + 65536) compact();
}

// Copies the live segments into a fresh buffer in list order; no re-lowering.
void AddressSuggestionIndex::compact() {
    std::string text;
    text.reserve(m_text.size() - m_deadBytes);
    std::vector<std::size_t> starts;
    starts.reserve(m_entries.size());
    std::vector<std::uint32_t> owners;
    owners.reserve(m_entries.size());
    for (std::size_t i = 0; i < m_entries.size(); ++i) {
        const std::uint32_t segment = m_entries[i].segment;
        starts.push_back(text.size());
        owners.push_back(static_cast<std::uint32_t>(i));
        text.append(m_text, m_segmentStarts[segment], segmentEnd(segment) - m_segmentStarts[segment]);
        m_entries[i].segment = static_cast<std::uint32_t>(i);
    }
    m_text = std::move(text);
    m_segmentStarts = std::move(starts);
    m_segmentOwners = std::move(owners);
    m_deadBytes = 0;
}

bool AddressSuggestionIndex::segmentContains(std::uint32_t segment, std::string_view lowered) const {
    const std::size_t start = m_segmentStarts[segment];
    return contains(std::string_view(m_text).substr(start, segmentEnd(segment) - start), lowered);
}

// One memmem over the whole buffer; each hit is mapped to its segment and the
// search resumes after that segment, so an entry is found once.
std::vector<std::uint32_t> AddressSuggestionIndex::allHistoryMatches(std::string_view lowered) const {
    std::vector<std::uint32_t> found;
    const char* base = m_text.data();
    const std::size_t size = m_text.size();
    std::size_t position = 0;
    auto segment = m_segmentStarts.begin();
    while (position + lowered.size() <= size) {
        const void* hit = ::memmem(base + position, size - position, lowered.data(), lowered.size());
        if (!hit) break;
        const auto offset = static_cast<std::size_t>(static_cast<const char*>(hit) - base);
        segment = std::upper_bound(segment, m_segmentStarts.end(), offset) - 1;
        const auto number = static_cast<std::uint32_t>(segment - m_segmentStarts.begin());
        if (m_segmentOwners[number] != kDead) found.push_back(m_segmentOwners[number]);
        position = segmentEnd(number);
    }
    return found;
}

std::vector<std::uint32_t> AddressSuggestionIndex::historyMatches(std::string_view lowered) {
    // Narrowing pays while the previous matches are a small part of the history.
    const bool narrows = m_hasLastMatches && lowered.starts_with(m_lastQuery) &&
                         m_lastMatches.size() * 4 < m_entries.size();
    std::vector<std::uint32_t> found;
    if (narrows) {
        for (std::uint32_t position : m_lastMatches)
            if (segmentContains(m_entries[position].segment, lowered)) found.push_back(position);
    } else {
        found = allHistoryMatches(lowered);
    }
    m_lastQuery = std::string(lowered);
    m_lastMatches = found;
    m_hasLastMatches = true;
    return found;
}

void AddressSuggestionIndex::addFavorites(std::string_view lowered, std::vector<AddressSuggestion>& out) const {
    for (const Favorite& favorite : m_favorites) {
        if (out.size() == kLimit) return;
        if (contains(favorite.lowered, lowered) && !listed(out, favorite.url))
            out.push_back({favorite.title, favorite.url, true});
    }
}

// The best few by visit count, then most recent visit, then list order, kept
// sorted in a list no longer than the free places: no sort of all the matches.
void AddressSuggestionIndex::addHistory(const std::vector<std::uint32_t>& matches,
                                        const std::vector<HistoryItem>& history,
                                        std::vector<AddressSuggestion>& out) const {
    const std::size_t room = kLimit - out.size();
    const auto better = [&](std::uint32_t a, std::uint32_t b) {
        const Entry& x = m_entries[a];
        const Entry& y = m_entries[b];
        if (x.visitCount != y.visitCount) return x.visitCount > y.visitCount;
        if (x.visitedAt != y.visitedAt) return x.visitedAt > y.visitedAt;
        return a < b;
    };
    std::vector<std::uint32_t> best;
    best.reserve(room + 1);
    for (std::uint32_t position : matches) {
        if (best.size() == room && !better(position, best.back())) continue;
        const std::string& url = history[position].url;
        // Older history files may hold saved pages; the scrapbook lists those.
        if (listed(out, url) || isSavedPageAddress(url)) continue;
        // The store keeps one entry per address; a damaged file may not have.
        const auto same = std::find_if(best.begin(), best.end(), [&](std::uint32_t p) { return history[p].url == url; });
        if (same != best.end()) {
            if (!better(position, *same)) continue;
            best.erase(same);
        }
        best.insert(std::upper_bound(best.begin(), best.end(), position, better), position);
        if (best.size() > room) best.pop_back();
    }
    for (std::uint32_t position : best) out.push_back({history[position].title, history[position].url, false});
}

std::vector<AddressSuggestion> AddressSuggestionIndex::suggest(std::string_view typed,
                                                               const std::vector<HistoryItem>& history) {
    const std::string_view text = trimmed(typed);
    if (text.empty()) {
        m_hasLastMatches = false;  // a cleared field starts a new search
        return {};
    }
    const std::string lowered = lowerCased(text);
    if (lowered.find('\0') != std::string::npos) return {};  // would match across the buffer's separators
    if (history.size() != m_entries.size()) syncHistory(history);
    std::vector<AddressSuggestion> out;
    addFavorites(lowered, out);
    if (out.size() < kLimit) addHistory(historyMatches(lowered), history, out);
    else m_hasLastMatches = false;
    return out;
}

}  // namespace sarvik
