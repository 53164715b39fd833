// Favorites trees with repeated ids, folders inside themselves and lost
// parents: every walk over the tree ends, and each shows every id once.
#include "fuzz_support.h"

#include "stores/address_suggestion_index.h"
#include "stores/favorites_html.h"
#include "stores/favorites_tree.h"

#include <array>
#include <unordered_set>

namespace {

// Few ids, so inputs repeat them; three bytes make one record.
std::vector<sarvik::Bookmark> recordsOf(const std::uint8_t* data, std::size_t size) {
    static const std::array<sarvik::Uuid, 6> ids = [] {
        std::array<sarvik::Uuid, 6> made;
        for (auto& id : made) id = sarvik::Uuid::random();
        return made;
    }();
    std::vector<sarvik::Bookmark> records;
    for (std::size_t i = 0; i + 3 <= size && records.size() < 64; i += 3) {
        sarvik::Bookmark record;
        record.id = ids[data[i] % ids.size()];
        if (data[i + 1] % 7 != 6) record.parentFolderId = ids[data[i + 1] % 7 % ids.size()];
        record.isFolder = (data[i + 2] & 1) != 0;
        record.url = record.isFolder ? "" : "http://a.test/" + std::to_string(data[i]);
        record.title = "t";
        record.sortOrder = data[i + 2] >> 1;
        records.push_back(record);
    }
    return records;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto records = recordsOf(data, size);
    const sarvik::FavoritesTree tree(records);
    std::unordered_set<sarvik::Uuid> shown;
    for (std::size_t position : tree.order()) FUZZ_CHECK(shown.insert(records[position].id).second);
    std::size_t inFolders = tree.childrenOf(std::nullopt).size();
    for (std::size_t position : tree.order()) inFolders += tree.childrenOf(records[position].id).size();
    FUZZ_CHECK(inFolders == tree.order().size());
    for (const auto& record : records) FUZZ_CHECK(tree.subtreeIds(record.id).size() <= records.size());

    sarvik::AddressSuggestionIndex index;
    index.setFavorites(records);
    (void)index.suggest("a", {});
    FUZZ_CHECK(!sarvik::writeFavoritesHtml(records).empty());
    return 0;
}
