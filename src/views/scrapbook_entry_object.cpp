#include "views/scrapbook_entry_object.h"

#include <utility>

namespace sarvik {

Glib::RefPtr<ScrapbookEntryObject> ScrapbookEntryObject::forFolder(ScrapbookFolder folder, std::size_t count) {
    auto object = Glib::make_refptr_for_instance(new ScrapbookEntryObject());
    object->m_isFolder = true;
    object->m_folder = std::move(folder);
    object->m_count = count;
    return object;
}

Glib::RefPtr<ScrapbookEntryObject> ScrapbookEntryObject::forItem(ScrapbookItem item) {
    auto object = Glib::make_refptr_for_instance(new ScrapbookEntryObject());
    object->m_item = std::move(item);
    return object;
}

}  // namespace sarvik
