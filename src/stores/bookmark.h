#pragma once

#include "core/date.h"
#include "core/uuid.h"

#include <cstdint>
#include <cstddef>
#include <optional>
#include <string>

namespace sarvik {

// One favorite, or a favorites folder (isFolder, empty url). Folders nest
// through parentFolderId; none means the top level.
struct Bookmark {
    Uuid id;
    std::string title;
    std::string url;
    std::optional<Uuid> parentFolderId;
    bool isFolder = false;
    Date createdAt;
    std::int64_t sortOrder = 0;

    friend bool operator==(const Bookmark&, const Bookmark&) = default;
};

// One record of a favorites tree brought in from outside (an imported file).
// `parent` is the position of its folder in the same list, always before it;
// none means the top of the tree.
struct ImportedFavorite {
    std::string title;
    std::string url;  // empty for a folder
    bool isFolder = false;
    std::optional<std::size_t> parent;

    friend bool operator==(const ImportedFavorite&, const ImportedFavorite&) = default;
};

// One history entry per distinct address text.
struct HistoryItem {
    Uuid id;
    std::string title;
    std::string url;
    Date visitedAt;
    std::int64_t visitCount = 1;

    friend bool operator==(const HistoryItem&, const HistoryItem&) = default;
};

}  // namespace sarvik
