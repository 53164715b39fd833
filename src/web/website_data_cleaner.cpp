#include "web/website_data_cleaner.h"

#include <webkit/webkit.h>

#include <memory>

namespace sarvik {
namespace {

struct ClearRequest {
    WebKitWebsiteDataTypes types;
    WebsiteDataCleared done;

    void finish(bool succeeded) const {
        if (done) done(succeeded);
    }
};

WebKitWebsiteDataTypes engineTypes(WebsiteDataKind kind) {
    switch (kind) {
    case WebsiteDataKind::cookies:
        return WEBKIT_WEBSITE_DATA_COOKIES;
    case WebsiteDataKind::cache:
        return static_cast<WebKitWebsiteDataTypes>(WEBKIT_WEBSITE_DATA_DISK_CACHE | WEBKIT_WEBSITE_DATA_MEMORY_CACHE);
    case WebsiteDataKind::all:
        break;
    }
    return WEBKIT_WEBSITE_DATA_ALL;
}

WebKitWebsiteDataManager* defaultDataManager() {
    return webkit_network_session_get_website_data_manager(webkit_network_session_get_default());
}

void onRemoved(GObject* source, GAsyncResult* result, gpointer data) {
    std::unique_ptr<ClearRequest> request(static_cast<ClearRequest*>(data));
    GError* error = nullptr;
    const bool removed = webkit_website_data_manager_remove_finish(WEBKIT_WEBSITE_DATA_MANAGER(source), result, &error);
    if (error) g_error_free(error);
    request->finish(removed);
}

void onFetched(GObject* source, GAsyncResult* result, gpointer data) {
    std::unique_ptr<ClearRequest> request(static_cast<ClearRequest*>(data));
    auto* manager = WEBKIT_WEBSITE_DATA_MANAGER(source);
    GError* error = nullptr;
    GList* records = webkit_website_data_manager_fetch_finish(manager, result, &error);
    if (error) {
        g_error_free(error);
        request->finish(false);
        return;
    }
    // The engine refuses an empty record list, and with nothing stored there is nothing to remove.
    if (!records) {
        request->finish(true);
        return;
    }
    const WebKitWebsiteDataTypes types = request->types;
    webkit_website_data_manager_remove(manager, types, records, nullptr, onRemoved, request.release());
    // The removal has copied the records it needs before returning.
    g_list_free_full(records, reinterpret_cast<GDestroyNotify>(webkit_website_data_unref));
}

}  // namespace

void clearWebsiteData(WebsiteDataKind kind, WebsiteDataCleared done) {
    auto request = std::make_unique<ClearRequest>(ClearRequest{engineTypes(kind), std::move(done)});
    const WebKitWebsiteDataTypes types = request->types;
    webkit_website_data_manager_fetch(defaultDataManager(), types, nullptr, onFetched, request.release());
}

}  // namespace sarvik
