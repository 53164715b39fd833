#pragma once

#include "stores/bookmark.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace sarvik {

// The lower-cased title and address of every history entry, kept beside the
// history so that a search lowers only its query. The owner reports each
// change of the history; after invalidate() (or if the sizes disagree) the
// next search rebuilds the whole index.
class HistorySearchIndex {
public:
    void invalidate() { m_isBuilt = false; }
    void clear();
    void append(const HistoryItem& item);
    void update(std::size_t index, const HistoryItem& item);

    // Positions in `history` of the entries whose lower-cased title, or else
    // address, contains `loweredQuery`, in list order.
    std::vector<std::size_t> matches(const std::vector<HistoryItem>& history, std::string_view loweredQuery);

private:
    // Empty with isLower set when the original text is already lower case.
    struct LoweredText {
        std::string text;
        bool isLower = true;
    };
    struct Entry {
        LoweredText title;
        LoweredText url;
    };

    static LoweredText lowered(const std::string& text);
    static Entry entryFor(const HistoryItem& item) { return {lowered(item.title), lowered(item.url)}; }
    void rebuild(const std::vector<HistoryItem>& history);

    std::vector<Entry> m_entries;
    bool m_isBuilt = false;
};

}  // namespace sarvik
