#pragma once

#include "stores/scrapbook_data.h"
#include "views/common/record_object.h"

#include <cstddef>
#include <utility>

namespace sarvik {

// One line of the scrapbook list: a folder's header with its item count, or a
// saved page, top-level or inside a folder.
struct ScrapbookEntry {
    bool isFolder = false;
    ScrapbookFolder folder;
    std::size_t count = 0;
    ScrapbookItem item;

    static ScrapbookEntry forFolder(ScrapbookFolder folder, std::size_t count) {
        return {true, std::move(folder), count, {}};
    }
    static ScrapbookEntry forItem(ScrapbookItem item) { return {false, {}, 0, std::move(item)}; }
    friend bool operator==(const ScrapbookEntry&, const ScrapbookEntry&) = default;
};

using ScrapbookEntryObject = RecordObject<ScrapbookEntry>;

}  // namespace sarvik
