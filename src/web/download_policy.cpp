#include "web/download_policy.h"

#include <webkit/webkit.h>

namespace sarvik {
namespace {

gboolean onDecidePolicy(WebKitWebView*, WebKitPolicyDecision* decision, WebKitPolicyDecisionType type, gpointer) {
    if (type != WEBKIT_POLICY_DECISION_TYPE_RESPONSE) return FALSE;
    if (webkit_response_policy_decision_is_mime_type_supported(WEBKIT_RESPONSE_POLICY_DECISION(decision))) return FALSE;
    webkit_policy_decision_download(decision);
    return TRUE;
}

}  // namespace

void downloadResponsesNotShown(WebKitWebView* view) {
    // Connected for the view's whole life; it carries no data that could go first.
    if (view) g_signal_connect(view, "decide-policy", G_CALLBACK(onDecidePolicy), nullptr);
}

}  // namespace sarvik
