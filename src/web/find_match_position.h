#pragma once

#include <optional>
#include <string>

namespace sarvik {

// Which match of a find-in-page search is the current one, and how many
// there are. The engine reports the number of matches and whether a step
// found anything, but not the current index, so it is kept here: a new search
// starts on the first match, and each step forward or back moves one match,
// wrapping at the ends as the engine does. Steps taken before the count has
// arrived are kept and wrapped once it is known. Pure.
class FindMatchPosition {
public:
    // The largest count the engine is asked for; more shows as kMaxCount+.
    static constexpr unsigned kMaxCount = 1000;

    void startSearch();
    void clear();
    void countArrived(unsigned count);  // count > kMaxCount means "more than kMaxCount"
    void notFound();
    void stepForward();
    void stepBack();

    bool isSearching() const { return m_searching; }
    std::optional<unsigned> total() const { return m_total; }
    // 1-based; 0 while there is no current match.
    unsigned current() const;

    // "3 of 12", "No matches", "More than 1000 matches", or "" before anything is known.
    std::string text() const;

private:
    void wrap();

    bool m_searching = false;
    std::optional<unsigned> m_total;
    bool m_overflow = false;
    long m_current = 0;
};

}  // namespace sarvik
