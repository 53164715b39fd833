#pragma once

#include "stores/bookmark.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace sarvik {

// The lower-cased title and address of every history entry, kept beside the
// history so that a search lowers only its query. The lowered texts live one
// after another in one buffer (text that is already lower case is not copied),
// so building the index is one pass without an allocation per entry. The
// owner reports each change of the history; after invalidate() (or when the
// sizes disagree) the next search rebuilds the whole index.
class HistorySearchIndex {
public:
    void invalidate() { m_isBuilt = false; }
    void clear();
    void append(const HistoryItem& item);
    void update(std::size_t index, const HistoryItem& item);

    // Positions in `history` of the entries whose lower-cased title, or else
    // address, contains `loweredQuery`, in list order.
    std::vector<std::size_t> matches(const std::vector<HistoryItem>& history, std::string_view loweredQuery);
    // The same test over `candidates` only (positions in `history`), keeping their order.
    std::vector<std::size_t> matchesAmong(const std::vector<HistoryItem>& history, std::string_view loweredQuery,
                                          const std::vector<std::size_t>& candidates);

private:
    static constexpr std::size_t kOriginal = static_cast<std::size_t>(-1);  // the text itself is lower case

    struct Span {
        std::size_t offset = kOriginal;
        std::size_t length = 0;
    };
    struct Entry {
        Span title;
        Span url;
    };

    Span lowered(const std::string& text);
    Entry entryFor(const HistoryItem& item) { return {lowered(item.title), lowered(item.url)}; }
    std::string_view textOf(const Span& span, const std::string& original) const;
    void rebuild(const std::vector<HistoryItem>& history);
    bool entryMatches(const std::vector<HistoryItem>& history, std::size_t i, std::string_view loweredQuery) const;

    std::vector<Entry> m_entries;
    std::string m_text;
    std::size_t m_unusedBytes = 0;  // of texts replaced by updates
    bool m_isBuilt = false;
};

}  // namespace sarvik
