// The bookmark file reader on arbitrary bytes: what it reads is sound (valid
// text, parents before children, only importable addresses), and writing it
// and reading that back gives the same tree.
#include "fuzz_support.h"

#include "core/uuid.h"
#include "stores/favorites_html.h"
#include "stores/store_text.h"

namespace {

std::vector<sarvik::Bookmark> asBookmarks(const std::vector<sarvik::ImportedFavorite>& items) {
    std::vector<sarvik::Bookmark> bookmarks;
    for (std::size_t i = 0; i < items.size(); ++i) {
        const auto& item = items[i];
        std::optional<sarvik::Uuid> parent;
        if (item.parent) parent = bookmarks[*item.parent].id;
        bookmarks.push_back({sarvik::Uuid::random(), item.title, item.url, parent, item.isFolder, sarvik::Date{0},
                             static_cast<std::int64_t>(i)});
    }
    return bookmarks;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto parsed = sarvik::parseFavoritesHtml(bytesOf(data, size));
    if (!parsed) return 0;
    for (std::size_t i = 0; i < parsed->items.size(); ++i) {
        const auto& item = parsed->items[i];
        FUZZ_CHECK(sarvik::isValidUtf8(item.title));
        FUZZ_CHECK(!item.parent || (*item.parent < i && parsed->items[*item.parent].isFolder));
        FUZZ_CHECK(item.isFolder ? item.url.empty() : sarvik::isImportableFavoriteAddress(item.url));
    }
    const auto again = sarvik::parseFavoritesHtml(sarvik::writeFavoritesHtml(asBookmarks(parsed->items)));
    FUZZ_CHECK(again && again->items == parsed->items && again->skippedLinks == 0);
    return 0;
}
