#pragma once

#include "core/url.h"
#include "core/uuid.h"

#include <optional>
#include <string>

namespace sarvik {

// One tab. Tabs are the same tab when their ids are equal, whatever else they hold.
struct BrowserTab {
    Uuid id = Uuid::random();
    std::string title = "New Tab";
    std::optional<Url> url;
    bool isLoading = false;
    bool canGoBack = false;
    bool canGoForward = false;
    double estimatedProgress = 0.0;
    // Why the last load failed, while its error page is shown; none once another load starts.
    std::optional<std::string> loadError;
    // Favicons are never fetched or shown; the slot exists so the record is complete.
    std::optional<std::string> favicon;
    // Restored from an earlier run and not shown since: its page loads when the tab is first shown.
    bool loadsWhenShown = false;

    static BrowserTab make(std::optional<Url> url = std::nullopt) {
        BrowserTab tab;
        tab.url = std::move(url);
        return tab;
    }

    friend bool operator==(const BrowserTab& a, const BrowserTab& b) { return a.id == b.id; }
};

}  // namespace sarvik
