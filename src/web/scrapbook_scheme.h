#pragma once

#include "core/url.h"
#include "core/uuid.h"
#include "stores/scrapbook_store.h"

#include <sigc++/signal.h>

#include <deque>
#include <map>
#include <optional>
#include <string>
#include <string_view>

typedef struct _WebKitURISchemeRequest WebKitURISchemeRequest;

namespace sarvik {

// Shows saved pages offline under an origin of their own: "scrapbook://<ID>/"
// serves the archive of the scrapbook item ID as the MHTML document it is,
// never at the live site's address, so a saved page cannot reach that site's
// cookies or storage. The engine reads the page and its subresources from the
// archive alone. Every answer forbids scripts, network connections, form
// submissions, plugins and frames, so the page stays inert.
//
// An archive comes either from publish() (the bytes of an item being opened)
// or, for an address typed, bookmarked or reloaded, from the scrapbook stores
// added with addStore(). Registered once, with the default web context that
// every browser view uses. Addresses are checked strictly: anything but the
// scheme, one UUID and an optional "/" is refused, and nothing is read from
// disk but a known item's archive. Main thread only.
class ScrapbookScheme {
public:
    // The policy sent with every saved page.
    static constexpr std::string_view kContentSecurityPolicy =
        "default-src 'none'; script-src 'none'; connect-src 'none'; form-action 'none'; object-src 'none'; "
        "frame-src 'none'; base-uri 'none'; img-src * data:; style-src * 'unsafe-inline'; font-src * data:; "
        "media-src * data:";
    // Pages kept at hand for back, forward and reload; the oldest go first.
    static constexpr std::size_t kKeptArchives = 32;

    struct SavedPage {
        std::string archive;      // MHTML bytes
        std::string originalUrl;  // the address it was saved from
    };

    // The one instance, registered on first use.
    static ScrapbookScheme& shared();

    // Keeps `page` to be served for the item `id` and returns its address.
    Url publish(const Uuid& id, SavedPage page);
    // The page an item's address shows: a published one, else one of the stores' items.
    std::optional<SavedPage> find(const Uuid& id);
    // Looks up items in `store` while the connection lasts.
    [[nodiscard]] sigc::connection addStore(const ScrapbookStore& store);

private:
    ScrapbookScheme();
    static void answer(WebKitURISchemeRequest* request, void* data);

    std::map<Uuid, SavedPage> m_pages;
    // Each store's slot fills in the page when it holds the item.
    sigc::signal<void(const Uuid&, std::optional<SavedPage>&)> m_stores;
    std::deque<Uuid> m_order;  // oldest first
};

}  // namespace sarvik
