#pragma once

#include "stores/scrapbook_data.h"

#include <glibmm/object.h>
#include <glibmm/refptr.h>

#include <cstddef>

namespace sarvik {

// One line of the scrapbook list: a folder's header with its item count, or a
// saved page, top-level or inside a folder. A copy taken when the store
// published, so rows never read a changing list.
class ScrapbookEntryObject : public Glib::Object {
public:
    static Glib::RefPtr<ScrapbookEntryObject> forFolder(ScrapbookFolder folder, std::size_t count);
    static Glib::RefPtr<ScrapbookEntryObject> forItem(ScrapbookItem item);

    bool isFolder() const { return m_isFolder; }
    const ScrapbookFolder& folder() const { return m_folder; }
    std::size_t count() const { return m_count; }
    const ScrapbookItem& item() const { return m_item; }

protected:
    ScrapbookEntryObject() = default;

private:
    bool m_isFolder = false;
    ScrapbookFolder m_folder;
    std::size_t m_count = 0;
    ScrapbookItem m_item;
};

}  // namespace sarvik
