#pragma once

#include "core/browser_state.h"
#include "core/scoped_connection.h"
#include "stores/browser_data_store.h"
#include "web/web_view_host.h"

#include <gtkmm/box.h>
#include <gtkmm/stack.h>

#include <map>
#include <memory>
#include <optional>
#include <vector>

namespace sarvik {

// The space for the web page. Every tab keeps its own web view host for its
// whole life, so switching tabs keeps each page as it was (scroll position,
// form input, media, back/forward list); only the active tab's host is shown.
// A host is built as soon as its tab exists (tabs opened together from the
// command line all load) and released when the tab closes. Tab-list changes
// are queued and applied from the main loop, so a host is never torn down
// from inside one of its own engine callbacks (a Ctrl-click that opens a tab).
class WebArea : public Gtk::Box {
public:
    WebArea(BrowserState& browserState, BrowserDataStore& dataStore);
    ~WebArea() override;

    // The active tab's host, or none while no tab is active.
    WebViewHost* host() const;
    // The host kept for a tab, or none once the tab is closed.
    WebViewHost* hostFor(const Uuid& tabId) const;
    std::size_t hostCount() const { return m_hosts.size(); }

private:
    void queue(const TabListChange& change);
    void scheduleSync();
    void sync();
    void apply(const TabListChange& change);
    void addHost(const Uuid& tabId);

    BrowserState& m_browserState;
    BrowserDataStore& m_dataStore;
    Gtk::Stack m_stack;
    Gtk::Box m_empty;
    std::map<Uuid, std::unique_ptr<WebViewHost>> m_hosts;
    std::vector<TabListChange> m_pendingChanges;
    ScopedConnection m_pendingSync;
    ConnectionSet m_connections;
};

}  // namespace sarvik
