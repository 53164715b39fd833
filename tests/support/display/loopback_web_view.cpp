#include "support/display/loopback_web_view.h"

#include "support/display/gtk_test_environment.h"

#include <webkit/webkit.h>

namespace sarvik::testing {
namespace {

enum class LoadOutcome { pending, finished, failed };

void onLoadChanged(WebKitWebView*, WebKitLoadEvent event, gpointer data) {
    if (event == WEBKIT_LOAD_FINISHED) {
        auto* outcome = static_cast<LoadOutcome*>(data);
        if (*outcome == LoadOutcome::pending) *outcome = LoadOutcome::finished;
    }
}

gboolean onLoadFailed(WebKitWebView*, WebKitLoadEvent, gchar*, GError*, gpointer data) {
    *static_cast<LoadOutcome*>(data) = LoadOutcome::failed;
    return FALSE;
}

}  // namespace

LoopbackWebView::LoopbackWebView() {
    m_webView = WEBKIT_WEB_VIEW(g_object_new(WEBKIT_TYPE_WEB_VIEW, nullptr));
    gtk_window_set_child(m_window.gobj(), GTK_WIDGET(m_webView));
    m_window.set_default_size(400, 300);
    m_window.present();
}

LoopbackWebView::~LoopbackWebView() { m_window.unset_child(); }

bool LoopbackWebView::load(const std::string& url) {
    LoadOutcome outcome = LoadOutcome::pending;
    const gulong changed = g_signal_connect(m_webView, "load-changed", G_CALLBACK(onLoadChanged), &outcome);
    const gulong failed = g_signal_connect(m_webView, "load-failed", G_CALLBACK(onLoadFailed), &outcome);
    webkit_web_view_load_uri(m_webView, url.c_str());
    runMainLoopUntil([&] { return outcome != LoadOutcome::pending; });
    g_signal_handler_disconnect(m_webView, changed);
    g_signal_handler_disconnect(m_webView, failed);
    return outcome == LoadOutcome::finished;
}

}  // namespace sarvik::testing
