#pragma once

#include "core/browser_tab.h"
#include "core/start_pages.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace sarvik {

// One open tab as "session.json" keeps it.
struct SessionTab {
    std::string title;
    std::optional<std::string> url;

    friend bool operator==(const SessionTab&, const SessionTab&) = default;
};

// The content of "session.json": the open tabs, which one is active, and whether the run that wrote it
// quit normally.
struct SessionData {
    std::vector<SessionTab> tabs;
    std::int64_t activePosition = 0;
    bool endedCleanly = false;

    friend bool operator==(const SessionData&, const SessionData&) = default;
};

// Strict decoding (json::DecodeError); an active position outside the tabs rejects the text.
SessionData decodeSessionData(std::string_view text);
std::optional<std::string> encodeSessionData(const SessionData& data);

SessionData sessionOf(const std::vector<BrowserTab>& tabs, const Uuid& activeTabId, bool endedCleanly);
std::vector<BrowserTab> tabsOf(const SessionData& data);

// What a start does with the last run's tabs: nothing (none kept, none with an address other than the
// home page, which opens anyway, or a normal quit with the home page chosen), offer them (after a crash),
// or open them (the last tabs chosen).
enum class SessionStart { nothing, offer, restore };
bool holdsMoreThanTheHomePage(const SessionData& data, std::string_view homePage);
SessionStart sessionStart(const std::optional<SessionData>& last, StartPages choice, std::string_view homePage);

}  // namespace sarvik
