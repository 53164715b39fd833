#include "stores/history_file_text.h"

#include "stores/browser_data_json.h"

#include <algorithm>

namespace sarvik {

void HistoryFileText::entryChanged(std::size_t position) {
    const std::size_t piece = position / kEntriesPerPiece;
    if (piece < m_pieces.size()) m_pieces[piece] = nullptr;
}

void HistoryFileText::entriesChangedFrom(std::size_t position) {
    m_pieces.resize(std::min(m_pieces.size(), position / kEntriesPerPiece));
}

std::optional<std::vector<HistoryFileText::Piece>> HistoryFileText::pieces(const std::vector<HistoryItem>& history) {
    const std::size_t count = (history.size() + kEntriesPerPiece - 1) / kEntriesPerPiece;
    m_pieces.resize(count);
    for (std::size_t i = 0; i < count; ++i) {
        if (m_pieces[i]) continue;
        const std::size_t first = i * kEntriesPerPiece;
        auto text = json::encodeHistoryItems(history.data() + first, std::min(kEntriesPerPiece, history.size() - first));
        if (!text) return std::nullopt;
        m_pieces[i] = std::make_shared<const std::string>(std::move(*text));
    }
    return m_pieces;
}

std::string HistoryFileText::joined(const std::vector<Piece>& pieces) {
    std::size_t size = 2 + pieces.size();
    for (const auto& piece : pieces) size += piece->size();
    std::string out;
    out.reserve(size);
    out += '[';
    for (std::size_t i = 0; i < pieces.size(); ++i) {
        if (i > 0) out += ',';
        out += *pieces[i];
    }
    out += ']';
    return out;
}

}  // namespace sarvik
