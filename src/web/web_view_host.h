#pragma once

#include "core/browser_state.h"
#include "core/scoped_connection.h"
#include "core/uuid.h"
#include "stores/browser_data_store.h"

#include <gtkmm/box.h>

#include <memory>

typedef struct _WebKitWebView WebKitWebView;
typedef struct _GCancellable GCancellable;

namespace sarvik {

// The web view of one tab, kept for the tab's whole life: it
// builds and configures the engine's view, starts the first load (the tab's
// address or the home page), executes each navigation command issued while
// its tab is the active one, and reports the engine's progress, title,
// address, loading and back/forward state into the tab's record through a
// TabCoordinator. Finished pages are recorded in history.
//
// Main thread only. Engine notifications hop to the main loop and re-read
// the current value when they run; nothing reaches a host that has gone.
class WebViewHost : public Gtk::Box {
public:
    WebViewHost(BrowserState& browserState, BrowserDataStore& dataStore, Uuid tabId);
    ~WebViewHost() override;
    WebViewHost(const WebViewHost&) = delete;
    WebViewHost& operator=(const WebViewHost&) = delete;

    const Uuid& tabId() const { return m_tabId; }

    // The engine objects, for the web layer and its tests.
    WebKitWebView* webView() const;
    GCancellable* cancellable() const;

    struct Engine;

private:
    const Uuid m_tabId;
    std::unique_ptr<Engine> m_engine;
    ConnectionSet m_connections;
};

}  // namespace sarvik
