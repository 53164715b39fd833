#pragma once

#include "stores/bookmark.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The two data files' text: a compact JSON array of records whose keys are
// the field names. Decoding throws json::DecodeError for anything that is not
// such an array (invalid JSON or UTF-8, a missing key, a wrong type), so a
// damaged file is rejected whole; unknown keys are ignored. Encoding returns
// nothing when a value cannot be written (a non-finite date).
namespace sarvik::json {

std::vector<Bookmark> decodeBookmarks(std::string_view text);
std::optional<std::string> encodeBookmarks(const std::vector<Bookmark>& bookmarks);

// Parses in place, so it takes the text.
std::vector<HistoryItem> decodeHistory(std::string text);
std::optional<std::string> encodeHistory(const std::vector<HistoryItem>& history);
// The entries as they stand inside the array, comma-separated, without the brackets.
std::optional<std::string> encodeHistoryItems(const HistoryItem* first, std::size_t count);

}  // namespace sarvik::json
