#include "web/scrapbook_scheme.h"

#include "web/gobject_handle.h"

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
    const std::string name(kName);
    // Local: the engine shows such documents at all; secure: no mixed-content
    // downgrade; its own origin per saved page follows from the address.
    WebKitSecurityManager* security = webkit_web_context_get_security_manager(context);
    webkit_security_manager_register_uri_scheme_as_local(security, name.c_str());
    webkit_security_manager_register_uri_scheme_as_secure(security, name.c_str());
    webkit_web_context_register_uri_scheme(context, name.c_str(), answer, this, nullptr);
}

void ScrapbookScheme::answer(WebKitURISchemeRequest* request, void* data) {
    const auto& scheme = *static_cast<ScrapbookScheme*>(data);
    const char* uri = webkit_uri_scheme_request_get_uri(request);
    const auto id = idOf(uri ? uri : "");
    if (!id) return refuse(request, "Not a saved page's address.");
    const auto found = scheme.m_archives.find(*id);
    if (found == scheme.m_archives.end()) return refuse(request, "This saved page is no longer open.");
    serve(request, found->second);
}

Url ScrapbookScheme::publish(const Uuid& id, std::string archive) {
    if (!m_archives.contains(id)) m_order.push_back(id);
    m_archives[id] = std::move(archive);
    while (m_order.size() > kKeptArchives) {
        m_archives.erase(m_order.front());
        m_order.pop_front();
    }
    return *Url::parse(addressOf(id));
}

std::optional<std::string> ScrapbookScheme::archive(const Uuid& id) const {
    const auto found = m_archives.find(id);
    if (found == m_archives.end()) return std::nullopt;
    return found->second;
}

std::optional<Uuid> ScrapbookScheme::idOf(std::string_view uri) {
    const std::string prefix = std::string(kName) + "://";
    if (uri.substr(0, prefix.size()) != prefix) return std::nullopt;
    uri.remove_prefix(prefix.size());
    constexpr std::size_t kUuidLength = 36;
    if (uri.size() != kUuidLength && !(uri.size() == kUuidLength + 1 && uri.back() == '/')) return std::nullopt;
    return Uuid::parse(uri.substr(0, kUuidLength));
}

std::string ScrapbookScheme::addressOf(const Uuid& id) { return std::string(kName) + "://" + id.toString() + "/"; }

}  // namespace sarvik
