#pragma once

#include "stores/bookmark.h"

#include <cstddef>
#include <optional>
#include <unordered_map>
#include <vector>

namespace sarvik {

// The favorites records as the tree everyone walks: from the top level, each
// folder's records in sort order. A file edited by hand can hold two records
// with one id, or a folder inside itself; every id is therefore shown once,
// at the first place the walk reaches it, and is never entered again, so each
// walk over the tree ends. Records under no reachable folder are not shown.
class FavoritesTree {
public:
    explicit FavoritesTree(const std::vector<Bookmark>& records);

    // Every shown record, depth first: positions in the records given.
    const std::vector<std::size_t>& order() const { return m_order; }
    // The shown records directly in a folder (none: the top level), in sort order.
    const std::vector<std::size_t>& childrenOf(const std::optional<Uuid>& folderId) const;
    // The id and every id under it by parent links, each once, also for
    // records the tree does not show: what deleting the id takes with it.
    std::vector<Uuid> subtreeIds(const Uuid& id) const;

private:
    const std::vector<Bookmark>& m_records;
    std::vector<std::size_t> m_top;
    std::unordered_map<Uuid, std::vector<std::size_t>> m_byParent;  // every record, sorted
    std::vector<std::size_t> m_order;
    std::vector<std::size_t> m_shownTop;
    std::unordered_map<Uuid, std::vector<std::size_t>> m_shownChildren;
};

}  // namespace sarvik
