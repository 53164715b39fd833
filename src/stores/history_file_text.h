#pragma once

#include "stores/bookmark.h"

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace sarvik {

// The text of "history.json" kept in encoded pieces of a fixed number of
// entries, so that a visit re-encodes one piece instead of the whole history.
// The owner says which entries changed; pieces() re-encodes only those, and
// the pieces can be joined into the file on another thread.
class HistoryFileText {
public:
    using Piece = std::shared_ptr<const std::string>;
    static constexpr std::size_t kEntriesPerPiece = 256;

    // The entry at `position` changed, or was appended there.
    void entryChanged(std::size_t position);
    // Every entry from `position` on moved or went (an erase, a new list).
    void entriesChangedFrom(std::size_t position);

    // The pieces of `history`, re-encoding those that changed; none when an
    // entry cannot be written (a non-finite date).
    std::optional<std::vector<Piece>> pieces(const std::vector<HistoryItem>& history);

    // The whole file: the pieces in one JSON array, as json::encodeHistory writes it.
    static std::string joined(const std::vector<Piece>& pieces);

private:
    std::vector<Piece> m_pieces;  // null: to be encoded again
};

}  // namespace sarvik
