#include "stores/auction_data.h"

#include "core/json.h"

namespace sarvik {
namespace {

PriceHistoryEntry decodeEntry(const rapidjson::Value& value) {
    const json::ObjectReader r(value);
    return {r.uuid("id"), r.number("price"), r.date("timestamp"), r.optionalInteger("bidCount")};
}

AuctionItem decodeItem(const rapidjson::Value& value) {
    const json::ObjectReader r(value);
    AuctionItem item;
    item.id = r.uuid("id");
    item.title = r.string("title");
    item.url = r.string("url");
    item.site = r.enumeration("site", auctionSiteFromRaw);
    item.status = r.enumeration("status", auctionStatusFromRaw);
    item.currentPrice = r.number("currentPrice");
    item.startPrice = r.optionalNumber("startPrice");
    item.buyNowPrice = r.optionalNumber("buyNowPrice");
    item.bidCount = r.integer("bidCount");
    item.endDate = r.optionalDate("endDate");
    item.imageURL = r.optionalString("imageURL");
    item.sellerName = r.optionalString("sellerName");
    item.notes = r.string("notes");
    item.addedAt = r.date("addedAt");
    item.lastUpdatedAt = r.date("lastUpdatedAt");
    item.priceHistory = json::decodeArray<PriceHistoryEntry>(r.array("priceHistory"), decodeEntry);
    item.maxBidPrice = r.optionalNumber("maxBidPrice");
    item.isNotificationsEnabled = r.boolean("isNotificationsEnabled");
    return item;
}

void encodeEntry(json::Writer& w, const PriceHistoryEntry& entry) {
    w.beginObject();
    w.field("id", entry.id).field("price", entry.price).field("timestamp", entry.timestamp);
    w.field("bidCount", entry.bidCount);
    w.endObject();
}

void encodeItem(json::Writer& w, const AuctionItem& item) {
    w.beginObject();
    w.field("id", item.id).field("title", item.title).field("url", item.url);
    w.field("site", rawValue(item.site)).field("status", rawValue(item.status));
    w.field("currentPrice", item.currentPrice).field("startPrice", item.startPrice);
    w.field("buyNowPrice", item.buyNowPrice).field("bidCount", item.bidCount);
    w.field("endDate", item.endDate).field("imageURL", item.imageURL).field("sellerName", item.sellerName);
    w.field("notes", item.notes).field("addedAt", item.addedAt).field("lastUpdatedAt", item.lastUpdatedAt);
    w.key("priceHistory").beginArray();
    for (const auto& entry : item.priceHistory) encodeEntry(w, entry);
    w.endArray();
    w.field("maxBidPrice", item.maxBidPrice).field("isNotificationsEnabled", item.isNotificationsEnabled);
    w.endObject();
}

}  // namespace

AuctionData decodeAuctionData(std::string_view text) {
    const auto document = json::parse(text);
    const json::ObjectReader r(document);
    AuctionData data;
    data.items = json::decodeArray<AuctionItem>(r.array("items"), decodeItem);
    data.isAutoRefreshEnabled = r.boolean("isAutoRefreshEnabled");
    data.refreshIntervalMinutes = r.integer("refreshIntervalMinutes");
    return data;
}

std::optional<std::string> encodeAuctionData(const AuctionData& data) {
    json::Writer w;
    w.beginObject();
    w.key("items").beginArray();
    for (const auto& item : data.items) encodeItem(w, item);
    w.endArray();
    w.field("isAutoRefreshEnabled", data.isAutoRefreshEnabled);
    w.field("refreshIntervalMinutes", data.refreshIntervalMinutes);
    w.endObject();
    return w.finish();
}

}  // namespace sarvik
