#pragma once

#include "core/url.h"
#include "core/uuid.h"

#include <deque>
#include <map>
#include <optional>
#include <string>
#include <string_view>

typedef struct _WebKitURISchemeRequest WebKitURISchemeRequest;

namespace sarvik {

// Shows saved pages offline under an origin of their own: "scrapbook://<ID>/"
// serves an archive handed to publish() as the MHTML document it is, and
// never the live site's address, so a saved page cannot reach that site's
// cookies or storage. The engine reads the page and its subresources from the
// archive alone. Every answer forbids scripts, network connections, form
// submissions, plugins and frames, so the page stays inert.
//
// Registered once, with the default web context that every browser view uses.
// Addresses are checked strictly: anything but the scheme, one UUID and an
// optional "/" is refused, and nothing is ever read from disk by address.
// Main thread only.
class ScrapbookScheme {
public:
    static constexpr std::string_view kName = "scrapbook";
    // The policy sent with every saved page.
    static constexpr std::string_view kContentSecurityPolicy =
        "default-src 'none'; script-src 'none'; connect-src 'none'; form-action 'none'; object-src 'none'; "
        "frame-src 'none'; base-uri 'none'; img-src * data:; style-src * 'unsafe-inline'; font-src * data:; "
        "media-src * data:";
    // Archives kept for back, forward and reload; the oldest go first.
    static constexpr std::size_t kKeptArchives = 32;

    // The one instance, registered on first use.
    static ScrapbookScheme& shared();

    // Keeps `archive` (MHTML bytes) to be served for `id` and returns its address.
    Url publish(const Uuid& id, std::string archive);
    std::optional<std::string> archive(const Uuid& id) const;

    // The id that an address names, or none when the address is not exactly
    // "scrapbook://<UUID>" with an optional trailing "/".
    static std::optional<Uuid> idOf(std::string_view uri);
    static std::string addressOf(const Uuid& id);

private:
    ScrapbookScheme();
    static void answer(WebKitURISchemeRequest* request, void* data);

    std::map<Uuid, std::string> m_archives;
    std::deque<Uuid> m_order;  // oldest first
};

}  // namespace sarvik
