#pragma once

#include "stores/bookmark.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace sarvik {

// One line of the address field's suggestion list.
struct AddressSuggestion {
    std::string title;
    std::string url;
    bool isFavorite = false;

    friend bool operator==(const AddressSuggestion&, const AddressSuggestion&) = default;
};

// Ranks favorites and history for a typed text: entries whose title or address
// contains the text (Unicode lower case of both sides), favorites first in tree
// order, then history by visit count, then most recent visit, each address
// once, at most kLimit in all.
//
// Every keystroke must stay well inside a frame with a six-figure history, so
// the lowered texts are kept in one buffer (title and address of an entry
// together, NUL-separated) that one memmem walks, entries are re-lowered only
// when they change, the best history entries are picked without sorting the
// matches, and a text that extends the previous one only re-checks the
// previous matches. Pure: no GTK, no store; the owner hands in the lists.
class AddressSuggestionIndex {
public:
    static constexpr std::size_t kLimit = 8;

    // The tree order of the favorites (pages of a folder right after it, by
    // sortOrder, ties in list order), lowered. Pages outside the tree are left out.
    void setFavorites(const std::vector<Bookmark>& bookmarks);

    // Brings the history part up to date with `history`, re-lowering only the
    // entries that were added or changed since the last call.
    void syncHistory(const std::vector<HistoryItem>& history);

    // Suggestions for the typed text; none for empty or blank text. `history`
    // must be the list last handed to syncHistory().
    std::vector<AddressSuggestion> suggest(std::string_view typed, const std::vector<HistoryItem>& history);

    std::size_t historySize() const { return m_entries.size(); }

private:
    struct Favorite {
        std::string title;
        std::string url;
        std::string lowered;  // title NUL address
    };
    // What shows that a history entry changed: recordVisit always moves the
    // time or the count, and a new title or address changes the entry's lengths.
    struct Entry {
        Uuid id;
        double visitedAt = 0;
        std::int64_t visitCount = 0;
        std::size_t titleSize = 0;
        std::size_t urlSize = 0;
        std::uint32_t segment = 0;

        bool sameAs(const HistoryItem& item) const;
    };
    static constexpr std::uint32_t kDead = static_cast<std::uint32_t>(-1);

    std::uint32_t appendSegment(const HistoryItem& item, std::uint32_t owner);
    void compact();
    std::vector<std::uint32_t> historyMatches(std::string_view lowered);
    std::vector<std::uint32_t> allHistoryMatches(std::string_view lowered) const;
    bool segmentContains(std::uint32_t segment, std::string_view lowered) const;
    std::size_t segmentEnd(std::uint32_t segment) const;
    void addFavorites(std::string_view lowered, std::vector<AddressSuggestion>& out) const;
    void addHistory(const std::vector<std::uint32_t>& matches, const std::vector<HistoryItem>& history,
                    std::vector<AddressSuggestion>& out) const;

    std::vector<Favorite> m_favorites;
    std::vector<Entry> m_entries;              // one per history entry, in list order
    std::string m_text;                        // the segments, one after another
    std::vector<std::size_t> m_segmentStarts;  // ascending
    std::vector<std::uint32_t> m_segmentOwners;  // entry position, or kDead
    std::size_t m_deadBytes = 0;

    // The previous history search, to narrow when the text grows.
    std::string m_lastQuery;
    std::vector<std::uint32_t> m_lastMatches;
    bool m_hasLastMatches = false;
};

}  // namespace sarvik
