#include "views/download_item_object.h"

#include <utility>

namespace sarvik {

DownloadItemObject::DownloadItemObject(DownloadRecord record) : m_record(std::move(record)) {}

Glib::RefPtr<DownloadItemObject> DownloadItemObject::create(DownloadRecord record) {
    return Glib::make_refptr_for_instance(new DownloadItemObject(std::move(record)));
}

void DownloadItemObject::update(const DownloadRecord& record) {
    if (record == m_record) return;
    m_record = record;
    m_changed.emit();
}

}  // namespace sarvik
