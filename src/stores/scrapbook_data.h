#pragma once

#include "core/date.h"
#include "core/uuid.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace sarvik {

// One saved page. Its content lies in the archive file archiveFilename inside
// the scrapbook's archive folder.
struct ScrapbookItem {
    Uuid id;
    std::string title;
    std::string url;
    Date savedAt;
    std::optional<Uuid> folderId;  // none: the top level
    std::string note;
    std::string archiveFilename;

    friend bool operator==(const ScrapbookItem&, const ScrapbookItem&) = default;
};

// A scrapbook folder; folders do not nest.
struct ScrapbookFolder {
    Uuid id;
    std::string title;
    Date createdAt;

    friend bool operator==(const ScrapbookFolder&, const ScrapbookFolder&) = default;
};

// The content of "scrapbook.json".
struct ScrapbookData {
    std::vector<ScrapbookItem> items;
    std::vector<ScrapbookFolder> folders;

    friend bool operator==(const ScrapbookData&, const ScrapbookData&) = default;
};

// Strict decoding: one bad element rejects the whole text (json::DecodeError).
ScrapbookData decodeScrapbookData(std::string_view text);
// Compact JSON, or nothing when a value cannot be written.
std::optional<std::string> encodeScrapbookData(const ScrapbookData& data);

}  // namespace sarvik
