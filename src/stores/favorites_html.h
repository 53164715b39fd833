#pragma once

#include "stores/bookmark.h"

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace sarvik {

// What a bookmark file in the Netscape format (the one every browser reads
// and writes) holds, as a flat tree in document order.
struct FavoritesHtml {
    std::vector<ImportedFavorite> items;
    // Links left out: no address, or a scheme other than http, https, ftp and
    // file (javascript: and data: "bookmarklets" would run in whatever page is
    // open when chosen).
    std::size_t skippedLinks = 0;
};

// Folders nest at most this deep; deeper ones are flattened into the deepest
// kept folder, so their favorites still come in.
inline constexpr std::size_t kMaximumFavoritesHtmlDepth = 64;

// Reads a bookmark file. None when the text is not one (it must begin with
// the <!DOCTYPE NETSCAPE-Bookmark-file-1> line, after an optional byte order
// mark and white space). Lenient about the rest, as real files are: unclosed
// tags end where the next entry begins, text is entity-decoded, white space
// collapsed, invalid UTF-8 replaced. A link without a title is named after
// its address.
std::optional<FavoritesHtml> parseFavoritesHtml(std::string_view text);

// Every favorite reachable from the top level, nested in its folders, in
// sibling order, as a bookmark file that parseFavoritesHtml and other browsers
// read back.
std::string writeFavoritesHtml(const std::vector<Bookmark>& bookmarks);

// True for the addresses an imported favorite may keep.
bool isImportableFavoriteAddress(std::string_view url);

}  // namespace sarvik
