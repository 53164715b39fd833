#include "web/saved_page_guard.h"

#include "core/saved_page_address.h"

#include <webkit/webkit.h>

#include <string>

namespace sarvik {
namespace {

constexpr const char* kGuardKey = "sarvik-saved-page-guard";
constexpr unsigned kStopPendingAfterMs = 1000;

struct Guard {
    std::string allowedUri;
};

Guard* guardOf(WebKitWebView* view) { return static_cast<Guard*>(g_object_get_data(G_OBJECT(view), kGuardKey)); }

bool showsSavedPage(WebKitWebView* view) {
    const char* uri = webkit_web_view_get_uri(view);
    return uri && savedPageId(uri);
}

bool isUserMove(WebKitNavigationType type) {
    return type == WEBKIT_NAVIGATION_TYPE_LINK_CLICKED || type == WEBKIT_NAVIGATION_TYPE_BACK_FORWARD ||
           type == WEBKIT_NAVIGATION_TYPE_RELOAD;
}

gboolean onDecidePolicy(WebKitWebView* view, WebKitPolicyDecision* decision, WebKitPolicyDecisionType type,
                        gpointer data) {
    if (type != WEBKIT_POLICY_DECISION_TYPE_NAVIGATION_ACTION) return FALSE;
    auto* guard = static_cast<Guard*>(data);
    WebKitNavigationAction* action =
        webkit_navigation_policy_decision_get_navigation_action(WEBKIT_NAVIGATION_POLICY_DECISION(decision));
    WebKitURIRequest* request = webkit_navigation_action_get_request(action);
    const std::string target = request && webkit_uri_request_get_uri(request) ? webkit_uri_request_get_uri(request) : "";
    const bool wasAllowed = !guard->allowedUri.empty() && guard->allowedUri == target;
    if (wasAllowed) guard->allowedUri.clear();
    // The view's address is already the target's while its own load is decided.
    const char* current = webkit_web_view_get_uri(view);
    if (!showsSavedPage(view) || wasAllowed || (current && target == current)) return FALSE;
    if (isUserMove(webkit_navigation_action_get_navigation_type(action))) return FALSE;
    webkit_policy_decision_ignore(decision);
    return TRUE;
}

gboolean stopIfStillLoading(gpointer data) {
    auto* view = static_cast<WebKitWebView*>(data);
    if (showsSavedPage(view) && webkit_web_view_is_loading(view)) webkit_web_view_stop_loading(view);
    return G_SOURCE_REMOVE;
}

void onLoadChanged(WebKitWebView* view, WebKitLoadEvent event, gpointer) {
    if (event != WEBKIT_LOAD_COMMITTED || !showsSavedPage(view)) return;
    // The source holds the view until it has run.
    g_timeout_add_full(G_PRIORITY_DEFAULT, kStopPendingAfterMs, stopIfStillLoading, g_object_ref(view), g_object_unref);
}

}  // namespace

void guardSavedPages(WebKitWebView* view) {
    if (!view || guardOf(view)) return;
    auto* guard = new Guard;
    g_object_set_data_full(G_OBJECT(view), kGuardKey, guard, [](gpointer data) { delete static_cast<Guard*>(data); });
    // Both handlers go with the view, before the guard's data does.
    g_signal_connect(view, "decide-policy", G_CALLBACK(onDecidePolicy), guard);
    g_signal_connect(view, "load-changed", G_CALLBACK(onLoadChanged), nullptr);
}

void allowLoad(WebKitWebView* view, std::string_view uri) {
    if (auto* guard = view ? guardOf(view) : nullptr) guard->allowedUri = std::string(uri);
}

}  // namespace sarvik
