#pragma once

#include <functional>

namespace sarvik {

// What a clearing removes from the web engine's own stores. The browser's
// files (favorites, history, scrapbook, auctions) are never part of it.
enum class WebsiteDataKind {
    cookies,  // cookies only
    cache,    // the disk and the memory cache
    all,      // every kind of website data the engine keeps
};

// Called once when a clearing has finished; false when the engine reported a
// failure. Always called on the main thread.
using WebsiteDataCleared = std::function<void(bool succeeded)>;

// Clears website data of the default network session, the one every web view
// of the browser uses: fetches the records of those kinds, then removes those
// kinds from every record fetched. Asynchronous; returns at once. The request
// keeps only what it needs, so the caller may go before it finishes.
void clearWebsiteData(WebsiteDataKind kind, WebsiteDataCleared done = {});

}  // namespace sarvik
