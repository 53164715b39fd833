#include "stores/scrapbook_data.h"

#include "core/json.h"

namespace sarvik {
namespace {

ScrapbookItem decodeItem(const rapidjson::Value& value) {
    const json::ObjectReader r(value);
    return {r.uuid("id"),          r.string("title"), r.string("url"),
            r.date("savedAt"),     r.optionalUuid("folderId"), r.string("note"),
            r.string("archiveFilename")};
}

ScrapbookFolder decodeFolder(const rapidjson::Value& value) {
    const json::ObjectReader r(value);
    return {r.uuid("id"), r.string("title"), r.date("createdAt")};
}

}  // namespace

ScrapbookData decodeScrapbookData(std::string_view text) {
    const auto document = json::parse(text);
    const json::ObjectReader r(document);
    ScrapbookData data;
    data.items = json::decodeArray<ScrapbookItem>(r.array("items"), decodeItem);
    data.folders = json::decodeArray<ScrapbookFolder>(r.array("folders"), decodeFolder);
    return data;
}

std::optional<std::string> encodeScrapbookData(const ScrapbookData& data) {
    json::Writer w;
    w.beginObject();
    w.key("items").beginArray();
    for (const auto& item : data.items) {
        w.beginObject();
        w.field("id", item.id).field("title", item.title).field("url", item.url).field("savedAt", item.savedAt);
        w.field("folderId", item.folderId).field("note", item.note).field("archiveFilename", item.archiveFilename);
        w.endObject();
    }
    w.endArray();
    w.key("folders").beginArray();
    for (const auto& folder : data.folders) {
        w.beginObject();
        w.field("id", folder.id).field("title", folder.title).field("createdAt", folder.createdAt);
        w.endObject();
    }
    w.endArray();
    w.endObject();
    return w.finish();
}

}  // namespace sarvik
