#include "stores/browser_data_json.h"

#include "core/json.h"

namespace sarvik::json {
namespace {

Bookmark decodeBookmark(const rapidjson::Value& value) {
    const ObjectReader r(value);
    return {r.uuid("id"),      r.string("title"),      r.string("url"),      r.optionalUuid("parentFolderId"),
            r.boolean("isFolder"), r.date("createdAt"), r.integer("sortOrder")};
}

HistoryItem decodeHistoryItem(const rapidjson::Value& value) {
    const ObjectReader r(value);
    return {r.uuid("id"), r.string("title"), r.string("url"), r.date("visitedAt"), r.integer("visitCount")};
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

void encode(Writer& w, const HistoryItem& h) {
    w.beginObject()
        .field("id", h.id)
        .field("title", h.title)
        .field("url", h.url)
        .field("visitedAt", h.visitedAt)
        .field("visitCount", h.visitCount)
        .endObject();
}

template <typename Record>
std::optional<std::string> encodeAll(const std::vector<Record>& records) {
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

std::vector<HistoryItem> decodeHistory(std::string_view text) {
    return decodeArray<HistoryItem>(parse(text), decodeHistoryItem);
}

std::optional<std::string> encodeHistory(const std::vector<HistoryItem>& history) { return encodeAll(history); }

}  // namespace sarvik::json
