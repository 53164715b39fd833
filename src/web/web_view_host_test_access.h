#pragma once

typedef struct _WebKitWebView WebKitWebView;

namespace sarvik {

class WebViewHost;

// Tests reach the engine's view of a host through here; the chrome does not.
struct WebViewHostTestAccess {
    static WebKitWebView* webView(const WebViewHost& host);
};

}  // namespace sarvik
