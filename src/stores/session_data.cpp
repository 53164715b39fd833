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

// Kept addresses are as the engine reported them ("https://www.google.com/"); the home page is as typed.
bool holdsMoreThanTheHomePage(const SessionData& data, std::string_view homePage) {
    const std::optional<Url> home = Url::parse(homePage);
    return std::any_of(data.tabs.begin(), data.tabs.end(), [&](const SessionTab& t) {
        const std::optional<Url> kept = t.url ? Url::parse(*t.url) : std::nullopt;
        return kept && !(home && kept->isSameAddress(*home));
    });
}

SessionStart sessionStart(const std::optional<SessionData>& last, StartPages choice, std::string_view homePage) {
    if (!last || !holdsMoreThanTheHomePage(*last, homePage)) return SessionStart::nothing;
    if (choice == StartPages::lastTabs) return SessionStart::restore;
    return last->endedCleanly ? SessionStart::nothing : SessionStart::offer;
}

}  // namespace sarvik
