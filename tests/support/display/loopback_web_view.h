#pragma once

#include <gtkmm/window.h>

#include <string>

typedef struct _WebKitWebView WebKitWebView;

namespace sarvik::testing {

// A real web view of the default network session (the one the browser's own
// web views use) in a window of its own, for tests that load pages served on
// 127.0.0.1 and look at what the engine keeps between loads.
class LoopbackWebView {
public:
    LoopbackWebView();
    ~LoopbackWebView();
    LoopbackWebView(const LoopbackWebView&) = delete;
    LoopbackWebView& operator=(const LoopbackWebView&) = delete;

    // Loads the address and runs the main loop until the load has finished
    // or failed; returns whether it finished.
    bool load(const std::string& url);

    WebKitWebView* webView() const { return m_webView; }

private:
    Gtk::Window m_window;
    WebKitWebView* m_webView = nullptr;  // owned by the window
};

}  // namespace sarvik::testing
