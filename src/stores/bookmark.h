#pragma once

#include "core/date.h"
#include "core/uuid.h"

#include <cstdint>
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
