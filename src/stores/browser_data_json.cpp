#include "stores/browser_data_json.h"

#include "core/json.h"
#include "stores/store_text.h"

namespace sarvik::json {
namespace {

Bookmark decodeBookmark(const rapidjson::Value& value) {
    const ObjectReader r(value);
    // An escaped lone surrogate decodes to bytes that are not UTF-8; they are replaced so a save stays readable.
    return {r.uuid("id"),          validUtf8(r.string("title")), validUtf8(r.string("url")),
            r.optionalUuid("parentFolderId"), r.boolean("isFolder"), r.date("createdAt"),
            r.integer("sortOrder")};
}

void encode(Writer& w, const Bookmark& b) {
    w.beginObject()
        .field("id", b.id)
        .field("title", b.title)
        .field("url", b.url)
        .field("parentFolderId", b.parentFolderId)
        .field("isFolder", b.isFolder)
        .field("createdAt", b.createdAt)
        .field("sortOrder", b.sortOrder)
        .endObject();
}

std::optional<std::string> encodeAll(const std::vector<Bookmark>& records) {
    Writer w;
    w.beginArray();
    for (const auto& record : records) encode(w, record);
    w.endArray();
    return w.finish();
}

}  // namespace

std::vector<Bookmark> decodeBookmarks(std::string_view text) {
    return decodeArray<Bookmark>(parse(text), decodeBookmark);
}

std::optional<std::string> encodeBookmarks(const std::vector<Bookmark>& bookmarks) { return encodeAll(bookmarks); }


}  // namespace sarvik::json
