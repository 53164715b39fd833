#include "stores/session_data.h"

#include "core/json.h"

#include <algorithm>

namespace sarvik {

SessionData decodeSessionData(std::string_view text) {
    const auto document = json::parse(text);
    const json::ObjectReader r(document);
    SessionData data;
    data.tabs = json::decodeArray<SessionTab>(r.array("tabs"), [](const rapidjson::Value& value) {
        const json::ObjectReader tab(value);
        return SessionTab{tab.string("title"), tab.optionalString("url")};
    });
    data.activePosition = r.integer("activePosition");
    data.endedCleanly = r.boolean("endedCleanly");
    const auto count = static_cast<std::int64_t>(data.tabs.size());
    if (data.activePosition < 0 || (count > 0 && data.activePosition >= count) || (count == 0 && data.activePosition != 0))
        throw json::DecodeError("the active tab is not one of the tabs");
    return data;
}

std::optional<std::string> encodeSessionData(const SessionData& data) {
    json::Writer w;
    w.beginObject();
    w.key("tabs").beginArray();
    for (const auto& tab : data.tabs) {
        w.beginObject();
        w.field("title", tab.title).field("url", tab.url);
        w.endObject();
    }
    w.endArray();
    w.field("activePosition", data.activePosition).field("endedCleanly", data.endedCleanly);
    w.endObject();
    return w.finish();
}

SessionData sessionOf(const std::vector<BrowserTab>& tabs, const Uuid& activeTabId, bool endedCleanly) {
    SessionData data{{}, 0, endedCleanly};
    for (const BrowserTab& tab : tabs) {
        if (tab.id == activeTabId) data.activePosition = static_cast<std::int64_t>(data.tabs.size());
        data.tabs.push_back({tab.title, tab.url ? std::optional(tab.url->absoluteString()) : std::nullopt});
    }
    return data;
}

std::vector<BrowserTab> tabsOf(const SessionData& data) {
    std::vector<BrowserTab> tabs;
    for (const SessionTab& kept : data.tabs) {
        BrowserTab tab = BrowserTab::make(kept.url ? Url::parse(*kept.url) : std::nullopt);
        tab.title = kept.title;
        tabs.push_back(std::move(tab));
    }
    return tabs;
}

SessionStart sessionStart(const std::optional<SessionData>& last, StartPages choice, std::string_view homePage) {
    if (!last) return SessionStart::nothing;
    const bool anyPage = std::any_of(last->tabs.begin(), last->tabs.end(),
                                     [&](const SessionTab& t) { return t.url && *t.url != homePage; });
    if (!anyPage) return SessionStart::nothing;
    if (choice == StartPages::lastTabs) return SessionStart::restore;
    return last->endedCleanly ? SessionStart::nothing : SessionStart::offer;
}

}  // namespace sarvik
