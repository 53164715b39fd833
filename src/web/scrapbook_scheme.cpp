#include "web/scrapbook_scheme.h"

#include "core/saved_page_address.h"
#include "web/gobject_handle.h"
#include "web/imported_stylesheets.h"

#include <gio/gio.h>
#include <webkit/webkit.h>

#include <algorithm>
#include <utility>

namespace sarvik {
namespace {

void refuse(WebKitURISchemeRequest* request, const char* why) {
    GError* error = g_error_new_literal(G_IO_ERROR, G_IO_ERROR_NOT_FOUND, why);
    webkit_uri_scheme_request_finish_error(request, error);
    g_error_free(error);
}

void serve(WebKitURISchemeRequest* request, const std::string& archive) {
    GBytes* bytes = g_bytes_new(archive.data(), archive.size());
    auto stream = GObjectRef<GInputStream>::adopt(g_memory_input_stream_new_from_bytes(bytes));
    g_bytes_unref(bytes);
    auto response = GObjectRef<WebKitURISchemeResponse>::adopt(
        webkit_uri_scheme_response_new(stream.get(), static_cast<gint64>(archive.size())));
    webkit_uri_scheme_response_set_status(response.get(), 200, nullptr);
    webkit_uri_scheme_response_set_content_type(response.get(), "multipart/related");
    SoupMessageHeaders* headers = soup_message_headers_new(SOUP_MESSAGE_HEADERS_RESPONSE);
    const std::string policy(ScrapbookScheme::kContentSecurityPolicy);
    soup_message_headers_append(headers, "Content-Security-Policy", policy.c_str());
    soup_message_headers_append(headers, "Content-Type", "multipart/related");
    webkit_uri_scheme_response_set_http_headers(response.get(), headers);  // takes the headers
    webkit_uri_scheme_request_finish_with_response(request, response.get());
}

}  // namespace

ScrapbookScheme& ScrapbookScheme::shared() {
    static ScrapbookScheme* scheme = new ScrapbookScheme();  // lives as long as the web context
    return *scheme;
}

ScrapbookScheme::ScrapbookScheme() {
    WebKitWebContext* context = webkit_web_context_get_default();
    const std::string name(kSavedPageScheme);
    // Local: the engine shows such documents at all; secure: no mixed-content
    // downgrade; its own origin per saved page follows from the address.
    WebKitSecurityManager* security = webkit_web_context_get_security_manager(context);
    webkit_security_manager_register_uri_scheme_as_local(security, name.c_str());
    webkit_security_manager_register_uri_scheme_as_secure(security, name.c_str());
    webkit_web_context_register_uri_scheme(context, name.c_str(), answer, this, nullptr);
}

void ScrapbookScheme::answer(WebKitURISchemeRequest* request, void* data) {
    auto& scheme = *static_cast<ScrapbookScheme*>(data);
    const char* uri = webkit_uri_scheme_request_get_uri(request);
    const auto id = savedPageId(uri ? uri : "");
    if (!id) return refuse(request, "Not a saved page's address.");
    const auto page = scheme.find(*id);
    if (!page) return refuse(request, "This page is not in the scrapbook.");
    serve(request, page->archive);
}

Url ScrapbookScheme::publish(const Uuid& id, SavedPage page) {
    if (!m_pages.contains(id)) m_order.push_back(id);
    page.archive = placeImportedStylesheets(std::move(page.archive));
    m_pages[id] = std::move(page);
    while (m_order.size() > kKeptArchives) {
        m_pages.erase(m_order.front());
        m_order.pop_front();
    }
    return *Url::parse(savedPageAddress(id));
}

std::optional<ScrapbookScheme::SavedPage> ScrapbookScheme::find(const Uuid& id) {
    if (const auto found = m_pages.find(id); found != m_pages.end()) return found->second;
    std::optional<SavedPage> page;
    m_stores.emit(id, page);
    if (!page) return std::nullopt;
    publish(id, std::move(*page));
    return m_pages.at(id);
}

sigc::connection ScrapbookScheme::addStore(const ScrapbookStore& store) {
    return m_stores.connect([&store](const Uuid& id, std::optional<SavedPage>& page) {
        if (page) return;
        const auto& items = store.items().get();
        const auto item = std::find_if(items.begin(), items.end(), [&](const ScrapbookItem& i) { return i.id == id; });
        if (item == items.end()) return;
        if (auto archive = store.readArchive(*item)) page = SavedPage{std::move(*archive), item->url};
    });
}

}  // namespace sarvik
