#include "stores/favorites_tree.h"

#include <algorithm>
#include <unordered_set>
#include <utility>

namespace sarvik {

FavoritesTree::FavoritesTree(const std::vector<Bookmark>& records) : m_records(records) {
    for (std::size_t i = 0; i < records.size(); ++i)
        (records[i].parentFolderId ? m_byParent[*records[i].parentFolderId] : m_top).push_back(i);
    const auto bySortOrder = [&](std::size_t a, std::size_t b) { return records[a].sortOrder < records[b].sortOrder; };
    std::stable_sort(m_top.begin(), m_top.end(), bySortOrder);
    for (auto& [id, list] : m_byParent) std::stable_sort(list.begin(), list.end(), bySortOrder);

    std::unordered_set<Uuid> shown;
    struct Frame {
        const std::vector<std::size_t>* list;
        std::size_t next;
        std::vector<std::size_t>* shownList;
    };
    std::vector<Frame> stack{{&m_top, 0, &m_shownTop}};
    while (!stack.empty()) {
        Frame& frame = stack.back();
        if (frame.next == frame.list->size()) {
            stack.pop_back();
            continue;
        }
        const std::size_t position = (*frame.list)[frame.next++];
        const Bookmark& record = records[position];
        if (!shown.insert(record.id).second) continue;
        m_order.push_back(position);
        frame.shownList->push_back(position);
        if (!record.isFolder) continue;
        const auto children = m_byParent.find(record.id);
        if (children != m_byParent.end()) stack.push_back({&children->second, 0, &m_shownChildren[record.id]});
    }
}

const std::vector<std::size_t>& FavoritesTree::childrenOf(const std::optional<Uuid>& folderId) const {
    static const std::vector<std::size_t> none;
    if (!folderId) return m_shownTop;
    const auto found = m_shownChildren.find(*folderId);
    return found == m_shownChildren.end() ? none : found->second;
}

std::vector<Uuid> FavoritesTree::subtreeIds(const Uuid& id) const {
    std::unordered_map<Uuid, bool> isFolder;  // of the first record with each id
    for (const Bookmark& record : m_records) isFolder.try_emplace(record.id, record.isFolder);
    std::unordered_set<Uuid> seen;
    std::vector<Uuid> result;
    std::vector<Uuid> pending{id};
    while (!pending.empty()) {
        const Uuid current = pending.back();
        pending.pop_back();
        if (!seen.insert(current).second) continue;
        result.push_back(current);
        const auto folder = isFolder.find(current);
        const auto below = m_byParent.find(current);
        if (folder == isFolder.end() || !folder->second || below == m_byParent.end()) continue;
        for (auto it = below->second.rbegin(); it != below->second.rend(); ++it) pending.push_back(m_records[*it].id);
    }
    return result;
}

}  // namespace sarvik
